// sprites_text.cpp - everything in the sheet that is lettering: numbers, panels, captions, logo.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/arcade_face.h"
#include "tools/sprites.h"

namespace {

// The whole frame less a margin, so that no stroke touches the frame's edge.
void FitText(Canvas& c, const std::string& text, const Lettering& style, float margin = 1) {
  DrawText(c, text, margin, margin, c.width() - margin, c.height() - margin, style);
}

Lettering CaptionStyle() {
  Lettering s;
  s.weight = 0.7f;
  s.spacing = 1.8f;
  s.outline = 1.5f;
  s.max_stretch = 1.3f;
  return s;
}

}  // namespace

void DrawPoints(Canvas& c, int frame) {
  const char* values[] = {"25", "50", "100", "200", "400", "800", "1600", "3200"};
  Lettering s;
  s.weight = 0.55f;
  s.spacing = 1.7f;
  s.outline = 0;
  s.max_stretch = 1.25f;
  s.bottom = Grey(0.85f);
  DrawText(c, values[frame], 0.5f, 0.5f, c.width() - 0.5f, c.height() - 0.5f, s);
}

void DrawBonusPanel(Canvas& c, int frame) {
  const char* values[] = {"125", "250", "500"};
  float w = static_cast<float>(c.width()), h = static_cast<float>(c.height());
  Shape frame_shape = Outline(Box(4, 4, w - 4, h - 4, 12), 1.6f);
  c.Fill(Grow(frame_shape, 1), Grey(0.25f));
  c.Fill(frame_shape, Grey(0.78f));
  // Corner brackets mark the panel as a target zone.
  for (float x : {9.0f, w - 9}) {
    for (float y : {9.0f, h - 9}) {
      float sx = x < w / 2 ? 1 : -1, sy = y < h / 2 ? 1 : -1;
      c.Fill(
          Union(Capsule({x, y}, {x + sx * 12, y}, 1.3f), Capsule({x, y}, {x, y + sy * 12}, 1.3f)),
          Grey(0.95f));
    }
  }
  Lettering big = CaptionStyle();
  big.weight = 0.75f;
  big.outline = 2;
  DrawText(c, values[frame], 22, 14, w - 22, 64, big);
  Lettering small = CaptionStyle();
  small.weight = 0.6f;
  small.outline = 1;
  small.top = Grey(0.9f);
  small.bottom = Grey(0.65f);
  DrawText(c, "per hit", 40, 66, w - 40, 88, small);
}

void DrawTitleLogo(Canvas& c) {
  float w = static_cast<float>(c.width());
  Lettering s;
  s.weight = 0.85f;
  s.spacing = 1.75f;
  s.outline = 2.5f;
  s.max_stretch = 1.45f;
  s.rim = Grey(0.3f);
  float cap_top = 0, baseline = 0;
  Shape letters = TextShape("ZUMBRIX", 4, 3, w - 4, 86, s, &cap_top, &baseline);
  // A deep rim and a drop shadow give the letters body.
  c.Fill(Grow(letters, s.outline + 2), Grey(0.16f));
  c.Fill(Grow(letters, s.outline), s.rim);
  float height = baseline - cap_top;
  c.Fill(letters, [&](float, float y, float d) {
    float t = std::clamp((y - cap_top) / height, 0.0f, 1.0f);
    // Chrome: bright sky above a horizon line just over the middle, darker ground below it,
    // then brightening again towards the baseline.
    float v = t < 0.48f ? 1.0f - 0.25f * t : 0.55f + 0.4f * (t - 0.48f) / 0.52f;
    float edge = std::clamp(-d / 3.0f, 0.0f, 1.0f);
    // Scan lines in the lower half, the arcade cabinet's signature.
    bool scan = t > 0.55f && static_cast<int>(std::floor(y)) % 4 == 0;
    return Grey(v * (0.72f + 0.28f * edge) * (scan ? 0.82f : 1.0f));
  });
  // A streak under the name, tapering to points at both ends.
  float y = 97;
  Shape streak = Polygon({{12, y}, {w / 2, y - 4}, {w - 12, y}, {w / 2, y + 4}});
  c.Fill(Grow(streak, 1), Grey(0.25f));
  c.Fill(streak,
         [&](float x, float, float) { return Grey(1.0f - 0.5f * std::abs(x - w / 2) / (w / 2)); });
}

void DrawCaption(Canvas& c, int which) {
  Lettering s = CaptionStyle();
  switch (which) {
    case 0:
      s.weight = 0.62f;
      s.spacing = 2.1f;
      s.outline = 1;
      s.max_stretch = 1.5f;
      return FitText(c, "Left Click To Start", s);
    case 1:
      return FitText(c, "Get Ready!", s, 2);
    case 2:
      return FitText(c, "Bonus Round", s, 2);
    case 3: {
      float w = static_cast<float>(c.width());
      DrawText(c, "Wave Complete", 1, 1, w - 1, 29, s);
      Lettering sub = s;
      sub.weight = 0.6f;
      sub.outline = 1;
      sub.top = Grey(0.92f);
      sub.bottom = Grey(0.62f);
      DrawText(c, "Bonus: 2000 pts", 14, 31, w - 14, 51, sub);
      return;
    }
    case 4:
      return FitText(c, "Game Over", s, 2);
  }
}

void DrawHudLabel(Canvas& c, int frame) {
  const char* labels[] = {"Score", "Best", "Wave"};
  Lettering s;
  s.weight = 0.62f;
  s.spacing = 1.8f;
  s.outline = 1;
  s.max_stretch = 1.2f;
  s.centred = false;
  s.bottom = Grey(0.72f);
  DrawText(c, labels[frame], 0.5f, 1, c.width() - 0.5f, c.height() - 1, s);
}

void DrawDigit(Canvas& c, int digit) {
  Lettering s;
  s.weight = 0.62f;
  s.outline = 1;
  s.bottom = Grey(0.75f);
  s.max_stretch = 1.3f;
  DrawText(c, std::string(1, static_cast<char>('0' + digit)), 1, 0.5f, c.width() - 1,
           c.height() - 0.5f, s);
}
