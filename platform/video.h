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

// Names the program to the desktop before video starts: `classname` is the class its windows
// carry (X11's WM_CLASS, Wayland's app id), which the desktop entry's StartupWMClass names, and
// `title` the name shown where the desktop lists programs (screen-saver inhibitors, volume
// applets). A class the environment already gives (SDL_VIDEO_X11_WMCLASS) is kept. Main thread.
void plat_video_name_app(const std::string& classname, const std::string& title);

// Stops video; windows still open are closed.
void plat_video_quit();

bool plat_video_running();
