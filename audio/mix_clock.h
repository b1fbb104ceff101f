// mix_clock.h - the millisecond clock the mixer times its start delay with.
//
// Sounds start a fixed 20 ms after they are requested, measured on this clock by both the game
// thread (the request) and the device thread (the pickup). The clock can be replaced, so that a
// test or a frame-by-frame harness decides what "now" is.
#pragma once

#include <cstdint>

using MixClock = std::uint32_t (*)();

// Milliseconds on the current clock; they wrap around after 49 days.
std::uint32_t MixMillis();

// Installs another clock; null puts back the steady system clock. Call it while no device runs.
void SetMixClock(MixClock clock);
