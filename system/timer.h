// timer.h - periodic timers that tick on the main thread.
//
// A timer's thread only posts each tick to the main thread (cross_thread.h); the tick is counted
// and its event emitted there, inside event pumping. So ticks are never counted while the main
// thread is busy, but none is lost either: the next Wait answers all that arrived meanwhile.
// A running timer keeps itself alive; Stop ends it, and ticks already on their way are dropped.
//
//   Ref<TTimer> frame = NewTimer(60);    // every trunc(1000 / 60) = 16 ms
//   for (;;) { int ticks = AwaitTimer(frame); ... }
//
// At most 16 timers run at once. Main thread only.
#pragma once

#include "core/object.h"
#include "system/event.h"

constexpr int kMaxLiveTimers = 16;

class TTimer : public TObject {
 public:
  int _ticks = 0;
  int _wticks = 0;
  Ref<TTimer> _cycle;  // the timer itself while it runs
  Ref<TEvent> _event;  // emitted at every tick; null for a fresh "TimerTick" each time
  int _handle = 0;     // the running timer's id; 0 when stopped

  int Ticks() const { return _ticks; }
  void Stop();
  // Counts a tick and emits its event; nothing once stopped.
  void Fire();
  // Waits for at least one message, and on until a tick has come since the last Wait; answers
  // how many came. 0 at once for a stopped timer, or when called inside a pump, where waiting
  // could never end.
  int Wait();

  // Null when 16 timers run already or the rate gives no period of 1 ms or more.
  static Ref<TTimer> Create(float hz, TEvent* event = nullptr);
};

Ref<TTimer> NewTimer(float hz, TEvent* event = nullptr);
int TimerTicks(TTimer* timer);
int AwaitTimer(TTimer* timer);
void EndTimer(TTimer* timer);
