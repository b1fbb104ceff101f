// mix_clock.cpp - the mixer's replaceable millisecond clock, by default a steady system clock.
#include "audio/mix_clock.h"

#include <atomic>
#include <chrono>

namespace {

std::uint32_t SteadyMillis() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::atomic<MixClock> current{&SteadyMillis};

}  // namespace

std::uint32_t MixMillis() { return current.load(std::memory_order_acquire)(); }

void SetMixClock(MixClock clock) {
  current.store(clock ? clock : &SteadyMillis, std::memory_order_release);
}
