// video.cpp - SDL video start-up with a readable failure.
#include "platform/video.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "platform/display_lost.h"
#include "platform/events.h"
#include "platform/gl_window.h"
#include "platform/window_registry.h"

namespace {

// Whether SDL_VIDEODRIVER (a name or a comma-separated list) names `driver`.
bool AskedFor(const char* driver) {
  const char* list = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  if (!list) return false;
  const std::size_t length = std::strlen(driver);
  for (const char* at = list; *at;) {
    const char* end = std::strchr(at, ',');
    const std::size_t size = end ? static_cast<std::size_t>(end - at) : std::strlen(at);
    if (size == length && SDL_strncasecmp(at, driver, length) == 0) return true;
    if (!end) break;
    at = end + 1;
  }
  return false;
}

// Why SDL found no real display, for a person to read.
std::string NoDisplayReason() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  std::string reason;
  if ((!x11 || !*x11) && (!wayland || !*wayland)) {
    reason = "neither DISPLAY nor WAYLAND_DISPLAY is set";
  } else {
    reason = std::string("cannot connect to the display \"") + (x11 && *x11 ? x11 : wayland) + "\"";
  }
  return reason + " (SDL_VIDEODRIVER=offscreen runs without one, showing nothing)";
}

}  // namespace

bool plat_video_init(std::string* error) {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  const char* reason = nullptr;
  if (!plat_events_init(&reason)) {
    if (error) *error = std::string("Cannot start the event queue: ") + (reason ? reason : "");
    return false;
  }
  // Focus changes are the window procedure's to handle: SDL must not minimise windows itself.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // The screen saver is held off by the windows while they are open, not by video itself.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    if (error) {
      const char* driver = std::getenv("SDL_VIDEODRIVER");
      *error = std::string("No display available") +
               (driver && *driver ? std::string(" (video driver \"") + driver + "\")" : "") + ": " +
               SDL_GetError();
    }
    return false;
  }
  // With no display SDL falls back to its offscreen driver by itself: the program would run and
  // show nothing. Only a program that asks for that driver by name (tests, the harness) gets it.
  if (plat_video_is_virtual() && !AskedFor(SDL_GetCurrentVideoDriver())) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (error) *error = "No display available: " + NoDisplayReason();
    return false;
  }
  plat_watch_display_connection();
  return true;
}

void plat_video_name_app(const std::string& classname, const std::string& title) {
  ::setenv("SDL_VIDEO_X11_WMCLASS", classname.c_str(), 0);
  ::setenv("SDL_VIDEO_WAYLAND_WMCLASS", classname.c_str(), 0);
  SDL_SetHint(SDL_HINT_APP_NAME, title.c_str());
}

void plat_video_quit() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  plat_window_forget_all();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool plat_video_running() { return SDL_WasInit(SDL_INIT_VIDEO) != 0; }
