// An end signal reaches the game's loops as a close request: every loop that honours one ends,
// and a recording holds it as the event that ended the game.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>

#include "core/app.h"
#include "system/event.h"
#include "system/input_seam.h"
#include "system_fixture.h"

namespace {

using EndSignalTest = SystemWindowTest;

int recorded_closes = 0;

int SignalDuringPlay() {
  InputRecorder recorder;
  recorder.event = [](std::uint64_t, const InputEventRecord& event) {
    if (event.id == EVENT_APPTERMINATE) ++recorded_closes;
  };
  SetInputRecorder(recorder);
  const int before = AppCloseRequested();
  ::raise(SIGTERM);
  // The pause screen reads it, then the frame loop, then whatever loop the exit runs.
  const int first = AppCloseRequested(), second = AppCloseRequested(), third = AppCloseRequested();
  ClearInputSeam();
  std::fprintf(stderr, "closes %d %d %d %d recorded %d\n", before, first, second, third,
               recorded_closes);
  return 0;
}

TEST_F(EndSignalTest, IsACloseRequestEveryLoopSeesAndARecordingKeepsOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  char name[] = "test_system";
  char* argv[] = {name, nullptr};
  EXPECT_EXIT(std::exit(RunApplication(1, argv, SignalDuringPlay)),
              ::testing::ExitedWithCode(128 + SIGTERM), "closes 0 1 1 1 recorded 1");
}

}  // namespace
