// canvas.h - a floating-point RGB picture and an anti-aliased shape painter for the asset art.
//
// Shapes are signed distance functions (negative inside, in pixels), so one description serves
// for a crisp anti-aliased fill, an outline, a glow or a bevel: a pixel's coverage is how far its
// centre lies inside the edge, clamped to one pixel. Needs nothing but the standard library.
//
//   Canvas c(64, 64);
//   c.Fill(Circle(32, 32, 20), Rgb{1, 1, 1});
//   c.Fill(Outline(Circle(32, 32, 20), 1.5f), Rgb{0.4f, 0.4f, 0.4f});
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct Rgb {
  float r = 0, g = 0, b = 0;
};
Rgb operator*(Rgb c, float k);
Rgb operator+(Rgb a, Rgb b);
Rgb Mix(Rgb a, Rgb b, float t);  // a at t = 0, b at t = 1
Rgb Grey(float v);

struct Point {
  float x = 0, y = 0;
};

// Signed distance in pixels from a point to the shape's edge; negative inside.
using Shape = std::function<float(float x, float y)>;
// The colour a shape paints at a point, given the point's signed distance to the shape's edge.
using Paint = std::function<Rgb(float x, float y, float distance)>;

// Brightest `soft` pixels and more inside the edge, falling off to `edge` at the edge.
Paint Shaded(Rgb centre, Rgb edge, float soft);

Shape Circle(float cx, float cy, float r);
Shape Ellipse(float cx, float cy, float rx, float ry);
Shape Capsule(Point a, Point b, float r);  // a thick line with round ends
Shape Box(float x0, float y0, float x1, float y1, float corner = 0);
Shape Polygon(std::vector<Point> points);  // any simple polygon, either winding
Shape Union(Shape a, Shape b);
Shape Subtract(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);
Shape Outline(Shape s, float half_width);  // a band of the given half width around the edge
Shape Grow(Shape s, float by);             // negative shrinks
// The shape turned by `degrees` about (cx, cy) (clockwise on screen, y pointing down).
Shape Rotate(Shape s, float cx, float cy, float degrees);

// Whole-pixel bounds of where a shape may paint; painting never leaves them.
struct Clip {
  int x0, y0, x1, y1;  // x1, y1 exclusive
};

class Canvas {
 public:
  Canvas(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb At(int x, int y) const { return pixels_[y * width_ + x]; }
  float CoverageAt(int x, int y) const { return coverage_[y * width_ + x]; }

  // Paints `shape` over what is there, with the given opacity, inside the clip only.
  void Fill(const Shape& shape, Rgb colour, float opacity = 1);
  void Fill(const Shape& shape, const Paint& paint, float opacity = 1);
  void SetClip(Clip clip) { clip_ = clip; }
  // Shapes drawn from now on are measured in units of 1/scale pixels, so art drawn for one size
  // paints crisply at any other (the icons draw the sprites this way).
  void SetScale(float scale) { scale_ = scale; }
  void ResetClip() { clip_ = {0, 0, width_, height_}; }

  // Copies `source` with its top-left corner at (x, y).
  void Paste(const Canvas& source, int x, int y);

  // 8-bit RGB rows. A pixel more than half covered by shapes keeps every channel at least 1, so
  // that a dark part of a sprite never reads as the transparent colour (pure black).
  std::vector<std::uint8_t> ToRgb8() const;

 private:
  int width_, height_;
  Clip clip_;
  float scale_ = 1;
  std::vector<Rgb> pixels_;
  std::vector<float> coverage_;  // how much of each pixel shapes have covered, 0 to 1
};
