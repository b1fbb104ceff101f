// random.cpp - the generator. Schrage's decomposition keeps every product within 32 bits.
#include "core/random.h"

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
  double u = RandomDouble();
  return b > a ? a + u * (b - a) : b + u * (a - b);
}

int RandomInt(int a, int b) {
  double u = RandomDouble();
  int d = b - a;
  return d > 0 ? a + static_cast<int>(u * (d + 1)) : b + static_cast<int>(u * (1 - d));
}
