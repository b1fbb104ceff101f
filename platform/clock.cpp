// clock.cpp - real time from the steady clock, virtual time from a counter.
#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using Steady = std::chrono::steady_clock;

// Taken on first use, so that a reading during another file's static start-up is sound too.
Steady::time_point Start() {
  static const Steady::time_point start = Steady::now();
  return start;
}

// Read during static start-up at the latest, so that the clock's zero is the program's launch.
[[maybe_unused]] const Steady::time_point launch = Start();

std::atomic<bool> virtual_on{false};
std::atomic<std::uint32_t> virtual_ticks{0};
std::atomic<std::uint32_t> virtual_oversleep{0};

std::uint32_t RealTicks() {
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - Start());
  return static_cast<std::uint32_t>(ms.count());
}

}  // namespace

std::uint32_t plat_ticks() { return virtual_on.load() ? virtual_ticks.load() : RealTicks(); }

std::uint64_t plat_micros() {
  if (virtual_on.load()) return std::uint64_t{virtual_ticks.load()} * 1000;
  auto us = std::chrono::duration_cast<std::chrono::microseconds>(Steady::now() - Start());
  return static_cast<std::uint64_t>(us.count());
}

std::uint64_t plat_micros_since_launch() {
  auto us = std::chrono::duration_cast<std::chrono::microseconds>(Steady::now() - Start());
  return static_cast<std::uint64_t>(us.count());
}

std::uint32_t plat_wall_millis() {
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::system_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count());
}

void plat_sleep(std::uint32_t ms) {
  if (virtual_on.load()) {
    virtual_ticks.fetch_add(ms);
  } else {
    plat_sleep_real(ms);
  }
}

void plat_sleep_until(std::uint32_t tick) {
  if (virtual_on.load()) {
    const auto ahead = static_cast<std::int32_t>(tick - virtual_ticks.load());
    if (ahead > 0) {
      virtual_ticks.fetch_add(static_cast<std::uint32_t>(ahead) + virtual_oversleep.exchange(0));
    }
    return;
  }
  // One reading in 64 bits: the tick is that many whole milliseconds after it, to the boundary.
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - Start());
  const auto ahead = static_cast<std::int32_t>(tick - static_cast<std::uint32_t>(elapsed.count()));
  if (ahead <= 0) return;
  std::this_thread::sleep_until(Start() + elapsed + std::chrono::milliseconds(ahead));
}

void plat_sleep_until_micros(std::uint64_t micros) {
  if (virtual_on.load()) {
    plat_sleep_until(static_cast<std::uint32_t>(micros / 1000));
    return;
  }
  std::this_thread::sleep_until(Start() + std::chrono::microseconds(micros));
}

void plat_virtual_oversleep(std::uint32_t ms) { virtual_oversleep.store(ms); }

void plat_sleep_real(std::uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void plat_use_virtual_clock(bool on) {
  if (on == virtual_on.load()) return;
  if (on) virtual_ticks.store(RealTicks());
  virtual_on.store(on);
}

bool plat_virtual_clock() { return virtual_on.load(); }

void plat_advance_clock(std::uint32_t ms) { virtual_ticks.fetch_add(ms); }
