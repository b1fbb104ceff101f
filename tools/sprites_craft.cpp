// sprites_craft.cpp - the star, the ship, the bee, the laser and the bee's bullet.
#include <algorithm>
#include <cmath>

#include "tools/sprites.h"

namespace {

// Lit from the upper left: lighter on the left of `mid_x`, darker to the right.
Paint SideLit(Rgb colour, float mid_x, float half_width) {
  return [=](float x, float, float d) {
    float t = std::clamp((x - mid_x) / half_width, -1.0f, 1.0f);
    float rim = std::clamp(-d / 1.5f, 0.0f, 1.0f);
    return colour * ((0.86f - 0.16f * t) * (0.75f + 0.25f * rim));
  };
}

Shape Mirrored(const std::vector<Point>& left, float axis) {
  std::vector<Point> right;
  for (Point p : left) right.push_back({2 * axis - p.x, p.y});
  return Union(Polygon(left), Polygon(right));
}

}  // namespace

void DrawStar(Canvas& c) {
  c.Fill(Circle(8, 8, 7.4f), [](float x, float y, float) {
    float r = std::hypot(x - 8, y - 8);
    return Grey(0.45f * std::exp(-r * 0.45f));
  });
  Shape cross = Union(Capsule({8, 1.5f}, {8, 14.5f}, 0.55f), Capsule({1.5f, 8}, {14.5f, 8}, 0.55f));
  c.Fill(cross, Grey(0.62f));
  c.Fill(Circle(8, 8, 3.1f), Shaded(Grey(1), Grey(0.8f), 1.8f));
}

void DrawShip(Canvas& c, int frame) {
  const float mid = 18;
  // The exhaust flickers between four lengths, drawn first so the nozzle sits over it.
  const float flame[] = {8, 12, 6.5f, 10.5f};
  float len = flame[frame % 4];
  c.Fill(Ellipse(mid, 46 + len * 0.35f, 5.5f, 3 + len * 0.45f), [&](float x, float y, float) {
    float r = std::hypot((x - mid) / 5.5f, (y - 46 - len * 0.35f) / (3 + len * 0.45f));
    return Grey(0.55f * (1 - r) + 0.05f);
  });
  c.Fill(Polygon({{13.8f, 44}, {mid, 44 + len}, {22.2f, 44}}), [&](float, float y, float) {
    return Grey(1.0f - 0.45f * std::clamp((y - 44) / len, 0.0f, 1.0f));
  });
  c.Fill(Polygon({{16, 45}, {mid, 45 + len * 0.65f}, {20, 45}}), Grey(1));

  // Swept wings with a cannon at each tip.
  Shape wings = Mirrored({{14, 20}, {2.5f, 36}, {2.5f, 44}, {14, 40}}, mid);
  c.Fill(Grow(wings, 0.8f), Grey(0.32f));
  c.Fill(wings, SideLit(Grey(0.95f), mid, 16));
  c.Fill(Union(Capsule({3.5f, 29}, {3.5f, 42}, 1.4f), Capsule({32.5f, 29}, {32.5f, 42}, 1.4f)),
         Shaded(Grey(1), Grey(0.6f), 1.2f));
  // Panel lines on the wings.
  c.Fill(Union(Capsule({12, 27}, {6, 37}, 0.4f), Capsule({24, 27}, {30, 37}, 0.4f)), Grey(0.5f));

  Shape hull = Polygon(
      {{mid, 1.5f}, {22.5f, 13}, {23.5f, 31}, {21.5f, 44}, {14.5f, 44}, {12.5f, 31}, {13.5f, 13}});
  c.Fill(Grow(hull, 0.8f), Grey(0.3f));
  c.Fill(hull, SideLit(Grey(1), mid, 6));
  c.Fill(Capsule({mid, 24}, {mid, 40}, 0.45f), Grey(0.55f));
  // Nozzle and cockpit.
  c.Fill(Box(15, 42, 21, 46.5f, 1), Shaded(Grey(0.75f), Grey(0.45f), 1.5f));
  c.Fill(Grow(Ellipse(mid, 16, 2.6f, 5.5f), 0.7f), Grey(0.3f));
  c.Fill(Ellipse(mid, 16, 2.6f, 5.5f), [](float x, float y, float) {
    float glint = std::exp(-((x - 17) * (x - 17) + (y - 13.5f) * (y - 13.5f)) * 0.6f);
    return Mix(Rgb{0.55f, 0.75f, 0.95f}, Grey(1), glint);
  });
}

void DrawBee(Canvas& c, int frame) {
  const float mid = 30.5f;
  // Three wing beats seen from above: swept forward, level, swept back.
  const float sweep[] = {-24, 0, 24};
  float a = sweep[frame % 3];
  Rgb wing_face{0.86f, 0.9f, 0.95f};
  for (int side = -1; side <= 1; side += 2) {
    float root_x = mid + side * 5.0f, root_y = 17;
    Shape upper = Rotate(Ellipse(root_x + side * 13.5f, root_y, 13.5f, 5.8f), root_x, root_y,
                         side * a - side * 8);
    Shape lower = Rotate(Ellipse(root_x + side * 10, root_y + 5, 10, 4.2f), root_x, root_y + 3,
                         side * a * 0.7f + side * 18);
    Shape wing = Union(upper, lower);
    c.Fill(Grow(wing, 0.7f), Grey(0.4f), 0.9f);
    c.Fill(wing, Shaded(wing_face, wing_face * 0.7f, 3), 0.8f);
    c.Fill(Rotate(Capsule({root_x, root_y}, {root_x + side * 22, root_y}, 0.35f), root_x, root_y,
                  side * a - side * 8),
           Grey(0.55f));
  }
  // Antennae with knobs.
  for (int side = -1; side <= 1; side += 2) {
    c.Fill(Capsule({mid + side * 2, 6}, {mid + side * 7, 1.8f}, 0.55f), Grey(0.6f));
    c.Fill(Circle(mid + side * 7.2f, 1.8f, 1.2f), Grey(0.95f));
  }
  // Abdomen with dark bands, then thorax and head on top.
  Shape abdomen = Ellipse(mid, 30, 8, 10.5f);
  c.Fill(Grow(abdomen, 0.8f), Grey(0.28f));
  Rgb body{1.0f, 0.96f, 0.82f};
  c.Fill(abdomen, SideLit(body, mid, 8));
  for (float y : {26.0f, 31.5f, 37.0f}) {
    c.Fill(Intersect(abdomen, Box(0, y, 61, y + 2.6f)), Grey(0.3f));
  }
  c.Fill(Polygon({{mid - 2, 39.5f}, {mid, 42.5f}, {mid + 2, 39.5f}}), Grey(0.7f));
  Shape thorax = Ellipse(mid, 17.5f, 6.2f, 5);
  c.Fill(Grow(thorax, 0.8f), Grey(0.28f));
  c.Fill(thorax, SideLit(body, mid, 6));
  Shape head = Circle(mid, 8.5f, 5.2f);
  c.Fill(Grow(head, 0.8f), Grey(0.28f));
  c.Fill(head, SideLit(Grey(1), mid, 5));
  for (int side = -1; side <= 1; side += 2) {
    c.Fill(Ellipse(mid + side * 2.8f, 7.5f, 1.7f, 2.4f), Grey(0.2f));
    c.Fill(Circle(mid + side * 2.4f, 6.6f, 0.6f), Grey(1));
  }
}

void DrawLaser(Canvas& c) {
  c.Fill(Capsule({3.5f, 3}, {3.5f, 23}, 3.2f), [](float, float y, float d) {
    float core = std::clamp(-d / 2.4f, 0.0f, 1.0f);
    float tail = 0.75f + 0.25f * std::clamp((23 - y) / 20, 0.0f, 1.0f);
    return Grey((0.35f + 0.65f * core) * tail);
  });
  c.Fill(Capsule({3.5f, 3}, {3.5f, 23}, 1.1f), Grey(1));
}

void DrawBeeShot(Canvas& c) {
  // A four-pointed spark: its points show the spin the game gives it.
  Shape spark = Union(Polygon({{5, 0.4f}, {6.2f, 5}, {5, 9.6f}, {3.8f, 5}}),
                      Polygon({{0.4f, 5}, {5, 3.8f}, {9.6f, 5}, {5, 6.2f}}));
  c.Fill(spark, Shaded(Grey(1), Grey(0.55f), 1.2f));
  c.Fill(Circle(5, 5, 2.3f), Shaded(Grey(1), Grey(0.75f), 1.2f));
}
