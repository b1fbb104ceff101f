// Benchmark: the pixel-exact image overlap tests on the game's typical pairs, hit and miss.
//
// Besides the time per test it reports allocs_per_test, counted by a replacement of the global
// operator new: after the first test has made the quads and the span buffer, a test should
// allocate nothing at all.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <functional>

#include "graphics/collision.h"
#include "graphics/image_commands.h"
#include "graphics/transform.h"

#include "allocation_counter.h"

namespace {

// A masked sprite as the game cuts them: black background, centred handle.
Ref<TImage> Sprite(int w, int h, const std::function<bool(float, float)>& inside) {
  Ref<TPixmap> p = TPixmap::Create(w, h, FORMAT_RGB888, 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      // Coordinates from -1 to 1 across the sprite.
      const float u = (x + 0.5f) / w * 2 - 1;
      const float v = (y + 0.5f) / h * 2 - 1;
      if (inside(u, v)) p->WritePixel(x, y, 0xFF80C0FF);
    }
  }
  Ref<TImage> image = TImage::Load(p, IMAGE_MASKED, 0, 0, 0);
  CenterImageHandle(image);
  return image;
}

struct Sprites {
  Ref<TImage> ship = Sprite(36, 58, [](float u, float v) { return std::fabs(u) <= (v + 1) / 2; });
  Ref<TImage> bullet = Sprite(10, 10, [](float u, float v) { return u * u + v * v <= 1; });
  Ref<TImage> laser = Sprite(7, 26, [](float u, float) { return std::fabs(u) < 0.5f; });
  Ref<TImage> bee = Sprite(61, 43, [](float u, float v) { return u * u + v * v <= 1; });
};

Sprites& Images() {
  static Sprites sprites;
  return sprites;
}

// Offsets of the second sprite from the first, by case: on it, inside its box but off its
// pixels, far away.
const float kShipBullet[3][2] = {{0, 10}, {-14, -24}, {200, 0}};
const float kLaserBee[3][2] = {{0, 0}, {-19, -14}, {200, 0}};
const bool kExpected[3] = {true, false, false};

void Report(benchmark::State& state, long allocationsBefore) {
  state.counters["allocs_per_test"] =
      benchmark::Counter(static_cast<double>(AllocationCount() - allocationsBefore),
                         benchmark::Counter::kAvgIterations);
}

enum Case { kHit, kNearMiss, kFarMiss };

void ShipAgainstBullet(benchmark::State& state, Case c) {
  Sprites& s = Images();
  const float* at = kShipBullet[c];
  SetRotationAndScale(0, 1, 1);
  if (ImagesOverlap(s.ship, 100, 100, 0, s.bullet, 100 + at[0], 100 + at[1], 0) != kExpected[c]) {
    state.SkipWithError("unexpected result");
    return;
  }
  const long before = AllocationCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        ImagesOverlap(s.ship, 100, 100, 0, s.bullet, 100 + at[0], 100 + at[1], 0));
  }
  Report(state, before);
}

void LaserAgainstTurnedBee(benchmark::State& state, Case c) {
  Sprites& s = Images();
  const float* at = kLaserBee[c];
  auto test = [&] {
    return ImagesOverlapTransformed(s.laser, 300 + at[0], 200 + at[1], 0, 0, 1, 1, s.bee, 300, 200,
                                    0, 30, 0.6f, 0.6f);
  };
  if (test() != kExpected[c]) {
    state.SkipWithError("unexpected result");
    return;
  }
  const long before = AllocationCount();
  for (auto _ : state) benchmark::DoNotOptimize(test());
  Report(state, before);
}

}  // namespace

BENCHMARK_CAPTURE(ShipAgainstBullet, hit, kHit);
BENCHMARK_CAPTURE(ShipAgainstBullet, near_miss, kNearMiss);
BENCHMARK_CAPTURE(ShipAgainstBullet, far_miss, kFarMiss);
BENCHMARK_CAPTURE(LaserAgainstTurnedBee, hit, kHit);
BENCHMARK_CAPTURE(LaserAgainstTurnedBee, near_miss, kNearMiss);
BENCHMARK_CAPTURE(LaserAgainstTurnedBee, far_miss, kFarMiss);
