// cursor.cpp - pointer visibility, placement and capture through SDL's mouse.
#include "platform/cursor.h"

#include <SDL.h>

#include "platform/inject.h"
#include "platform/window_registry.h"

void plat_cursor_set_visible(bool visible) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

bool plat_cursor_visible() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return true;
  return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE;
}

namespace {

int Clamp(int v, int size) { return size <= 0 ? v : (v < 0 ? 0 : (v >= size ? size - 1 : v)); }

// A virtual window hears of a placement the way SDL tells a window of a warp when its video
// driver cannot move the real pointer: a move message, clamped to the client area, every time.
void WarpVirtual(const PlatWindowRecord* record, std::uint32_t window, int x, int y) {
  plat_inject_mouse_move(window, Clamp(x, record->virtual_width), Clamp(y, record->virtual_height));
}

}  // namespace

void plat_cursor_warp(std::uint32_t window, int x, int y) {
  PlatWindowRecord* found = plat_window_record(window);
  if (found && !found->sdl) {
    WarpVirtual(found, window, x, y);
    return;
  }
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  if (PlatWindowRecord* record = plat_window_record(window)) {
    plat_picture_to_window(*record, &x, &y);
    SDL_WarpMouseInWindow(record->sdl, x, y);
  } else {
    SDL_WarpMouseGlobal(x, y);
  }
}

void plat_cursor_capture(bool capture) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  // Not every video driver can capture; SDL then still sends the messages of the window under
  // the pointer, which is all a missed capture costs.
  SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}
