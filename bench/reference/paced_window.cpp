// paced_window.cpp - what the machine itself allows for frame pacing: a window that only clears
// and flips, paced like the game.
//
// It opens the game's display (640x480 at 60 Hz, soft sync when the display does not sync at that
// rate) through the framework, then clears and flips for the given number of seconds, writing a
// frame log in the game's format with the screen "reference". scripts/frame-timing-run.sh -r runs
// it after each game run on the same X server: frames that come late here, where there is no work
// at all, were made late by the machine (its scheduler, the display server), not by the game.
//
//   paced_window LOG SECONDS
//
// Needs a display (DISPLAY) and OpenGL; no files of the game's.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/app.h"
#include "core/error.h"
#include "graphics/draw2d.h"
#include "graphics/frame_timing.h"
#include "graphics/gl_draw2d.h"
#include "graphics/graphics.h"
#include "platform/video.h"
#include "system/clock.h"

namespace {

std::FILE* log_file = nullptr;  // opened before RunApplication moves to the program's folder
int seconds = 0;

void LogFrame(const FrameTime& frame, void*) {
  std::fprintf(log_file, "%" PRId64 " %" PRId64 " %d %d reference\n", frame.number, frame.flip_us,
               frame.work_us, frame.flip_wait_us);
}

int PacedWindow() {
  std::string nodisplay;
  if (!plat_video_init(&nodisplay)) RuntimeError(nodisplay);
  SelectGraphicsDriver(GLRar2ADriver(), GFX_BACKBUFFER);
  SetAppTitle("Paced window");
  if (!OpenGraphics(640, 480, 32, 60, GFX_BACKBUFFER)) RuntimeError("no 640x480 display");
  std::fputs("# frame flip_us work_us flip_wait_us screen\n", log_file);
  WatchFrames(LogFrame, nullptr);
  const std::int64_t end = Micros() + std::int64_t{seconds} * 1000000;
  while (Micros() < end) {
    Cls();
    FlipScreen(-1);
  }
  StopWatchingFrames(LogFrame, nullptr);
  std::fclose(log_file);
  EndGraphicsMode();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::atoi(argv[2]) <= 0) {
    std::fprintf(stderr, "usage: paced_window LOG SECONDS\n");
    return 2;
  }
  seconds = std::atoi(argv[2]);
  log_file = std::fopen(argv[1], "w");
  if (!log_file) {
    std::perror(argv[1]);
    return 1;
  }
  return RunApplication(argc, argv, PacedWindow);
}
