// gl_graphics.h - the OpenGL graphics driver: windows with OpenGL contexts.
//
// Each context is a record in a list: its window, its rendering context, and the settings it was
// made with. All contexts share their textures with one hidden context, so the 2D driver creates
// textures there (SwapSharedContext) and every window can draw them.
//
// A full-screen context is a borderless window that takes the display mode while it has the
// keyboard focus and gives the desktop its mode back, minimising itself, when it loses it. The
// windows' procedure also keeps a close request from closing the window (the program hears of it
// as an event and decides), and keeps the screen saver away while the program runs.
#pragma once

#include "graphics/graphics.h"

struct PlatGLWindow;

// One open context; plain data owned by the driver.
struct GLContextRecord {
  enum Mode { kShared = 0, kAttached = 1, kWindow = 2, kFullScreen = 3 };
  int mode = kWindow;
  int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
  PlatGLWindow* window = nullptr;
  unsigned window_id = 0;
};

class TGLGraphics : public TGraphics {
 public:
  ~TGLGraphics() override;
  TGraphicsDriver* Driver() override;
  void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) override;
  void Close() override;

  GLContextRecord* _context = nullptr;  // null when the context could not be made
};

class TGLGraphicsDriver : public TGraphicsDriver {
 public:
  std::vector<TGraphicsMode> GraphicsModes() override;
  Ref<TGraphics> AttachGraphics(unsigned widget, int flags) override;
  Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) override;
  void SetGraphics(TGraphics* g) override;
  void Flip(int sync) override;
  // Toggles between the shared context, where textures live, and the current one.
  void SwapSharedContext();
};

// The one OpenGL graphics driver.
TGLGraphicsDriver* GLGraphicsDriver();
// The record whose context is current, or null.
GLContextRecord* CurrentGLContext();
