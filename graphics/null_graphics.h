// null_graphics.h - the null graphics driver: contexts that show nothing and flip at once.
//
// A null context has the size, depth, refresh rate and flags it was asked for and a virtual
// window of that size (platform/virtual_window.h), so the program's input reaches it through the
// usual message stream and translator. Nothing is drawn anywhere and no video is needed: the game,
// the headless harness, replays and long soaks run on it without OpenGL. The null 2D driver
// (null_draw2d.h) wraps these contexts as the OpenGL 2D driver wraps the OpenGL ones.
#pragma once

#include <cstdint>

#include "graphics/graphics.h"

class TNullGraphics : public TGraphics {
 public:
  ~TNullGraphics() override;
  TGraphicsDriver* Driver() override;
  void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) override;
  // Closes the virtual window; settings read 0 afterwards.
  void Close() override;

  int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
  std::uint32_t window_id = 0;  // 0 once closed
};

class TNullGraphicsDriver : public TGraphicsDriver {
 public:
  std::string ToString() const override { return "Null"; }
  // The modes a 640 x 480 game may ask for, at 16 and 32 bits and 60 Hz.
  std::vector<TGraphicsMode> GraphicsModes() override;
  // A context of the widget's size when it is a known window, 640 x 480 otherwise.
  Ref<TGraphics> AttachGraphics(unsigned widget, int flags) override;
  Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) override;
  void SetGraphics(TGraphics* g) override;
  // Returns at once, whatever `sync` asks.
  void Flip(int sync) override;
};

// The one null graphics driver (main thread only, like every graphics call).
TNullGraphicsDriver* NullGraphicsDriver();
// The virtual window of the current null context, or 0 when none is current.
std::uint32_t CurrentNullWindow();
