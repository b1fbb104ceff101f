// clock.h - the millisecond clock and sleeping, with a virtual clock for headless runs.
//
// The clock counts milliseconds in 32 bits from the start of the program and wraps after about
// 49.7 days, so callers compare readings by their difference. Under the virtual clock time
// stands still until something sleeps (plat_sleep) or advances it (plat_advance_clock): a
// headless run then goes as fast as the machine allows and every run sees the same times.
//
// plat_sleep is the program's sleep, the one that moves the virtual clock. Threads that must wait
// real time whatever the clock (timer threads, the audio device's refill) use plat_sleep_real.
#pragma once

#include <cstdint>

std::uint32_t plat_ticks();
// Microseconds on the same clock as plat_ticks, in 64 bits (under the virtual clock its
// milliseconds times 1000). Any thread.
std::uint64_t plat_micros();
// Microseconds since the program's static start-up, in real time whatever the clock: how long
// the program took to get somewhere. Any thread.
std::uint64_t plat_micros_since_launch();
// The wall clock in milliseconds, its low 32 bits: unlike plat_ticks it goes on between runs, so
// no two runs read alike. Real time even under the virtual clock; any thread.
std::uint32_t plat_wall_millis();

void plat_sleep(std::uint32_t ms);
// Sleeps until plat_ticks reads `tick` (compared by difference, so across a wrap too): to the
// microsecond in real time, where plat_sleep's whole milliseconds from a whole-millisecond reading
// can wake up to a millisecond early. Under the virtual clock, advances it to `tick`. Returns at
// once when `tick` has passed.
void plat_sleep_until(std::uint32_t tick);
// Sleeps until plat_micros reads `micros` (at once when it has passed). Under the virtual clock,
// which counts whole milliseconds, moves it on to the millisecond `micros` falls in.
void plat_sleep_until_micros(std::uint64_t micros);
// Under the virtual clock, the next plat_sleep_until that waits wakes `ms` past its tick, as a
// thread on a busy system may: for tests of code that must bear a late wake-up. Any thread.
void plat_virtual_oversleep(std::uint32_t ms);
void plat_sleep_real(std::uint32_t ms);

// Switching on starts the virtual clock at the current reading, so time never runs backwards;
// switching off returns to real time.
void plat_use_virtual_clock(bool on);
bool plat_virtual_clock();
void plat_advance_clock(std::uint32_t ms);
