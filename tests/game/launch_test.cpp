// Start-up as a player meets it: a fresh random game every launch, seeded once, and a clear end
// when there is no display to play on.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>

#include "core/app.h"
#include "core/random.h"
#include "game/frame_loop.h"
#include "game/replay/state_hash.h"
#include "game/startup.h"
#include "tests/game/game_fixture.h"

namespace {

class LaunchSeed : public GameTest {
 protected:
  // A start-up as the program runs it (the harness's input, no harness seed), from a generator
  // left as `before`; the stars it made, one number for all their places.
  std::uint64_t StartUp(std::int32_t before, std::optional<std::int32_t> seed) {
    SeedRandom(before);
    HarnessOptions options;
    options.folder = folder_.string();
    options.null_graphics = true;
    HarnessPrepare(options);
    if (seed) {
      gamestartup(*seed);
    } else {
      gamestartup();
    }
    std::uint64_t stars = 0;
    WalkList<starfield_tag>(*playfield.starlist, [&](starfield_tag* star) {
      stars =
          stars * 1000003 + static_cast<std::uint64_t>(star->x * 1000 + star->y * 10 + star->size);
    });
    hash = GameStateHash();
    gameshutdown();
    return stars;
  }
  void SetUp() override { MakeFolder(); }
  std::uint64_t hash = 0;
};

// Each launch seeds the generator once, before anything draws from it (the stars first), from
// the system's entropy: two launches from the same state start apart. Given a seed, start-up
// starts the same game whatever the generator held before.
TEST_F(LaunchSeed, EveryLaunchSeedsOnceBeforeTheStarsAreMade) {
  EXPECT_NE(launchseed(), launchseed());  // one chance in 2^31 of failing by luck
  EXPECT_NE(StartUp(4660, std::nullopt), StartUp(4660, std::nullopt))
      << "two launches made the same stars";
  const std::uint64_t stars = StartUp(1, 777);
  const std::uint64_t first = hash;
  EXPECT_EQ(StartUp(2, 777), stars);
  EXPECT_EQ(hash, first);
  EXPECT_NE(StartUp(1, 778), stars);
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
