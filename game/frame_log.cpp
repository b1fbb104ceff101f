// frame_log.cpp - the frame watcher that writes the log's lines.
#include "game/frame_log.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/screen_name.h"
#include "graphics/frame_timing.h"
#include "system/startup_steps.h"

namespace {

std::FILE* log_file = nullptr;
std::size_t steps_written = 0;

// The start-up steps noted since the last frame, where they happened among the frames.
void WriteNewStartupSteps() {
  const std::vector<StartupStep>& steps = StartupSteps();
  for (; steps_written < steps.size(); ++steps_written) {
    const StartupStep& step = steps[steps_written];
    std::fprintf(log_file, "# startup %s %.1f\n", step.name, step.since_us / 1000.0);
  }
}

void LogFrame(const FrameTime& frame, void*) {
  if (!log_file) return;
  WriteNewStartupSteps();
  std::fprintf(log_file, "%" PRId64 " %" PRId64 " %d %d %s\n", frame.number, frame.flip_us,
               frame.work_us, frame.flip_wait_us, CurrentScreenName());
}

}  // namespace

bool StartFrameLog(const std::string& path, std::string* problem) {
  StopFrameLog();
  log_file = std::fopen(path.c_str(), "w");
  if (!log_file) {
    if (problem) *problem = "cannot write the frame log " + path + ": " + std::strerror(errno);
    return false;
  }
  // A line at a time, so that the log can be watched while the game runs.
  std::setvbuf(log_file, nullptr, _IOLBF, 1 << 16);
  std::fputs("# frame flip_us work_us flip_wait_us screen\n", log_file);
  steps_written = 0;
  WatchFrames(LogFrame, nullptr);
  static bool exit_registered = false;
  if (!exit_registered) {
    exit_registered = true;
    std::atexit(StopFrameLog);
  }
  return true;
}

void StopFrameLog() {
  if (!log_file) return;
  StopWatchingFrames(LogFrame, nullptr);
  std::fclose(log_file);
  log_file = nullptr;
}
