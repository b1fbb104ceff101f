#include "core/random.h"

#include <gtest/gtest.h>

namespace {

TEST(Random, KnownValuesFromTheInitialState) {
  SeedRandom(0x1234);
  EXPECT_EQ(RandomSeed(), 4660);
  double first = RandomDouble();
  EXPECT_EQ(RandomSeed(), 539475828);  // two steps: 224942860, then 539475828
  EXPECT_DOUBLE_EQ(first, 0.4189887270692887);
  EXPECT_EQ(first, 0.4189887270692887);
}

TEST(Random, FloatTakesOneStep) {
  SeedRandom(4660);
  float f = RandomFloat();
  EXPECT_EQ(RandomSeed(), 224942860);
  EXPECT_EQ(f, static_cast<float>((224942860 & 0x0ffffff0) / 268435456.0));
}

TEST(Random, SeedsThatWouldStallFallBackTo4660) {
  SeedRandom(0);
  EXPECT_EQ(RandomSeed(), 4660);
  SeedRandom(0x7fffffff);
  EXPECT_EQ(RandomSeed(), 4660);
  SeedRandom(-1);  // low 31 bits all set
  EXPECT_EQ(RandomSeed(), 4660);
  SeedRandom(static_cast<std::int32_t>(0x80000005u));
  EXPECT_EQ(RandomSeed(), 5);
}

TEST(Random, RangeGivesTheSameDrawInEitherOrder) {
  SeedRandom(99);
  double forward = RandomRange(0, 360);
  SeedRandom(99);
  double backward = RandomRange(360, 0);
  EXPECT_EQ(forward, backward);
  SeedRandom(12345);
  for (int i = 0; i < 10000; ++i) {
    double r = RandomRange(360, 0);
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 360.0);
  }
  EXPECT_EQ(RandomRange(7.5, 7.5), 7.5);
}

TEST(Random, IntIncludesBothBoundsInEitherOrder) {
  SeedRandom(2024);
  bool seen[3] = {};
  for (int i = 0; i < 1000; ++i) {
    int r = RandomInt(5, 3);
    ASSERT_GE(r, 3);
    ASSERT_LE(r, 5);
    seen[r - 3] = true;
  }
  EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
  for (int i = 0; i < 1000; ++i) {
    int r = RandomInt(-2, 2);
    ASSERT_GE(r, -2);
    ASSERT_LE(r, 2);
  }
}

}  // namespace
