// window.cpp - window creation and the per-window record of procedures and pointer positions.
#include <SDL.h>

#include <cmath>
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

void plat_window_show_picture(std::uint32_t window, const PlatPicture* picture) {
  PlatWindowRecord* record = plat_window_record(window);
  if (!record) return;
  record->picture_width = 0;
  if (!picture || picture->width <= 0 || picture->height <= 0 || picture->view_width <= 0 ||
      picture->view_height <= 0) {
    return;
  }
  // Drawable pixels and window units differ on high-density displays.
  int window_w = 0, window_h = 0, drawable_w = 0, drawable_h = 0;
  SDL_GetWindowSize(record->sdl, &window_w, &window_h);
  SDL_GL_GetDrawableSize(record->sdl, &drawable_w, &drawable_h);
  double sx = drawable_w > 0 ? static_cast<double>(window_w) / drawable_w : 1.0;
  double sy = drawable_h > 0 ? static_cast<double>(window_h) / drawable_h : 1.0;
  record->picture_width = picture->width;
  record->picture_height = picture->height;
  record->shown_x = picture->x * sx;
  record->shown_y = picture->y * sy;
  record->shown_width = picture->view_width * sx;
  record->shown_height = picture->view_height * sy;
}

// A window pixel belongs to the picture pixel its centre lies in; a picture pixel goes to the
// window pixel whose centre is nearest to its own (the lower one of two equally near). At a scale
// of 1 or more that window pixel's centre lies inside the picture pixel, so every picture pixel
// reads back as itself, whatever the offset (half units on high-density displays included). The
// slack keeps values that are whole numbers exactly from falling to the wrong side in floating
// point; the offsets and scales are ratios of small integers, far coarser than it.
constexpr double kSlack = 1e-7;

void plat_window_to_picture(const PlatWindowRecord& r, int* x, int* y) {
  if (r.picture_width <= 0) return;
  *x = static_cast<int>(
      std::floor((*x + 0.5 - r.shown_x) * r.picture_width / r.shown_width + kSlack));
  *y = static_cast<int>(
      std::floor((*y + 0.5 - r.shown_y) * r.picture_height / r.shown_height + kSlack));
}

void plat_picture_to_window(const PlatWindowRecord& r, int* x, int* y) {
  if (r.picture_width <= 0) return;
  *x = static_cast<int>(
      std::ceil(r.shown_x + (*x + 0.5) * r.shown_width / r.picture_width - 1 - kSlack));
  *y = static_cast<int>(
      std::ceil(r.shown_y + (*y + 0.5) * r.shown_height / r.picture_height - 1 - kSlack));
}

bool plat_window_size(std::uint32_t window, int* width, int* height) {
  PlatWindowRecord* record = plat_window_record(window);
  int w = 0, h = 0;
  if (record && record->picture_width > 0) {
    w = record->picture_width;
    h = record->picture_height;
  } else if (record && record->sdl) {
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
