// sprites_splat.cpp - the splat: a burst that spreads into droplets and dims over seven frames.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "tools/sprites.h"

namespace {

// A fixed sequence of pseudo-random numbers, so the droplets are the same on every run.
struct Scatter {
  std::uint32_t state;
  float Next() {  // [0, 1)
    state = state * 1664525u + 1013904223u;
    return (state >> 8) / 16777216.0f;
  }
};

constexpr float kCx = 30.5f, kCy = 22.5f;
constexpr float kPi = std::numbers::pi_v<float>;

}  // namespace

void DrawSplat(Canvas& c, int frame) {
  if (frame == 0) {
    // The moment of impact: a small bright flash with eight rays.
    for (int i = 0; i < 8; ++i) {
      float a = i * kPi / 4 + 0.2f;
      float r = i % 2 ? 9 : 14;
      c.Fill(Capsule({kCx, kCy}, {kCx + std::cos(a) * r, kCy + std::sin(a) * r * 0.8f}, 1.2f),
             Grey(0.8f));
    }
    c.Fill(Circle(kCx, kCy, 5), Grey(1));
    return;
  }
  float t = (frame - 1) / 5.0f;  // 0 for the first splat frame, 1 for the last
  float bright = 1.0f - 0.45f * t;
  // The core: a lumpy blob that shrinks as its matter flies off.
  Scatter lumps{1234u};
  float core = 9.5f - 4.5f * t;
  Shape blob = Circle(kCx, kCy, core);
  for (int i = 0; i < 7; ++i) {
    float a = i * 2 * kPi / 7 + lumps.Next() * 0.6f;
    float r = core * (0.55f + 0.3f * lumps.Next());
    blob = Union(blob, Circle(kCx + std::cos(a) * r * 1.2f, kCy + std::sin(a) * r,
                              core * (0.45f + 0.2f * lumps.Next())));
  }
  c.Fill(Grow(blob, 0.8f), Grey(0.3f * bright));
  c.Fill(blob, [&](float x, float y, float d) {
    float glow = std::clamp(-d / 4, 0.0f, 1.0f);
    float spot = std::exp(-((x - kCx + 2) * (x - kCx + 2) + (y - kCy + 2) * (y - kCy + 2)) / 30);
    return Grey(bright * (0.6f + 0.25f * glow + 0.15f * spot));
  });
  // Droplets on streaks: the same droplets every frame, each further out and smaller.
  Scatter drops{98765u};
  for (int i = 0; i < 14; ++i) {
    float a = i * 2 * kPi / 14 + (drops.Next() - 0.5f) * 0.4f;
    float speed = 0.6f + 0.4f * drops.Next();
    float size = 1.2f + 1.8f * drops.Next();
    float dist = (core + 3) + (6 + 17 * t) * speed;
    float dx = std::cos(a) * 1.2f, dy = std::sin(a) * 0.62f;
    // Droplets that would fly past the frame stop a pixel inside it, on their own line out.
    float room_x = (kCx - 2 - size) / std::max(std::abs(dx), 1e-3f);
    float room_y = (kCy - 2 - size) / std::max(std::abs(dy), 1e-3f);
    dist = std::min({dist, room_x, room_y});
    Point p{kCx + dx * dist, kCy + dy * dist};
    float r = size * (1.0f - 0.35f * t);
    Point tail{kCx + dx * (dist - 4 - 4 * t), kCy + dy * (dist - 4 - 4 * t)};
    c.Fill(Capsule(tail, p, r * 0.45f), Grey(0.55f * bright));
    c.Fill(Circle(p.x, p.y, r), Shaded(Grey(bright), Grey(0.6f * bright), r));
  }
}
