// video.cpp - SDL video start-up with a readable failure.
#include "platform/video.h"

#include <SDL.h>

#include <cstdlib>

#include "platform/events.h"
#include "platform/window_registry.h"

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
  return true;
}

void plat_video_quit() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  plat_window_forget_all();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool plat_video_running() { return SDL_WasInit(SDL_INIT_VIDEO) != 0; }
