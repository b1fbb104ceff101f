// cursor.cpp - pointer visibility, placement and capture through SDL's mouse.
#include "platform/cursor.h"

#include <SDL.h>

#include "platform/window_registry.h"

void plat_cursor_set_visible(bool visible) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

bool plat_cursor_visible() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return true;
  return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE;
}

void plat_cursor_warp(std::uint32_t window, int x, int y) {
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
