// gl_graphics.cpp - OpenGL contexts over the platform's GL windows, and their window procedure.
#include "graphics/gl_graphics.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <list>

#include "core/app.h"
#include "core/error.h"
#include "platform/events.h"
#include "platform/gl_window.h"
#include "platform/video.h"
#include "platform/window.h"
#include "system/translator.h"

namespace {

std::list<GLContextRecord*> records;  // newest first
GLContextRecord* current_record = nullptr;
GLContextRecord* fullscreen_record = nullptr;  // the one holding a changed display mode
int last_sync = -1;                            // so that the first flip sets the interval
bool fullscreen_restore_registered = false;

void SetSwapInterval(int interval) { plat_gl_set_swap_interval(interval); }

void GiveBackDisplay(GLContextRecord* r) {
  if (r != fullscreen_record) return;
  plat_restore_display_mode(r->window);
  plat_gl_window_minimize(r->window);
  SetSwapInterval(0);
  fullscreen_record = nullptr;
}

void RestoreDesktopAtAbnormalEnd() {
  if (fullscreen_record) plat_restore_display_mode(fullscreen_record->window);
}

void TakeDisplay(GLContextRecord* r) {
  if (r->mode != GLContextRecord::kFullScreen || r == fullscreen_record) return;
  PlatDisplayMode mode{r->width, r->height, r->depth, r->hertz};
  int interval = r->hertz != 0 ? 1 : 0;
  if (plat_set_display_mode(r->window, mode)) {
    fullscreen_record = r;
  } else if (mode.hertz != 0) {
    mode.hertz = 0;
    if (plat_set_display_mode(r->window, mode)) {
      fullscreen_record = r;
      interval = 0;  // the display runs at a rate of its own choosing: do not wait for it
    }
  }
  if (fullscreen_record != r) RuntimeError("GLGraphicsDriver failed to set display mode");
  if (!fullscreen_restore_registered) {
    fullscreen_restore_registered = true;
    OnAbnormalEnd(RestoreDesktopAtAbnormalEnd);
  }
  SetSwapInterval(interval);
}

void WindowProcedure(const PlatMessage& message, void* user) {
  auto* r = static_cast<GLContextRecord*>(user);
  TranslateSystemMessage(message, nullptr);
  switch (message.kind) {
    case PlatMessageKind::kFocusGained:
      TakeDisplay(r);
      break;
    case PlatMessageKind::kFocusLost:
      GiveBackDisplay(r);
      break;
    default:
      // A close request only becomes an event: the window stays until the program closes it.
      break;
  }
}

PlatPixelFormat FormatFromFlags(int flags) {
  PlatPixelFormat f;
  f.double_buffer = (flags & GFX_BACKBUFFER) != 0;
  f.alpha_bits = (flags & GFX_ALPHABUFFER) ? 1 : 0;
  f.depth_bits = (flags & GFX_DEPTHBUFFER) ? 1 : 0;
  f.stencil_bits = (flags & GFX_STENCILBUFFER) ? 1 : 0;
  f.accum_bits = (flags & GFX_ACCUMBUFFER) ? 1 : 0;
  return f;
}

// Whether any of the program's own windows is still open.
bool OwnWindowsOpen() {
  return std::any_of(records.begin(), records.end(), [](const GLContextRecord* r) {
    return r->mode != GLContextRecord::kAttached;
  });
}

void CloseRecord(GLContextRecord* r) {
  if (r == current_record) {
    plat_gl_make_current(nullptr);
    current_record = nullptr;
  }
  GiveBackDisplay(r);
  plat_window_set_procedure(r->window_id, nullptr, nullptr);
  plat_gl_window_destroy(r->window);
  records.remove(r);
  delete r;
  if (!OwnWindowsOpen()) plat_block_screen_saver(false);
}

// Null, with the reason in *error, when no window or context can be made.
GLContextRecord* CreateRecord(int width, int height, int depth, int hertz, int flags,
                              std::string* error) {
  bool fullscreen = depth != 0;
  int x = fullscreen ? 0 : 32, y = fullscreen ? 0 : 32;
  PlatGLWindow* window =
      plat_gl_window_create(AppTitle(), x, y, width, height,
                            fullscreen ? PlatWindowStyle::kBorderless : PlatWindowStyle::kFramed,
                            FormatFromFlags(flags), error);
  if (!window) return nullptr;
  auto* r = new GLContextRecord;
  r->mode = fullscreen ? GLContextRecord::kFullScreen : GLContextRecord::kWindow;
  plat_gl_window_client_size(window, &r->width, &r->height);
  r->depth = depth;
  r->hertz = hertz;
  r->flags = flags;
  r->window = window;
  r->window_id = plat_gl_window_id(window);
  records.push_front(r);
  plat_block_screen_saver(true);
  plat_window_set_procedure(r->window_id, WindowProcedure, r);
  // A full-screen window takes the display as it gains the focus, which it has from the start.
  // A refusal closes the window again: nothing of it may outlive the failed creation.
  try {
    if (fullscreen && plat_active_window() == r->window_id) TakeDisplay(r);
  } catch (...) {
    CloseRecord(r);
    throw;
  }
  return r;
}

}  // namespace

TGLGraphicsDriver* GLGraphicsDriver() {
  static TGLGraphicsDriver* d = [] {
    auto* driver = new TGLGraphicsDriver;
    driver->Retain();  // lives for the whole program
    return driver;
  }();
  return d;
}

GLContextRecord* CurrentGLContext() { return current_record; }

TGLGraphics::~TGLGraphics() { Close(); }

TGraphicsDriver* TGLGraphics::Driver() { return GLGraphicsDriver(); }

void TGLGraphics::GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) {
  if (!_context) {
    width = height = depth = hertz = flags = 0;
    return;
  }
  if (_context->mode == GLContextRecord::kAttached) {
    plat_gl_window_client_size(_context->window, &_context->width, &_context->height);
  }
  width = _context->width;
  height = _context->height;
  depth = _context->depth;
  hertz = _context->hertz;
  flags = _context->flags;
}

void TGLGraphics::Close() {
  if (!_context) return;
  CloseRecord(_context);
  _context = nullptr;
}

std::vector<TGraphicsMode> TGLGraphicsDriver::GraphicsModes() {
  std::vector<TGraphicsMode> modes;
  for (const PlatDisplayMode& m : plat_display_modes()) {
    if (m.depth < 16) continue;
    if (modes.size() == 1024) break;
    modes.push_back({m.width, m.height, m.depth, m.hertz});
  }
  return modes;
}

Ref<TGraphics> TGLGraphicsDriver::AttachGraphics(unsigned widget, int flags) {
  Ref<TGLGraphics> g = New<TGLGraphics>();
  PlatGLWindow* window = plat_gl_window_attach(widget, FormatFromFlags(flags));
  if (window) {
    auto* r = new GLContextRecord;
    r->mode = GLContextRecord::kAttached;
    r->flags = flags;
    r->window = window;
    r->window_id = widget;
    plat_gl_window_client_size(window, &r->width, &r->height);
    records.push_front(r);
    g->_context = r;
  }
  return g;
}

Ref<TGraphics> TGLGraphicsDriver::CreateGraphics(int width, int height, int depth, int hertz,
                                                 int flags) {
  std::string error;
  if (!plat_video_init(&error)) RuntimeError(error);
  Ref<TGLGraphics> g = New<TGLGraphics>();
  g->_context = CreateRecord(width, height, depth, hertz, flags, &error);
  // A context with no window would draw nothing and look like success: say why instead.
  if (!g->_context) RuntimeError(error);
  return g;
}

void TGLGraphicsDriver::SetGraphics(TGraphics* g) {
  auto* gl = dynamic_cast<TGLGraphics*>(g);
  GLContextRecord* r = gl ? gl->_context : nullptr;
  if (r == current_record) return;
  current_record = r;
  plat_gl_make_current(r ? r->window : nullptr);
}

void TGLGraphicsDriver::Flip(int sync) {
  if (!current_record) return;
  sync = sync ? 1 : 0;
  if (sync != last_sync) {
    last_sync = sync;
    SetSwapInterval(sync);
  }
  // Without a real display the swap presents nothing and so never makes the software renderer
  // catch up: its queued work (and memory) would grow frame after frame. Finish the frame here.
  if (plat_video_is_virtual()) glFinish();
  plat_gl_swap(current_record->window);
}

void TGLGraphicsDriver::SwapSharedContext() {
  if (!plat_gl_shared_is_current()) {
    plat_gl_make_shared_current();
  } else {
    plat_gl_make_current(current_record ? current_record->window : nullptr);
  }
}
