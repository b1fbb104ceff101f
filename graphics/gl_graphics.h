// gl_graphics.h - the OpenGL graphics driver: windows with OpenGL contexts.
//
// Each context is a record in a list: its window, its rendering context, and the settings it was
// made with. All contexts share their textures with one hidden context, so the 2D driver creates
// textures there (shared_context.h) and every window can draw them.
//
// A full-screen context is shown as display_mode.h chooses. In the Fullscreen way it is a
// borderless window that takes the display mode while it has the keyboard focus and gives the
// desktop its mode back, minimising itself, when it loses it; when the mode cannot be set it
// says so on stderr and goes on in the Desktop way. In the Desktop and Window ways the program's
// picture is drawn offscreen at its own size and shown scaled (gl_offscreen.h); pointer positions
// are mapped back to the picture's pixels before the translator sees them. In a stereo mode
// (stereo_mode.h) each eye's view is drawn offscreen and both are shown as stereo_layout.h places
// them, in every way; the pointer maps over the span of both. Alt+Enter switches a
// full-screen context between its full-screen way and the window. The windows' procedure also
// keeps a close request from closing the window (the program hears of it as an event and
// decides), and keeps the screen saver away while a window is open.
#pragma once

#include "graphics/graphics.h"
#include "graphics/picture_fit.h"
#include "graphics/pixmap.h"
#include "graphics/stereo_layout.h"

struct PlatGLWindow;
struct GLOffscreen;

// One open context; plain data owned by the driver.
struct GLContextRecord {
  enum Mode { kShared = 0, kAttached = 1, kWindow = 2, kFullScreen = 3 };
  int mode = kWindow;
  int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
  PlatGLWindow* window = nullptr;
  unsigned window_id = 0;
  // A full-screen request's window is shown as display_mode.h says; width and height stay the
  // picture's size whatever the window's. While the window's drawable (view) differs from the
  // picture, drawing goes into `offscreen` and each flip shows it scaled at `picture`.
  DisplayMode shown = DisplayMode::Fullscreen;
  int view_width = 0, view_height = 0;
  PictureRect picture;
  GLOffscreen* offscreen = nullptr;
  bool scaled = false;
  // In a stereo mode every context is drawn offscreen, each eye's view into a picture of the
  // context's size (the left eye's is `offscreen`), and both are shown where `screen` says.
  StereoMode stereo = StereoMode::Off;
  StereoScreen screen;
  GLOffscreen* right_offscreen = nullptr;
  // Sharp scaling's whole-multiple step for each view, when its place is no whole multiple.
  GLOffscreen* prescaled[2] = {nullptr, nullptr};
  bool pointer_held = false;
  bool finished = false;  // FinishFrame has drawn this frame into the window: Flip only swaps
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
  // Shows the picture scaled into the window's buffer and waits for the GL to finish drawing.
  void FinishFrame() override;
  // Sends the current context's drawing into that eye's view (Both, Left: the one picture).
  void BindView(StereoEye eye);
};

// The one OpenGL graphics driver.
TGLGraphicsDriver* GLGraphicsDriver();
// The record whose context is current, or null.
GLContextRecord* CurrentGLContext();
// The current context's whole window as last presented (picture and bars), bottom row first
// undone: row 0 is the top. Null without a context. For checking what the player sees.
Ref<TPixmap> GrabPresentedWindow();
