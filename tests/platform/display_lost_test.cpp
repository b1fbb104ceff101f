// A broken display connection met by some thread: the save registered for it runs once, on the
// thread that registered it (the one that owns the state it saves), and the process ends with
// status 1 saying so, and whether it saved everything. A thread that meets the break first must not
// run the save itself, nor say "saved" when the saving thread never comes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <thread>

#include "platform/display_lost.h"

namespace {

std::thread::id registrar;

bool Save() {
  std::fprintf(stderr, "saved by %s\n",
               std::this_thread::get_id() == registrar ? "its own thread" : "another thread");
  return true;
}

bool FailToSave() { return false; }

// A thread other than the registering one meets the break; the registering one meets it
// `later_ms` afterwards (never when negative).
void BreakOnAnotherThreadFirst(int later_ms) {
  registrar = std::this_thread::get_id();
  plat_video_on_lost(Save);
  std::thread other([] { plat_display_connection_broken(); });
  if (later_ms < 0) {
    other.join();  // ends with the process
  }
  ::usleep(later_ms * 1000);
  plat_display_connection_broken();
}

TEST(DisplayLost, TheSaveRunsOnceOnItsOwnThreadAndTheProcessEndsWithOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        registrar = std::this_thread::get_id();
        plat_video_on_lost(Save);
        plat_display_connection_broken();
      },
      ::testing::ExitedWithCode(1),
      "^saved by its own thread\nLost the connection to the display[^\n]*: saved, and ending\n$");
  EXPECT_EXIT(BreakOnAnotherThreadFirst(100), ::testing::ExitedWithCode(1),
              "^saved by its own thread\nLost the connection to the display[^\n]*: saved, and "
              "ending\n$");
  // The saving thread never comes (it waits on the other, say): no save, and no word of one.
  EXPECT_EXIT(BreakOnAnotherThreadFirst(-1), ::testing::ExitedWithCode(1),
              "^Lost the connection to the display[^\n]*: ending without saving\n$");
  // A save that failed is never told as done.
  EXPECT_EXIT(
      {
        plat_video_on_lost(FailToSave);
        plat_display_connection_broken();
      },
      ::testing::ExitedWithCode(1),
      "^Lost the connection to the display[^\n]*: not everything could be saved; ending\n$");
  EXPECT_EXIT(
      {
        plat_video_on_lost(nullptr);
        plat_display_connection_broken();
      },
      ::testing::ExitedWithCode(1), "^Lost the connection to the display[^\n]*: ending\n$");
}

}  // namespace
