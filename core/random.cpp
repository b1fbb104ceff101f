// random.cpp - the generator. Schrage's decomposition keeps every product within 32 bits.
#include "core/random.h"

#include <cmath>

namespace {

constexpr std::int32_t kMultiplier = 48271;
constexpr std::int32_t kModulus = 2147483647;
constexpr std::int32_t kQuotient = 44488;  // kModulus / kMultiplier
constexpr std::int32_t kRemainder = 3399;  // kModulus % kMultiplier
constexpr std::int32_t kInitialState = 0x1234;

std::int32_t state = kInitialState;

std::int32_t Step() {
  state = kMultiplier * (state % kQuotient) - kRemainder * (state / kQuotient);
  if (state < 0) state += kModulus;
  return state;
}

}  // namespace

void SeedRandom(std::int32_t seed) {
  state = seed & 0x7fffffff;
  if (state == 0 || state == kModulus) state = kInitialState;
}

std::int32_t RandomSeed() { return state; }

double RandomDouble() {
  std::int32_t s1 = Step();
  std::int32_t s2 = Step();
  return ((s1 & 0x1ffffffc) + (s2 & 0x1ffffff8) / 134217728.0) / 536870912.0;
}

float RandomFloat() { return static_cast<float>((Step() & 0x0ffffff0) / 268435456.0); }

double RandomRange(double a, double b) {
  const double u = RandomDouble();
  const double low = b > a ? a : b, high = b > a ? b : a;
  const double span = high - low;
  // Bounds so far apart that their difference overflows are weighed instead, which cannot.
  if (std::isinf(span) && std::isfinite(low) && std::isfinite(high)) {
    return low * (1 - u) + high * u;
  }
  return low + u * span;
}

int RandomInt(int a, int b) {
  // The span of two ints needs 33 bits. Every span that fits in 32 gives what it always gave:
  // the same double products, truncated the same way.
  const double u = RandomDouble();
  const std::int64_t d = std::int64_t{b} - a;
  const std::int64_t r = d > 0 ? a + static_cast<std::int64_t>(u * static_cast<double>(d + 1))
                               : b + static_cast<std::int64_t>(u * static_cast<double>(1 - d));
  return static_cast<int>(r);
}
