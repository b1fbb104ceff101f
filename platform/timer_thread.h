// timer_thread.h - periodic timers, each ticking on a thread of its own.
//
// A timer calls tick(id, user) on its thread once per period, in real time, for as long as it
// runs. A tick late by less than a second catches up: the missed ticks follow at once, so a
// count of ticks stays true to the time that passed. After a longer stall (a suspended machine)
// the schedule starts afresh instead of bursting.
//
// The tick runs on the timer's thread, so it must only hand work over (plat_post_call).
// Start and stop timers from the main thread.
#pragma once

using PlatTimerTick = void (*)(int timer, void* user);

// Starts a timer with a period of `period_ms` (1 or more). Returns its id (ids are never
// reused), or 0 if the period is out of range or no thread can be started.
int plat_timer_start(int period_ms, PlatTimerTick tick, void* user);

// Stops the timer and waits for its thread: no tick of it runs after this returns.
// Unknown or already stopped ids are ignored.
void plat_timer_stop(int timer);
