// clock.h - the program's millisecond clock and its sleep.
//
// Millis counts milliseconds in 32 bits and wraps after about 49.7 days: compare readings by
// their difference. PauseMillis suspends the calling thread without handling any events. Under
// the headless harness's virtual clock (platform/clock.h) both follow virtual time: a pause
// moves the clock on at once instead of waiting.
#pragma once

#include <cstdint>

int Millis();
// Microseconds on the same clock as Millis (virtual under the harness), in 64 bits. Any thread.
std::int64_t Micros();
// Real microseconds since the program was launched, for start-up timings. Any thread.
std::int64_t MicrosSinceLaunch();
// The system's millisecond clock, which keeps running between launches (the wall clock, low 32
// bits): a seed that differs every run. Any thread.
int SystemMillis();
void PauseMillis(int ms);
// True: from now on the clock moves only when the program sleeps, at once and by as long as it
// sleeps (headless replays, the harness); false: back to real time. Main thread.
void UseVirtualClock(bool on);
// Suspends the calling thread until Micros() reads `when` (at once when it has passed). Under the
// virtual clock, which counts whole milliseconds, moves the clock on to the millisecond `when`
// falls in. Main thread or any other.
void PauseUntilMicros(std::int64_t when);
