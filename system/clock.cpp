// clock.cpp - the platform clock under the framework's names.
#include "system/clock.h"

#include "platform/clock.h"

int Millis() { return static_cast<int>(plat_ticks()); }

std::int64_t Micros() { return static_cast<std::int64_t>(plat_micros()); }

std::int64_t MicrosSinceLaunch() { return static_cast<std::int64_t>(plat_micros_since_launch()); }

int SystemMillis() { return static_cast<int>(plat_wall_millis()); }

void PauseUntilMicros(std::int64_t when) {
  if (when > 0) plat_sleep_until_micros(static_cast<std::uint64_t>(when));
}

void PauseMillis(int ms) {
  if (ms > 0) plat_sleep(static_cast<unsigned>(ms));
}

void UseVirtualClock(bool on) { plat_use_virtual_clock(on); }
