// Start-up as a player meets it: a fresh random game every launch, and a clear end when there is
// no display to play on.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>

#include "core/app.h"
#include "game/startup.h"

namespace {

// Two launches a few seconds apart must not start alike: the seed follows a clock that keeps
// running between launches (the wall clock), not one that starts again with every program.
TEST(LaunchTest, TheSeedFollowsTheSystemClockNotTheProgramsAge) {
  const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  const auto seed = static_cast<std::uint32_t>(launchseed());
  const std::uint32_t gap = seed - static_cast<std::uint32_t>(now);
  EXPECT_LT(std::min(gap, 0u - gap), 60000u) << "seed " << seed;
}

int StartWithoutADisplay() {
  char name[] = "zumbrix";
  char* argv[] = {name, nullptr};
  return RunApplication(1, argv, [] {
    gamestartup();
    return 0;
  });
}

// With no X server and no Wayland socket SDL would fall back to drawing offscreen, and the game
// would run unseen for ever. It says why it cannot start instead and ends with 1.
TEST(LaunchTest, NoDisplaySaysSoAndEndsWithOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("SDL_VIDEODRIVER");
  EXPECT_EXIT(std::exit(StartWithoutADisplay()), ::testing::ExitedWithCode(1),
              "No display available");
}

}  // namespace
