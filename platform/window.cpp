// window.cpp - window creation and the per-window record of procedures and pointer positions.
#include <SDL.h>

#include <map>

#include "platform/events.h"
#include "platform/window_registry.h"

namespace {

std::map<std::uint32_t, PlatWindowRecord>& Records() {
  static std::map<std::uint32_t, PlatWindowRecord> records;
  return records;
}

std::uint32_t active_window = 0;

}  // namespace

PlatWindowRecord* plat_window_record(std::uint32_t window) {
  auto found = Records().find(window);
  return found == Records().end() ? nullptr : &found->second;
}

void plat_window_note_focus(std::uint32_t window, bool gained) {
  if (gained && plat_window_record(window)) {
    active_window = window;
  } else if (!gained && active_window == window) {
    active_window = 0;
  }
}

void plat_window_forget_all() {
  Records().clear();
  active_window = 0;
}

std::uint32_t plat_window_create(const PlatWindowOptions& options, std::string* error) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) {
    if (error) *error = "Cannot open a window: video is not running";
    return 0;
  }
  SDL_Window* sdl =
      SDL_CreateWindow(options.title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                       options.width, options.height, SDL_WINDOW_SHOWN);
  if (!sdl) {
    if (error) *error = std::string("Cannot open a window: ") + SDL_GetError();
    return 0;
  }
  return plat_window_adopt(sdl);
}

std::uint32_t plat_window_adopt(SDL_Window* sdl) {
  std::uint32_t id = SDL_GetWindowID(sdl);
  PlatWindowRecord record;
  record.sdl = sdl;
  Records()[id] = record;
  // Showing a window activates it; not every video driver says so with a focus message.
  active_window = id;
  return id;
}

void plat_window_adopt_virtual(std::uint32_t id, int width, int height) {
  PlatWindowRecord record;
  record.virtual_width = width;
  record.virtual_height = height;
  Records()[id] = record;
  active_window = id;
}

void plat_window_destroy(std::uint32_t window) {
  PlatWindowRecord* record = plat_window_record(window);
  if (!record) return;
  if (record->sdl) SDL_DestroyWindow(record->sdl);
  Records().erase(window);
  if (active_window == window) active_window = 0;
}

void plat_window_set_procedure(std::uint32_t window, PlatWindowProcedure procedure, void* user) {
  PlatWindowRecord* record = plat_window_record(window);
  if (!record) return;
  record->procedure = procedure;
  record->user = user;
}

bool plat_window_size(std::uint32_t window, int* width, int* height) {
  PlatWindowRecord* record = plat_window_record(window);
  int w = 0, h = 0;
  if (record && record->sdl) {
    SDL_GetWindowSize(record->sdl, &w, &h);
  } else if (record) {
    w = record->virtual_width;
    h = record->virtual_height;
  }
  if (width) *width = w;
  if (height) *height = h;
  return record != nullptr;
}

std::uint32_t plat_active_window() { return active_window; }
