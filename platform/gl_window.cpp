// gl_window.cpp - OpenGL windows over SDL2.
#include "platform/gl_window.h"

#include <SDL.h>

#include <cstring>

#include "platform/inject.h"
#include "platform/window_registry.h"

struct PlatGLWindow {
  SDL_Window* window = nullptr;
  SDL_GLContext context = nullptr;
  bool owns_window = true;
  std::uint32_t id = 0;
};

namespace {

PlatGLWindow shared;  // the hidden context every window shares textures with
PlatFullScreenRefusal virtual_refusal = PlatFullScreenRefusal::kNone;
int virtual_desktop_width = 0, virtual_desktop_height = 0;  // 0: the driver's own

void SetPixelFormat(const PlatPixelFormat& f) {
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 1);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 1);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 1);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, f.alpha_bits);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, f.depth_bits);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, f.stencil_bits);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, f.accum_bits);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, f.accum_bits);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, f.accum_bits);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, f.double_buffer ? 1 : 0);
  // The fixed-function pipeline: a compatibility context of whatever version the driver offers.
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

bool EnsureShared() {
  if (shared.context) return true;
  SetPixelFormat(PlatPixelFormat{false, 0, 0, 0, 0});
  shared.window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!shared.window) return false;
  shared.context = SDL_GL_CreateContext(shared.window);
  if (!shared.context) {
    SDL_DestroyWindow(shared.window);
    shared.window = nullptr;
    return false;
  }
  return true;
}

}  // namespace

bool plat_video_is_virtual() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

std::vector<PlatDisplayMode> plat_display_modes() {
  std::vector<PlatDisplayMode> modes;
  int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode m;
    if (SDL_GetDisplayMode(0, i, &m) != 0) continue;
    modes.push_back({m.w, m.h, static_cast<int>(SDL_BITSPERPIXEL(m.format)), m.refresh_rate});
  }
  return modes;
}

PlatGLWindow* plat_gl_window_create(const std::string& title, int x, int y, int width, int height,
                                    PlatWindowStyle style, const PlatPixelFormat& format,
                                    std::string* error) {
  if (style == PlatWindowStyle::kDesktopFullScreen) {
    if (plat_video_is_virtual() && virtual_refusal == PlatFullScreenRefusal::kAll) {
      if (error) *error = "The display refuses a full-screen window";
      return nullptr;
    }
    // Made at the desktop's size from the start: some drivers size their surfaces only once.
    plat_desktop_size(nullptr, &width, &height);
    x = y = 0;
  }
  if (x < 0 || y < 0) x = y = static_cast<int>(SDL_WINDOWPOS_CENTERED);
  if (!EnsureShared()) {
    if (error) *error = std::string("Cannot create the shared OpenGL context: ") + SDL_GetError();
    return nullptr;
  }
  SDL_GLContext previous = SDL_GL_GetCurrentContext();
  SDL_Window* previous_window = SDL_GL_GetCurrentWindow();

  SetPixelFormat(format);
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN;
  switch (style) {
    case PlatWindowStyle::kFramed:
      break;
    case PlatWindowStyle::kBorderless:
      flags |= SDL_WINDOW_BORDERLESS;
      break;
    case PlatWindowStyle::kDesktopFullScreen:
      // A display with no real screen has no full screen either: a borderless window of the
      // desktop's size stands in (its surface keeps the size it was made with).
      flags |= plat_video_is_virtual() ? SDL_WINDOW_BORDERLESS : SDL_WINDOW_FULLSCREEN_DESKTOP;
      break;
    case PlatWindowStyle::kResizable:
      flags |= SDL_WINDOW_RESIZABLE;
      break;
  }
  SDL_Window* window = SDL_CreateWindow(title.c_str(), x, y, width, height, flags);
  if (!window) {
    if (error) *error = std::string("Cannot create a window: ") + SDL_GetError();
    return nullptr;
  }
  // The new context shares textures with the shared one, which must be current while it is made.
  SDL_GL_MakeCurrent(shared.window, shared.context);
  SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 1);
  SDL_GLContext context = SDL_GL_CreateContext(window);
  SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
  if (!context) {
    if (error) *error = std::string("No OpenGL pixel format fits: ") + SDL_GetError();
    SDL_DestroyWindow(window);
    SDL_GL_MakeCurrent(previous_window, previous);
    return nullptr;
  }
  SDL_GL_MakeCurrent(previous_window, previous);
  return new PlatGLWindow{window, context, true, plat_window_adopt(window)};
}

PlatGLWindow* plat_gl_window_attach(unsigned window_id, const PlatPixelFormat& format) {
  SDL_Window* window = SDL_GetWindowFromID(window_id);
  if (!window || !(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL) || !EnsureShared()) {
    return nullptr;
  }
  SDL_GLContext previous = SDL_GL_GetCurrentContext();
  SDL_Window* previous_window = SDL_GL_GetCurrentWindow();
  SetPixelFormat(format);
  SDL_GL_MakeCurrent(shared.window, shared.context);
  SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 1);
  SDL_GLContext context = SDL_GL_CreateContext(window);
  SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
  SDL_GL_MakeCurrent(previous_window, previous);
  if (!context) return nullptr;
  return new PlatGLWindow{window, context, false, window_id};
}

void plat_gl_window_destroy(PlatGLWindow* w) {
  if (!w) return;
  if (SDL_GL_GetCurrentContext() == w->context) SDL_GL_MakeCurrent(nullptr, nullptr);
  SDL_GL_DeleteContext(w->context);
  if (w->owns_window) plat_window_destroy(w->id);
  delete w;
}

unsigned plat_gl_window_id(PlatGLWindow* w) { return w ? w->id : 0; }

void plat_gl_window_client_size(PlatGLWindow* w, int* width, int* height) {
  SDL_GL_GetDrawableSize(w->window, width, height);
}

void plat_gl_window_minimize(PlatGLWindow* w) { SDL_MinimizeWindow(w->window); }

bool plat_gl_make_current(PlatGLWindow* w) {
  if (!w) return SDL_GL_MakeCurrent(nullptr, nullptr) == 0;
  return SDL_GL_MakeCurrent(w->window, w->context) == 0;
}

bool plat_gl_make_shared_current() {
  return EnsureShared() && SDL_GL_MakeCurrent(shared.window, shared.context) == 0;
}

bool plat_gl_shared_is_current() {
  return shared.context && SDL_GL_GetCurrentContext() == shared.context;
}

PlatGLCurrent plat_gl_current() {
  PlatGLCurrent current;
  current.context = SDL_GL_GetCurrentContext();
  current.window = current.context ? SDL_GL_GetCurrentWindow() : nullptr;
  return current;
}

bool plat_gl_restore_current(const PlatGLCurrent& current) {
  if (!current.context) return SDL_GL_MakeCurrent(nullptr, nullptr) == 0;
  return SDL_GL_MakeCurrent(static_cast<SDL_Window*>(current.window),
                            static_cast<SDL_GLContext>(current.context)) == 0;
}

void plat_gl_swap(PlatGLWindow* w) { SDL_GL_SwapWindow(w->window); }

bool plat_gl_set_swap_interval(int interval) { return SDL_GL_SetSwapInterval(interval) == 0; }

void plat_inject_full_screen_refusal(PlatFullScreenRefusal refusal) { virtual_refusal = refusal; }

bool plat_set_display_mode(PlatGLWindow* w, const PlatDisplayMode& mode) {
  if (plat_video_is_virtual()) return virtual_refusal == PlatFullScreenRefusal::kNone;
  SDL_DisplayMode want = {};
  want.w = mode.width;
  want.h = mode.height;
  want.refresh_rate = mode.hertz;
  SDL_DisplayMode got;
  if (!SDL_GetClosestDisplayMode(SDL_GetWindowDisplayIndex(w->window), &want, &got)) return false;
  if (got.w != mode.width || got.h != mode.height) return false;
  if (mode.hertz != 0 && got.refresh_rate != mode.hertz) return false;
  if (SDL_SetWindowDisplayMode(w->window, &got) != 0) return false;
  return SDL_SetWindowFullscreen(w->window, SDL_WINDOW_FULLSCREEN) == 0;
}

void plat_restore_display_mode(PlatGLWindow* w) {
  if (!plat_video_is_virtual()) SDL_SetWindowFullscreen(w->window, 0);
}

void plat_block_screen_saver(bool block) {
  if (block) {
    SDL_DisableScreenSaver();
  } else {
    SDL_EnableScreenSaver();
  }
}

bool plat_screen_saver_blocked() { return !SDL_IsScreenSaverEnabled(); }

// --- styles, the desktop, the pointer ---------------------------------------------------

void plat_inject_desktop_size(int width, int height) {
  virtual_desktop_width = width;
  virtual_desktop_height = height;
}

bool plat_gl_window_set_style(PlatGLWindow* w, PlatWindowStyle style, int width, int height) {
  if (!w || !w->owns_window) return false;
  SDL_Window* window = w->window;
  if (style == PlatWindowStyle::kDesktopFullScreen) {
    if (plat_video_is_virtual() && virtual_refusal == PlatFullScreenRefusal::kAll) return false;
    SDL_SetWindowResizable(window, SDL_FALSE);
    SDL_SetWindowBordered(window, SDL_FALSE);
    // Covering the desktop by hand first: without a window manager to obey the full-screen
    // request (a bare X server) the window would otherwise keep its size.
    int dw = 0, dh = 0;
    if (plat_desktop_size(w, &dw, &dh)) {
      if (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) SDL_SetWindowFullscreen(window, 0);
      int display = SDL_GetWindowDisplayIndex(window);
      SDL_Rect bounds;
      if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds) == 0) {
        SDL_SetWindowPosition(window, bounds.x, bounds.y);
      }
      SDL_SetWindowSize(window, dw, dh);
    }
    if (plat_video_is_virtual()) return true;
    return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
  }
  if (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) SDL_SetWindowFullscreen(window, 0);
  SDL_SetWindowBordered(window, style == PlatWindowStyle::kBorderless ? SDL_FALSE : SDL_TRUE);
  SDL_SetWindowResizable(window, style == PlatWindowStyle::kResizable ? SDL_TRUE : SDL_FALSE);
  SDL_SetWindowSize(window, width, height);
  if (style == PlatWindowStyle::kResizable) {
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(SDL_GetWindowDisplayIndex(window)),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(SDL_GetWindowDisplayIndex(window)));
  }
  return true;
}

void plat_gl_window_set_icon(PlatGLWindow* w, const unsigned char* rgba, int width, int height,
                             int pitch) {
  if (!w || !w->owns_window || !rgba || width <= 0 || height <= 0) return;
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(rgba), width,
                                                         height, 32, pitch, SDL_PIXELFORMAT_RGBA32);
  if (!icon) return;
  SDL_SetWindowIcon(w->window, icon);  // SDL keeps its own copy
  SDL_FreeSurface(icon);
}

void plat_gl_window_set_minimum_size(PlatGLWindow* w, int width, int height) {
  if (w && w->owns_window && width > 0 && height > 0) {
    SDL_SetWindowMinimumSize(w->window, width, height);
  }
}

bool plat_desktop_size(PlatGLWindow* w, int* width, int* height) {
  if (plat_video_is_virtual() && virtual_desktop_width > 0) {
    *width = virtual_desktop_width;
    *height = virtual_desktop_height;
    return true;
  }
  int display = w ? SDL_GetWindowDisplayIndex(w->window) : 0;
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &mode) != 0) return false;
  *width = mode.w;
  *height = mode.h;
  return true;
}

bool plat_desktop_usable_size(PlatGLWindow* w, int* width, int* height) {
  if (plat_video_is_virtual()) return plat_desktop_size(w, width, height);
  int display = w ? SDL_GetWindowDisplayIndex(w->window) : 0;
  SDL_Rect area;
  if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &area) != 0) {
    return plat_desktop_size(w, width, height);
  }
  *width = area.w;
  *height = area.h;
  return true;
}

void plat_gl_window_frame_size(PlatGLWindow* w, int* width, int* height) {
  int top = 0, left = 0, bottom = 0, right = 0;
  if (!w || SDL_GetWindowBordersSize(w->window, &top, &left, &bottom, &right) != 0) {
    top = left = bottom = right = 0;
  }
  *width = left + right;
  *height = top + bottom;
}

void plat_gl_window_hold_pointer(PlatGLWindow* w, bool hold) {
  if (w) SDL_SetWindowGrab(w->window, hold ? SDL_TRUE : SDL_FALSE);
}

void* plat_gl_proc_address(const char* name) { return SDL_GL_GetProcAddress(name); }
