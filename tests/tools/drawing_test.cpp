// The generator's painter and lettering: coverage, clipping, the transparent-colour rule and
// the fitting of text into a box.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "tools/arcade_face.h"
#include "tools/canvas.h"

namespace {

float TotalCoverage(const Canvas& c) {
  float sum = 0;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) sum += c.CoverageAt(x, y);
  return sum;
}

TEST(Canvas, ShapesCoverTheirAreaWithSoftEdgesInEitherWinding) {
  Canvas disc(64, 64);
  disc.Fill(Circle(32, 32, 20), Grey(1));
  EXPECT_NEAR(TotalCoverage(disc), std::numbers::pi * 400, 4);
  EXPECT_FLOAT_EQ(disc.At(32, 32).r, 1);
  EXPECT_EQ(disc.CoverageAt(5, 32), 0);
  float edge = disc.CoverageAt(51, 32);  // the pixel the rim crosses
  EXPECT_GT(edge, 0);
  EXPECT_LT(edge, 1);

  Canvas forward(40, 40), backward(40, 40);
  forward.Fill(Polygon({{5, 5}, {35, 8}, {20, 34}}), Grey(1));
  backward.Fill(Polygon({{20, 34}, {35, 8}, {5, 5}}), Grey(1));
  EXPECT_NEAR(TotalCoverage(forward), (30 * 29 - 15 * 3) / 2.0, 2);
  EXPECT_FLOAT_EQ(TotalCoverage(forward), TotalCoverage(backward));
}

TEST(Canvas, EllipsesRotationsAndCutOutsLandWhereTheySay) {
  Canvas oval(80, 40);
  oval.Fill(Ellipse(40, 20, 30, 12), Grey(1));
  EXPECT_NEAR(TotalCoverage(oval), std::numbers::pi * 30 * 12, 8);

  // A bar lying along x, turned 90 degrees about its middle, stands along y.
  Canvas turned(40, 40);
  turned.Fill(Rotate(Capsule({5, 20}, {35, 20}, 2), 20, 20, 90), Grey(1));
  EXPECT_EQ(turned.CoverageAt(6, 20), 0);
  EXPECT_EQ(turned.CoverageAt(20, 6), 1);
  // Clockwise on screen: a point right of the centre goes below it.
  Canvas dot(40, 40);
  dot.Fill(Rotate(Circle(30, 20, 2), 20, 20, 90), Grey(1));
  EXPECT_EQ(dot.CoverageAt(20, 30), 1);

  Canvas ring(40, 40);
  ring.Fill(Subtract(Circle(20, 20, 15), Circle(20, 20, 10)), Grey(1));
  EXPECT_EQ(ring.CoverageAt(20, 20), 0);
  EXPECT_EQ(ring.CoverageAt(20, 7), 1);
  EXPECT_NEAR(TotalCoverage(ring), std::numbers::pi * (225 - 100), 4);
}

TEST(Canvas, PaintingStaysInsideTheClip) {
  Canvas c(30, 30);
  c.SetClip({10, 10, 20, 20});
  c.Fill(Box(0, 0, 30, 30), Grey(1));
  EXPECT_FLOAT_EQ(TotalCoverage(c), 100);
  EXPECT_EQ(c.CoverageAt(9, 15), 0);
  EXPECT_EQ(c.CoverageAt(15, 20), 0);
}

TEST(Canvas, CoveredDarkPixelsNeverBecomeTheTransparentBlack) {
  Canvas c(8, 1);
  c.Fill(Box(0, 0, 4, 1), Grey(0.0005f));  // rounds to 0, but it is part of a shape
  auto rgb = c.ToRgb8();
  for (int x = 0; x < 4; ++x) {
    EXPECT_GE(rgb[3 * x], 1);
    EXPECT_GE(rgb[3 * x + 1], 1);
    EXPECT_GE(rgb[3 * x + 2], 1);
  }
  for (int x = 4; x < 8; ++x) EXPECT_EQ(rgb[3 * x] | rgb[3 * x + 1] | rgb[3 * x + 2], 0);
}

// Captions must fill their frame without being cut off by it, whatever their length and case.
TEST(Lettering, TextFitsInsideItsBoxAndFillsOneSideOfIt) {
  struct Case {
    std::string text;
    int w, h;
  } cases[] = {{"Left Click To Start", 404, 18},
               {"Get Ready!", 160, 47},
               {"3200", 35, 10},
               {"Wave", 84, 21},
               {"gjpqy", 60, 30},
               {"MW", 20, 40}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    Canvas c(k.w + 20, k.h + 20);
    Lettering style;
    style.outline = 1.5f;
    style.max_stretch = 1.3f;
    DrawText(c, k.text, 10, 10, 10.0f + k.w, 10.0f + k.h, style);
    int x0 = c.width(), x1 = -1, y0 = c.height(), y1 = -1;
    for (int y = 0; y < c.height(); ++y) {
      for (int x = 0; x < c.width(); ++x) {
        if (c.CoverageAt(x, y) < 0.05f) continue;
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
      }
    }
    EXPECT_GE(x0, 10);
    EXPECT_GE(y0, 10);
    EXPECT_LT(x1, 10 + k.w);
    EXPECT_LT(y1, 10 + k.h);
    bool fills_width = x1 - x0 + 1 >= k.w * 0.85, fills_height = y1 - y0 + 1 >= k.h * 0.85;
    EXPECT_TRUE(fills_width || fills_height) << x0 << "," << y0 << " to " << x1 << "," << y1;
  }
}

TEST(Lettering, RefusesCharactersItHasNoLetterFor) {
  EXPECT_THROW(TextShape("Zumbrix~", 0, 0, 100, 20, Lettering{}), std::invalid_argument);
}

}  // namespace
