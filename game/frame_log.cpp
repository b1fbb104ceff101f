// frame_log.cpp - the frame watcher that writes the log's lines.
#include "game/frame_log.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/play/screen_name.h"
#include "game/replay/replay.h"
#include "graphics/frame_timing.h"
#include "system/startup_steps.h"

namespace {

// The log being written, apart from the game's state: it only watches the frames. Opened by
// StartFrameLog, closed by StopFrameLog.
struct FrameLog {
  std::FILE* file = nullptr;
  std::size_t steps_written = 0;  // start-up steps already in the log
} frame_log;

// The start-up steps noted since the last frame, where they happened among the frames.
void WriteNewStartupSteps() {
  const std::vector<StartupStep>& steps = StartupSteps();
  for (; frame_log.steps_written < steps.size(); ++frame_log.steps_written) {
    const StartupStep& step = steps[frame_log.steps_written];
    std::fprintf(frame_log.file, "# startup %s %.1f\n", step.name, step.since_us / 1000.0);
  }
}

void LogFrame(const FrameTime& frame, void*) {
  if (!frame_log.file) return;
  WriteNewStartupSteps();
  std::fprintf(frame_log.file, "%" PRId64 " %" PRId64 " %d %d %s", frame.number, frame.flip_us,
               frame.work_us, frame.flip_wait_us,
               ReplayRunsProgram() && CurrentModalScreen() == ModalScreen::None
                   ? "replay"
                   : CurrentScreenName());
  // A replay's frame, so that a script can follow its seeks.
  if (ReplayUnderWay()) std::fprintf(frame_log.file, " %d", ReplayFramesPlayed());
  std::fputc('\n', frame_log.file);
}

}  // namespace

bool StartFrameLog(const std::string& path, std::string* problem) {
  StopFrameLog();
  frame_log.file = std::fopen(path.c_str(), "w");
  if (!frame_log.file) {
    if (problem) *problem = "cannot write the frame log " + path + ": " + std::strerror(errno);
    return false;
  }
  // A line at a time, so that the log can be watched while the game runs.
  std::setvbuf(frame_log.file, nullptr, _IOLBF, 1 << 16);
  std::fputs("# frame flip_us work_us flip_wait_us screen\n", frame_log.file);
  frame_log.steps_written = 0;
  WatchFrames(LogFrame, nullptr);
  static bool exit_registered = false;
  if (!exit_registered) {
    exit_registered = true;
    std::atexit(StopFrameLog);
  }
  return true;
}

void StopFrameLog() {
  if (!frame_log.file) return;
  StopWatchingFrames(LogFrame, nullptr);
  std::fclose(frame_log.file);
  frame_log.file = nullptr;
}
