// splash_logo.cpp - a candle flame inside a hexagon over the studio's name.
#include "tools/splash_logo.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/arcade_face.h"
#include "tools/png_file.h"

namespace {

std::vector<Point> Hexagon(float cx, float cy, float r) {
  std::vector<Point> p;
  for (int i = 0; i < 6; ++i) {
    float a = (60 * i + 30) * std::numbers::pi_v<float> / 180;
    p.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return p;
}

// A flame: a round bottom drawn up into a point that leans to one side.
Shape Flame(float cx, float base, float width, float height, float lean) {
  auto half_width = [](float v) {
    if (v < 0.35f)
      return std::sqrt(std::max(0.0f, 1 - (0.35f - v) * (0.35f - v) / (0.35f * 0.35f)));
    return std::pow(1 - (v - 0.35f) / 0.65f, 1.3f);
  };
  std::vector<Point> right, left;
  const int steps = 40;
  for (int i = 0; i <= steps; ++i) {
    float v = static_cast<float>(i) / steps;  // 0 at the bottom, 1 at the tip
    float x = cx + lean * v * v, y = base - v * height;
    right.push_back({x + width * half_width(v), y});
    left.push_back({x - width * half_width(v), y});
  }
  right.insert(right.end(), left.rbegin(), left.rend());
  return Polygon(right);
}

}  // namespace

Canvas DrawSplashLogo() {
  Canvas c(kLogoWidth, kLogoHeight);
  const float cx = kLogoWidth / 2.0f, cy = 78;
  Shape hex = Polygon(Hexagon(cx, cy, 66));
  Shape ring = Outline(hex, 3.5f);
  c.Fill(Grow(ring, 1.5f), Grey(0.22f));
  c.Fill(ring, [&](float, float y, float) { return Grey(0.95f - 0.35f * (y - 12) / 132); });
  // The inner hexagon is a faint glow, so the flame reads as light in a lantern.
  c.Fill(Grow(hex, -5), [&](float x, float y, float) {
    float r = std::hypot(x - cx, (y - cy - 10) * 1.2f);
    return Grey(0.05f + 0.2f * std::exp(-r * r / 1800));
  });
  Shape outer = Flame(cx, cy + 40, 22, 88, 9);
  c.Fill(Grow(outer, 1.5f), Grey(0.25f));
  c.Fill(outer, [&](float, float y, float d) {
    float t = std::clamp((cy + 40 - y) / 88, 0.0f, 1.0f);
    float edge = std::clamp(-d / 5, 0.0f, 1.0f);
    return Mix(Rgb{1.0f, 0.78f, 0.5f}, Rgb{0.95f, 0.55f, 0.3f}, t) * (0.75f + 0.25f * edge);
  });
  Shape inner = Flame(cx - 1, cy + 36, 11, 54, 5);
  c.Fill(inner, [&](float, float, float d) {
    return Mix(Rgb{1, 0.95f, 0.8f}, Grey(1), std::clamp(-d / 4, 0.0f, 1.0f));
  });
  // The wick.
  c.Fill(Capsule({cx, cy + 36}, {cx + 2, cy + 48}, 2.2f), Grey(0.35f));

  Lettering name;
  name.weight = 0.75f;
  name.spacing = 1.9f;
  name.outline = 2;
  name.max_stretch = 1.2f;
  DrawText(c, "TINDERWICK", 14, 156, kLogoWidth - 14, 200, name);
  Lettering games = name;
  games.weight = 0.6f;
  games.spacing = 5;
  games.outline = 1.2f;
  games.top = Grey(0.85f);
  games.bottom = Grey(0.6f);
  DrawText(c, "GAMES", 130, 206, kLogoWidth - 130, 228, games);
  // Rules either side of GAMES tie the name block together.
  for (float x0 : {40.0f, kLogoWidth - 120.0f}) {
    c.Fill(Capsule({x0, 217}, {x0 + 80, 217}, 1.2f), Grey(0.6f));
  }
  return c;
}

void WriteSplashLogo(const std::string& path) {
  Canvas logo = DrawSplashLogo();
  WritePng(path, {logo.width(), logo.height(), logo.ToRgb8()});
}
