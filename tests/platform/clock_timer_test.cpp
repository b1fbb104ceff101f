// The virtual clock and timer threads. Nothing here asserts how fast real time goes.
#include <gtest/gtest.h>

#include <atomic>

#include "platform/clock.h"
#include "platform/timer_thread.h"

TEST(VirtualClockTest, StandsStillUntilSleptOrAdvancedAndNeverRunsBackwards) {
  std::uint32_t real = plat_ticks();
  plat_use_virtual_clock(true);
  EXPECT_TRUE(plat_virtual_clock());
  std::uint32_t start = plat_ticks();
  EXPECT_GE(start, real);
  plat_sleep_real(5);
  EXPECT_EQ(plat_ticks(), start);
  plat_sleep(250);
  EXPECT_EQ(plat_ticks() - start, 250u);
  plat_advance_clock(16);
  EXPECT_EQ(plat_ticks() - start, 266u);
  plat_use_virtual_clock(false);
  EXPECT_FALSE(plat_virtual_clock());
}

// Sleeping until a tick wakes at that millisecond's start or later, never up to a millisecond
// early as whole milliseconds slept from a whole-millisecond reading can; a passed tick returns at
// once, and the virtual clock is moved on to the tick.
TEST(SleepUntilTest, WakesNoEarlierThanTheTicksStartAndMovesTheVirtualClockToIt) {
  for (int round = 0; round < 20; ++round) {
    const std::uint32_t due = plat_ticks() + 2;
    plat_sleep_until(due);
    EXPECT_GE(plat_micros(), std::uint64_t{due} * 1000) << "woke early in round " << round;
  }
  const std::uint32_t before = plat_ticks();
  plat_sleep_until(before - 5);
  EXPECT_LT(plat_ticks() - before, 5u) << "a tick in the past does not wait";

  plat_use_virtual_clock(true);
  const std::uint32_t start = plat_ticks();
  plat_sleep_until(start + 17);
  EXPECT_EQ(plat_ticks(), start + 17);
  plat_sleep_until(start + 3);
  EXPECT_EQ(plat_ticks(), start + 17) << "the virtual clock never runs backwards";
  plat_sleep_until_micros((std::uint64_t{start} + 20) * 1000 + 999);
  EXPECT_EQ(plat_ticks(), start + 20) << "the virtual clock stops at the microsecond's millisecond";
  plat_use_virtual_clock(false);

  for (int round = 0; round < 20; ++round) {
    const std::uint64_t due = plat_micros() + 1500 + 37 * round;
    plat_sleep_until_micros(due);
    EXPECT_GE(plat_micros(), due) << "woke early in round " << round;
  }
}

namespace {
struct Counter {
  std::atomic<int> ticks{0};
};
void Count(int, void* user) { static_cast<Counter*>(user)->ticks.fetch_add(1); }
}  // namespace

TEST(TimerThreadTest, TicksUntilStoppedAndNeverAfter) {
  Counter counter;
  int id = plat_timer_start(1, Count, &counter);
  ASSERT_NE(id, 0);
  while (counter.ticks.load() < 5) plat_sleep_real(1);
  plat_timer_stop(id);
  int at_stop = counter.ticks.load();
  plat_sleep_real(20);
  EXPECT_EQ(counter.ticks.load(), at_stop);
  plat_timer_stop(id);  // a second stop is harmless

  int next = plat_timer_start(1000, Count, &counter);
  EXPECT_GT(next, id);  // ids are not reused
  plat_timer_stop(next);
}

namespace {
std::atomic<int> seen_id{0};
void RememberId(int timer, void*) { seen_id.store(timer); }
}  // namespace

TEST(TimerThreadTest, TheTickKnowsItsTimerAndBadPeriodsAreRefused) {
  seen_id.store(0);
  int id = plat_timer_start(2, RememberId, nullptr);
  ASSERT_NE(id, 0);
  while (seen_id.load() == 0) plat_sleep_real(1);
  plat_timer_stop(id);
  EXPECT_EQ(seen_id.load(), id);
  EXPECT_EQ(plat_timer_start(0, RememberId, nullptr), 0);
  EXPECT_EQ(plat_timer_start(-3, RememberId, nullptr), 0);
  EXPECT_EQ(plat_timer_start(10, nullptr, nullptr), 0);
}
