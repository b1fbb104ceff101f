// timer.cpp - timer threads posting ticks, and the table that says which timers still run.
#include "system/timer.h"

#include <cmath>

#include "core/main_thread.h"
#include "platform/timer_thread.h"
#include "system/cross_thread.h"
#include "system/system_driver.h"

namespace {

struct LiveTimer {
  int id;
  TTimer* timer;
};
LiveTimer live[kMaxLiveTimers];
int live_count = 0;

// On the main thread: only a timer still in the table is fired, so a tick posted just before
// its timer stopped finds nothing.
void RunTick(void*, std::intptr_t id) {
  for (int i = 0; i < live_count; ++i) {
    if (live[i].id == id) {
      live[i].timer->Fire();
      return;
    }
  }
}

// On the timer's thread: hand over and nothing else.
void PostTick(int id, void* timer) { PostMainThreadCall(RunTick, timer, id); }

}  // namespace

void TTimer::Stop() {
  if (_handle == 0) return;
  Ref<TTimer> keep(this);  // dropping _cycle may release the last outside reference
  for (int i = 0; i < live_count; ++i) {
    if (live[i].id == _handle) {
      live[i] = live[--live_count];
      break;
    }
  }
  plat_timer_stop(_handle);
  _handle = 0;
  _event = nullptr;
  _cycle = nullptr;
}

void TTimer::Fire() {
  if (_handle == 0) return;
  ++_ticks;
  Ref<TTimer> keep(this);  // a hook may stop the timer while its event is out
  if (_event) {
    Ref<TEvent> event = _event;
    event->Emit();
  } else {
    TEvent::Create(EVENT_TIMERTICK, this, _ticks, 0, 0, 0)->Emit();
  }
}

int TTimer::Wait() {
  if (_handle == 0) return 0;
  Ref<TTimer> keep(this);
  int n = 0;
  do {
    bool can_wait = !InsidePump();
    if (can_wait) AwaitEvents();
    n = _ticks - _wticks;
    if (!can_wait) break;
  } while (n == 0 && _handle != 0);
  _wticks = _ticks;
  return n;
}

Ref<TTimer> TTimer::Create(float hz, TEvent* event) {
  Ref<TTimer> timer = New<TTimer>();
  float period = 1000.0f / hz;
  if (live_count >= kMaxLiveTimers || !(period >= 1.0f && period <= 1.0e9f)) {
    return nullptr;
  }
  StartSystem();
  int id = plat_timer_start(static_cast<int>(std::trunc(period)), PostTick, timer.get());
  if (id == 0) return nullptr;
  live[live_count++] = {id, timer.get()};
  timer->_cycle = timer;
  timer->_event = event;
  timer->_handle = id;
  return timer;
}

Ref<TTimer> NewTimer(float hz, TEvent* event) {
  ZX_CHECK_MAIN_THREAD();
  return TTimer::Create(hz, event);
}

int TimerTicks(TTimer* timer) { return timer ? timer->Ticks() : 0; }
int AwaitTimer(TTimer* timer) { return timer ? timer->Wait() : 0; }
void EndTimer(TTimer* timer) {
  ZX_CHECK_MAIN_THREAD();
  if (timer) timer->Stop();
}
