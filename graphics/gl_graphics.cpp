// gl_graphics.cpp - OpenGL contexts over the platform's GL windows, and their window procedure.
#include "graphics/gl_graphics.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <list>

#include "core/app.h"
#include "core/error.h"
#include "graphics/display_mode.h"
#include "graphics/gl_offscreen.h"
#include "graphics/pixmap_ops.h"
#include "graphics/stereo_mode.h"
#include "platform/events.h"
#include "platform/gl_window.h"
#include "platform/video.h"
#include "platform/window.h"
#include "system/event.h"
#include "system/key_codes.h"
#include "system/polled_input.h"
#include "system/system_driver.h"
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

bool SetDisplayModeFor(GLContextRecord* r) {
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
  if (fullscreen_record != r) return false;
  if (!fullscreen_restore_registered) {
    fullscreen_restore_registered = true;
    OnAbnormalEnd(RestoreDesktopAtAbnormalEnd);
  }
  SetSwapInterval(interval);
  return true;
}

// The largest whole multiple of the picture that fits the desktop's free area with the
// window's decorations.
void WindowSizeFor(GLContextRecord* r, int* width, int* height) {
  int area_w = r->width, area_h = r->height, frame_w = 0, frame_h = 0;
  plat_desktop_usable_size(r->window, &area_w, &area_h);
  plat_gl_window_frame_size(r->window, &frame_w, &frame_h);
  int k = WholeMultipleThatFits(r->width, r->height, area_w - frame_w, area_h - frame_h);
  *width = r->width * k;
  *height = r->height * k;
}

void UpdateView(GLContextRecord* r);
void TakeDisplay(GLContextRecord* r);

// Shows a full-screen context's window the given way and remembers it as the display mode.
void ShowAs(GLContextRecord* r, DisplayMode mode) {
  if (r == fullscreen_record) {
    plat_restore_display_mode(r->window);
    SetSwapInterval(0);
    fullscreen_record = nullptr;
  }
  r->shown = mode;
  SetDisplayMode(mode);
  switch (mode) {
    case DisplayMode::Fullscreen:
      plat_gl_window_set_style(r->window, PlatWindowStyle::kBorderless, r->width, r->height);
      TakeDisplay(r);
      break;
    case DisplayMode::Desktop:
      if (!plat_gl_window_set_style(r->window, PlatWindowStyle::kDesktopFullScreen, 0, 0)) {
        RuntimeError("GLGraphicsDriver failed to set display mode");
      }
      break;
    case DisplayMode::Window: {
      int w, h;
      WindowSizeFor(r, &w, &h);
      plat_gl_window_set_style(r->window, PlatWindowStyle::kResizable, w, h);
      break;
    }
  }
  UpdateView(r);
}

// Takes the display mode for a context shown the Fullscreen way; when the display refuses it,
// says so once and goes on at the desktop's resolution.
void TakeDisplay(GLContextRecord* r) {
  if (r->mode != GLContextRecord::kFullScreen || r->shown != DisplayMode::Fullscreen ||
      r == fullscreen_record) {
    return;
  }
  if (SetDisplayModeFor(r)) return;
  std::fprintf(stderr,
               "The %dx%d display mode cannot be set: going on full screen at the desktop's "
               "resolution\n",
               r->width, r->height);
  ShowAs(r, DisplayMode::Desktop);
}

// Reads the window's drawable size and decides where the picture goes: straight into the window
// when the sizes match and no stereo mode is in use, else offscreen and scaled. The pointer
// mapping follows at once; the offscreen pictures are made when the context is current
// (UpdateTarget).
void UpdateView(GLContextRecord* r) {
  int view_w = 0, view_h = 0;
  plat_gl_window_client_size(r->window, &view_w, &view_h);
  const StereoMode stereo = StereoModeInUse();
  if (view_w == r->view_width && view_h == r->view_height && stereo == r->stereo) return;
  r->view_width = view_w;
  r->view_height = view_h;
  r->stereo = stereo;
  const bool sized = view_w > 0 && view_h > 0;
  r->scaled = sized && (stereo != StereoMode::Off || (r->mode == GLContextRecord::kFullScreen &&
                                                      (view_w != r->width || view_h != r->height)));
  if (!r->scaled) {
    r->picture = PictureRect{0, 0, r->width, r->height};
    r->screen = StereoScreen{};
    r->screen.views[0] = r->screen.bounds = r->picture;
    plat_window_show_picture(r->window_id, nullptr);
    return;
  }
  r->screen = PlaceStereoViews(stereo, r->width, r->height, view_w, view_h, CurrentScalePolicy());
  r->picture = r->screen.bounds;
  PlatPicture p;
  p.width = r->width;
  p.height = r->height;
  p.x = r->picture.x;
  p.y = r->picture.y;
  p.view_width = r->picture.width;
  p.view_height = r->picture.height;
  plat_window_show_picture(r->window_id, &p);
}

void NoFramebufferObjects(GLContextRecord* r) {
  static bool told = false;
  if (!told) {
    std::fprintf(stderr, r->stereo != StereoMode::Off
                             ? "OpenGL offers no framebuffer objects: the picture is not scaled, "
                               "nor shown in stereo\n"
                             : "OpenGL offers no framebuffer objects: the picture is not scaled\n");
  }
  told = true;
  // Drawn flat and unscaled into the window's top-left corner, where the pointer is mapped.
  if (r->stereo != StereoMode::Off) SetStereoMode(StereoMode::Off);
  PlatPicture p;
  p.width = p.view_width = r->width;
  p.height = p.view_height = r->height;
  plat_window_show_picture(r->window_id, &p);
  r->scaled = false;
}

// Must run with the record's context current.
void DestroyRightView(GLContextRecord* r) {
  DestroyGLOffscreen(r->right_offscreen);
  r->right_offscreen = nullptr;
}

// With the record's context current: sends drawing where UpdateView decided.
void UpdateTarget(GLContextRecord* r) {
  if (r->scaled && !r->offscreen) {
    r->offscreen = CreateGLOffscreen(r->width, r->height, (r->flags & GFX_ALPHABUFFER) != 0);
    if (!r->offscreen) NoFramebufferObjects(r);
  }
  const bool stereo = r->scaled && r->stereo != StereoMode::Off;
  if (stereo && !r->right_offscreen) {
    r->right_offscreen = CreateGLOffscreen(r->width, r->height, (r->flags & GFX_ALPHABUFFER) != 0);
    if (!r->right_offscreen) NoFramebufferObjects(r);
  } else if (!stereo && r->right_offscreen) {
    DestroyRightView(r);
  }
  // Sharp scaling's intermediate pictures, sized for where each view is shown now.
  for (int k = 0; k < 2; ++k) {
    PictureRect step;
    if (r->scaled && CurrentScalePolicy() == ScalePolicy::Sharp && k < r->screen.count) {
      step = SharpPrescale(r->width, r->height, r->screen.views[k]);
    }
    r->prescaled[k] = GLOffscreenOfSize(r->prescaled[k], step.width, step.height);
  }
  BindGLOffscreen(r->scaled ? r->offscreen : nullptr);
}

void ReleaseOffscreen(GLContextRecord* r) {
  if (!r->offscreen && !r->right_offscreen && !r->prescaled[0] && !r->prescaled[1]) return;
  bool was_current = r == current_record;
  if (!was_current) plat_gl_make_current(r->window);
  DestroyGLOffscreen(r->offscreen);
  r->offscreen = nullptr;
  DestroyRightView(r);
  for (GLOffscreen*& step : r->prescaled) step = GLOffscreenOfSize(step, 0, 0);
  if (!was_current) plat_gl_make_current(current_record ? current_record->window : nullptr);
}

// Keeps the pointer inside a scaled window while the program wants it and the window has the
// focus.
void ApplyPointerHold(GLContextRecord* r) {
  bool want = PointerHoldWanted() && r->mode == GLContextRecord::kFullScreen &&
              r->shown != DisplayMode::Fullscreen && plat_active_window() == r->window_id;
  if (want == r->pointer_held) return;
  r->pointer_held = want;
  plat_gl_window_hold_pointer(r->window, want);
}

// Shows the offscreen picture, or both eyes' views, scaled in the window (which then needs only
// its swap).
void PresentScaled(GLContextRecord* r) {
  if (!r->scaled || !r->offscreen) return;
  const StereoScreen& screen = r->screen;
  GLOffscreenPiece pieces[2];
  bool sharp = true;
  for (int k = 0; k < screen.count; ++k) {
    pieces[k].offscreen = k == 0 ? r->offscreen : r->right_offscreen;
    pieces[k].where = screen.views[k];
    pieces[k].prescaled = r->prescaled[k];
    sharp =
        sharp && screen.views[k].width % r->width == 0 && screen.views[k].height % r->height == 0;
  }
  PresentGLOffscreens(pieces, screen.count, r->view_width, r->view_height, sharp);
}

}  // namespace

void ShowDisplayChoice(DisplayMode mode, ScalePolicy policy) {
  SetScalePolicy(policy);
  for (GLContextRecord* r : records) {
    if (r->mode != GLContextRecord::kFullScreen) continue;
    r->view_width = -1;  // the picture is placed anew even when the window keeps its size
    if (r->shown != mode) {
      ShowAs(r, mode);
    } else {
      UpdateView(r);
    }
    return;
  }
  SetDisplayMode(mode);
}

namespace {

bool swallow_enter_char = false;

// Alt+Enter: between the full-screen choice and the window. Neither the key nor the character
// it types reaches the program, and a press of Alt the program has not counted yet goes with
// them: the shortcut is no key hit (in the game, Alt on its own is a key of play).
bool SwitchOnAltEnter(GLContextRecord* r, const PlatMessage& m) {
  if (m.kind == PlatMessageKind::kChar && m.character == '\r' && swallow_enter_char) {
    swallow_enter_char = false;
    return true;
  }
  if (m.kind != PlatMessageKind::kKeyDown || m.vkey != Key(KeyCode::kEnter) ||
      r->mode != GLContextRecord::kFullScreen || !(ModifierState() & MODIFIER_OPTION)) {
    return false;
  }
  swallow_enter_char = true;
  for (KeyCode alt : {KeyCode::kAlt, KeyCode::kLeftAlt, KeyCode::kRightAlt}) {
    TakeBackKeyHits(Key(alt));
  }
  if (!m.repeat)
    ShowAs(r, r->shown == DisplayMode::Window ? FullScreenChoice() : DisplayMode::Window);
  return true;
}

void WindowProcedure(const PlatMessage& message, void* user) {
  auto* r = static_cast<GLContextRecord*>(user);
  if (SwitchOnAltEnter(r, message)) return;
  TranslateSystemMessage(message, nullptr);
  switch (message.kind) {
    case PlatMessageKind::kFocusGained:
      TakeDisplay(r);
      break;
    case PlatMessageKind::kFocusLost:
      GiveBackDisplay(r);
      if (r->pointer_held) {
        r->pointer_held = false;
        plat_gl_window_hold_pointer(r->window, false);
      }
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
  ReleaseOffscreen(r);
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
  DisplayMode shown = fullscreen ? CurrentDisplayMode() : DisplayMode::Fullscreen;
  PlatWindowStyle style = PlatWindowStyle::kFramed;
  int x = 32, y = 32, w = width, h = height;
  if (fullscreen) {
    x = y = 0;
    style = PlatWindowStyle::kBorderless;
    if (shown == DisplayMode::Desktop) style = PlatWindowStyle::kDesktopFullScreen;
    if (shown == DisplayMode::Window) {
      GLContextRecord sizing;
      sizing.width = width;
      sizing.height = height;
      WindowSizeFor(&sizing, &w, &h);
      style = PlatWindowStyle::kResizable;
      x = y = -1;  // centred
    }
  }
  PlatGLWindow* window =
      plat_gl_window_create(AppTitle(), x, y, w, h, style, FormatFromFlags(flags), error);
  if (!window) return nullptr;
  // Shown as a window, never smaller than the picture: below its size the pointer's way to the
  // picture and back would skip pixels.
  if (fullscreen) plat_gl_window_set_minimum_size(window, width, height);
  if (const Ref<TPixmap>& icon = AppIcon()) {
    plat_gl_window_set_icon(window, icon->pixels, icon->width, icon->height, icon->pitch);
  }
  auto* r = new GLContextRecord;
  r->mode = fullscreen ? GLContextRecord::kFullScreen : GLContextRecord::kWindow;
  r->shown = shown;
  if (fullscreen) {
    r->width = width;  // the picture's size, whatever the window's
    r->height = height;
  } else {
    plat_gl_window_client_size(window, &r->width, &r->height);
  }
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
  UpdateView(r);
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
  if (r) {
    UpdateView(r);
    UpdateTarget(r);
  }
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
  GLContextRecord* r = current_record;
  // Nobody sees a virtual display's window: its picture is shown on demand only
  // (GrabPresentedWindow), which keeps headless runs in scaled modes as quick as the others.
  if (!plat_video_is_virtual() && !r->finished) PresentScaled(r);
  if (plat_video_is_virtual()) glFinish();
  r->finished = false;
  plat_gl_swap(r->window);
  // A resize or a switch of display mode shows from the next frame on.
  UpdateView(r);
  UpdateTarget(r);
  ApplyPointerHold(r);
}

void TGLGraphicsDriver::FinishFrame() {
  GLContextRecord* r = current_record;
  if (!r) return;
  if (!plat_video_is_virtual()) {
    PresentScaled(r);
    r->finished = true;
  }
  glFinish();
}

void TGLGraphicsDriver::BindView(StereoEye eye) {
  GLContextRecord* r = current_record;
  if (!r || !r->scaled) return;
  BindGLOffscreen(eye == StereoEye::Right && r->right_offscreen ? r->right_offscreen
                                                                : r->offscreen);
}

Ref<TPixmap> GrabPresentedWindow() {
  GLContextRecord* r = current_record;
  if (!r || r->view_width <= 0 || r->view_height <= 0) return nullptr;
  if (plat_video_is_virtual()) PresentScaled(r);
  BindGLOffscreen(nullptr);
  Ref<TPixmap> p = TPixmap::Create(r->view_width, r->view_height, FORMAT_RGBA8888, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, p->pitch / 4);
  glReadPixels(0, 0, r->view_width, r->view_height, GL_RGBA, GL_UNSIGNED_BYTE, p->pixels);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  UpdateTarget(r);
  return FlipPixmapVertically(p);
}
