// Timers tick on the main thread, inside event pumping. These run on the real clock (the ticks
// come from a real thread) but assert only on counts, never on how long anything took.
#include "system/timer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/clock.h"
#include "system/clock.h"
#include "system/hook.h"
#include "system/system_driver.h"

TEST(TimerTest, TicksThatCameWhileTheMainThreadWasBusyAreAllCountedByTheNextWait) {
  // No pumping for 100 ms: about six ticks wait in the queue, and one Wait counts them all. A
  // machine so busy that the timer thread itself was held up gets two more tries.
  int n = 0;
  Ref<TTimer> timer;
  for (int attempt = 0; attempt < 3 && n < 2; ++attempt) {
    if (timer) EndTimer(timer.get());
    timer = NewTimer(60);
    ASSERT_TRUE(timer);
    PauseMillis(100);
    n = AwaitTimer(timer.get());
  }
  EXPECT_GE(n, 2);
  EXPECT_EQ(TimerTicks(timer.get()), n);
  int more = AwaitTimer(timer.get());
  EXPECT_GE(more, 1);
  EXPECT_EQ(TimerTicks(timer.get()), n + more);

  EndTimer(timer.get());
  EXPECT_EQ(AwaitTimer(timer.get()), 0);
  EXPECT_EQ(TimerTicks(timer.get()), n + more);  // still answers after stopping
}

TEST(TimerTest, TicksPostedBeforeStopAreDropped) {
  StartSystem();
  PumpEvents();
  Ref<TTimer> timer = NewTimer(1000);  // a tick every millisecond
  ASSERT_TRUE(timer);
  plat_sleep_real(30);  // ticks pile up in the queue unpumped
  EndTimer(timer.get());
  PumpEvents();
  EXPECT_EQ(TimerTicks(timer.get()), 0);
}

namespace {
struct Tick {
  TEvent* event;
  TObject* source;
  int data;
};
std::vector<Tick> ticks;
TObject* NoteTick(int, TObject* data, TObject*) {
  auto* event = dynamic_cast<TEvent*>(data);
  if (event && (event->id == EVENT_TIMERTICK || event->id == 4242)) {
    ticks.push_back({event, event->source.get(), event->data});
  }
  return data;
}
}  // namespace

TEST(TimerTest, EmitsItsOwnEventOrAFreshTickCarryingTheCount) {
  ticks.clear();
  AttachHook(eventEmitHook, NoteTick);
  Ref<TEvent> mine = TEvent::Create(4242, nullptr, 0, 0, 0, 0);
  Ref<TTimer> with_event = NewTimer(200, mine.get());
  ASSERT_TRUE(with_event);
  while (TimerTicks(with_event.get()) < 3) AwaitTimer(with_event.get());
  EndTimer(with_event.get());
  ASSERT_GE(ticks.size(), 3u);
  for (const Tick& t : ticks) EXPECT_EQ(t.event, mine.get());

  ticks.clear();
  Ref<TTimer> plain = NewTimer(200);
  ASSERT_TRUE(plain);
  while (TimerTicks(plain.get()) < 2) AwaitTimer(plain.get());
  EndTimer(plain.get());
  ASSERT_GE(ticks.size(), 2u);
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    EXPECT_EQ(ticks[i].source, plain.get());
    EXPECT_EQ(ticks[i].data, static_cast<int>(i) + 1);
  }
  DetachHook(eventEmitHook, NoteTick);
}

TEST(TimerTest, SixteenRunAtOnceAndRatesWithoutAPeriodAreRefused) {
  std::vector<Ref<TTimer>> running;
  while (Ref<TTimer> t = NewTimer(1)) running.push_back(t);
  EXPECT_EQ(running.size(), static_cast<std::size_t>(kMaxLiveTimers));
  EndTimer(running.back().get());
  running.back() = NewTimer(1);
  EXPECT_TRUE(running.back());
  for (auto& t : running) EndTimer(t.get());

  EXPECT_FALSE(NewTimer(0));
  EXPECT_FALSE(NewTimer(-5));
  EXPECT_FALSE(NewTimer(2000));  // half a millisecond
  EXPECT_FALSE(NewTimer(std::nanf("")));
  EXPECT_FALSE(NewTimer(1e-12f));
}

TEST(ClockTest, PausesMoveTheVirtualClockAtOnce) {
  plat_use_virtual_clock(true);
  int before = Millis();
  PauseMillis(1000);
  EXPECT_EQ(Millis() - before, 1000);
  PauseMillis(-5);
  EXPECT_EQ(Millis() - before, 1000);
  plat_use_virtual_clock(false);
}
