// The state hash that replays check: two states that differ only in the random generator's state
// hash apart, whichever bit of it differs, so that a replay whose generator has drifted is caught
// at the next check even while nothing on screen shows it yet.
#include <gtest/gtest.h>

#include "core/random.h"
#include "game/state_hash.h"
#include "game_fixture.h"

namespace {

using StateHash = GameTest;

TEST_F(StateHash, StatesThatDifferOnlyInTheGeneratorHashApartAtEveryBit) {
  HarnessOptions options;
  options.nullgraphics = true;
  Start(options);
  EnterPlay();
  HarnessRun(120);  // bees, shots and stars in play
  const std::int32_t seed = RandomSeed();
  const std::uint64_t base = GameStateHash();
  ASSERT_NE(base, 0u);
  // Every bit the generator keeps (its state lies below 2^31).
  for (int bit = 0; bit < 31; ++bit) {
    const std::int32_t other = seed ^ (std::int32_t{1} << bit);
    if (other == 0 || other == 0x7fffffff) continue;  // not states the generator takes
    SeedRandom(other);
    ASSERT_EQ(RandomSeed(), other);
    EXPECT_NE(GameStateHash(), base) << "generator state differing in bit " << bit;
  }
  // One step of the generator, as a single extra draw in a frame would make.
  SeedRandom(seed);
  RandomFloat();
  EXPECT_NE(GameStateHash(), base) << "one draw more";
  // The same generator state again: the same hash, so the differences came from it alone.
  SeedRandom(seed);
  EXPECT_EQ(GameStateHash(), base);
}

}  // namespace
