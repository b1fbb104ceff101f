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
bool steps_written = false;

void WriteStartupSteps() {
  for (const StartupStep& step : StartupSteps()) {
    std::fprintf(log_file, "# startup %s %.1f\n", step.name, step.since_us / 1000.0);
  }
  std::fputs("# frame flip_us work_us flip_wait_us screen\n", log_file);
}

void LogFrame(const FrameTime& frame, void*) {
  if (!log_file) return;
  if (!steps_written) {
    WriteStartupSteps();
    steps_written = true;
  }
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
  steps_written = false;
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
