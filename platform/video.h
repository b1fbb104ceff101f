// video.h - starting and stopping the display side of the platform.
//
// Windows and the pointer need video. Where there is no display (no X server, no Wayland
// compositor, a broken driver) plat_video_init says so in a sentence and the program decides what
// to do; nothing crashes. Headless runs pick SDL's offscreen driver with SDL_VIDEODRIVER=offscreen:
// SDL falls back to it by itself when no display answers, but only a program that names it gets it.
#pragma once

#include <string>

// Starts video (and the event queue). True if it runs on a display, or on a virtual driver that
// SDL_VIDEODRIVER names; otherwise false with a sentence starting "No display available" in
// *error. Main thread.
bool plat_video_init(std::string* error = nullptr);

// Stops video; windows still open are closed.
void plat_video_quit();

bool plat_video_running();
