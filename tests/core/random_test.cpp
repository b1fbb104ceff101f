// The random generator: its seeding, its sequence, and the bounds of its whole numbers.
#include "core/random.h"

#include <gtest/gtest.h>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>

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

// RandomInt and RandomRange at the edges: both ends of an integer range are reached and never
// passed, spans too wide for 32 bits stay inside their bounds, and spans that always fitted keep
// giving the same numbers.

namespace {

// The state just before a draw whose RandomDouble satisfies `pick`, scanning the sequence from a
// fixed seed.
template <class Pick>
std::int32_t StateBeforeDraw(Pick pick) {
  SeedRandom(77);
  for (int i = 0; i < 10000000; ++i) {
    const std::int32_t before = RandomSeed();
    if (pick(RandomDouble())) return before;
  }
  ADD_FAILURE() << "no such draw in the sequence";
  return 77;
}

TEST(RandomIntEnds, TheLargestDrawGivesTheUpperBoundAndTheSmallestTheLowerInEitherOrder) {
  const std::int32_t top = StateBeforeDraw([](double u) { return u > 0.9999; });
  const std::int32_t bottom = StateBeforeDraw([](double u) { return u < 0.0001; });
  struct Case {
    int a, b, atTop, atBottom;
  };
  // The draw runs from the smaller bound up, whichever order the bounds come in.
  const Case cases[] = {{0, 999, 999, 0},
                        {999, 0, 999, 0},
                        {-500, 499, 499, -500},
                        {499, -500, 499, -500},
                        {7, 7, 7, 7},
                        {0, 1, 1, 0},
                        {INT_MIN, INT_MIN + 999, INT_MIN + 999, INT_MIN},
                        {INT_MAX - 999, INT_MAX, INT_MAX, INT_MAX - 999}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "RandomInt(" << c.a << ", " << c.b << ")");
    SeedRandom(top);
    EXPECT_EQ(RandomInt(c.a, c.b), c.atTop);
    SeedRandom(bottom);
    EXPECT_EQ(RandomInt(c.a, c.b), c.atBottom);
  }
  // RandomRange comes close to its larger bound from below and starts at the smaller one.
  SeedRandom(top);
  const double high = RandomRange(0, 360);
  EXPECT_GT(high, 359.9);
  EXPECT_LT(high, 360.0);
  SeedRandom(bottom);
  EXPECT_LT(RandomRange(360, 0), 0.1);
}

TEST(RandomIntEnds, EveryValueOfASmallRangeComesUpAboutEquallyOften) {
  SeedRandom(31337);
  int counts[2][10] = {};
  const int draws = 100000;
  for (int i = 0; i < draws; ++i) {
    const int up = RandomInt(0, 9), down = RandomInt(9, 0);
    ASSERT_GE(up, 0);
    ASSERT_LE(up, 9);
    ASSERT_GE(down, 0);
    ASSERT_LE(down, 9);
    ++counts[0][up];
    ++counts[1][down];
  }
  for (int order = 0; order < 2; ++order) {
    for (int v = 0; v < 10; ++v) {
      EXPECT_NEAR(counts[order][v], draws / 10, draws / 100) << "value " << v << " order " << order;
    }
  }
}

TEST(RandomIntSpan, SpansOf2To31AndMoreStayInsideTheirBounds) {
  struct Case {
    int a, b;
  };
  const Case cases[] = {
      {INT_MIN, INT_MAX}, {INT_MAX, INT_MIN},       {INT_MIN, 0}, {0, INT_MIN}, {-1, INT_MAX},
      {INT_MAX, -2},      {-2000000000, 2000000000}};
  SeedRandom(4242);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "RandomInt(" << c.a << ", " << c.b << ")");
    const std::int64_t low = std::min(c.a, c.b), high = std::max(c.a, c.b);
    std::int64_t least = high, most = low;
    for (int i = 0; i < 20000; ++i) {
      const std::int64_t r = RandomInt(c.a, c.b);
      ASSERT_GE(r, low);
      ASSERT_LE(r, high);
      least = std::min(least, r);
      most = std::max(most, r);
    }
    // Spread over the whole span, not folded into part of it.
    const double span = static_cast<double>(high - low);
    EXPECT_LT(static_cast<double>(least - low), span * 0.01);
    EXPECT_GT(static_cast<double>(most - low), span * 0.99);
  }
  // The whole int range at the largest and smallest draws.
  SeedRandom(StateBeforeDraw([](double u) { return u > 0.999999; }));
  EXPECT_GT(RandomInt(INT_MIN, INT_MAX), INT_MAX - 10000);
  SeedRandom(StateBeforeDraw([](double u) { return u < 0.000001; }));
  EXPECT_LT(RandomInt(INT_MAX, INT_MIN), INT_MIN + 10000);
}

TEST(RandomIntSpan, SpansThatFitIn32BitsGiveTheSameNumbersAsEver) {
  struct Case {
    int a, b;
    int expected[4];
  };
  const Case cases[] = {
      {0, 9, {4, 2, 6, 1}},
      {9, 0, {5, 1, 7, 3}},
      {-5, 5, {0, 1, 5, 2}},
      {5, -5, {1, -3, 1, 1}},
      {0, 0, {0, 0, 0, 0}},
      {-1000000, 1000000, {586763, 198419, -998018, 555852}},
      {2000000000, -100000000, {10415698, 212589278, 385952531, 1516423137}},
      {-2147483647, -1, {-2057644745, -654216039, -1374302616, -1198038391}},
      {0, 2147483646, {1686796650, 1678673921, 1569595635, 1297521785}},
      {1, 2147483647, {1837066375, 408949846, 1240084761, 1488394256}},
      {2147483647, 1, {652710810, 1807671035, 1624715204, 1733248013}},
  };
  SeedRandom(4660);
  for (const Case& c : cases) {
    for (int expected : c.expected) {
      EXPECT_EQ(RandomInt(c.a, c.b), expected) << "RandomInt(" << c.a << ", " << c.b << ")";
    }
  }
}

TEST(RandomRangeSpan, BoundsTooFarApartForTheirDifferenceStayFiniteAndInside) {
  SeedRandom(5150);
  for (int i = 0; i < 10000; ++i) {
    const double up = RandomRange(-DBL_MAX, DBL_MAX);
    ASSERT_TRUE(std::isfinite(up)) << up;
    const double down = RandomRange(DBL_MAX, -DBL_MAX);
    ASSERT_TRUE(std::isfinite(down)) << down;
    ASSERT_LT(RandomRange(-DBL_MAX, DBL_MAX / 2), DBL_MAX / 2);
  }
  // The draw of u = 0 lands on the smaller bound.
  SeedRandom(StateBeforeDraw([](double u) { return u < 0.0001; }));
  EXPECT_LT(RandomRange(DBL_MAX, -DBL_MAX), -DBL_MAX * 0.999);
}

}  // namespace
