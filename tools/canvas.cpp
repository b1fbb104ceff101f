// canvas.cpp - the floating-point picture and its signed-distance shapes.
#include "tools/canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

Rgb operator*(Rgb c, float k) { return {c.r * k, c.g * k, c.b * k}; }
Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb Mix(Rgb a, Rgb b, float t) { return a * (1 - t) + b * t; }
Rgb Grey(float v) { return {v, v, v}; }

Paint Shaded(Rgb centre, Rgb edge, float soft) {
  return
      [=](float, float, float d) { return Mix(edge, centre, std::clamp(-d / soft, 0.0f, 1.0f)); };
}

Shape Circle(float cx, float cy, float r) {
  return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}

Shape Ellipse(float cx, float cy, float rx, float ry) {
  // Scaling the unit-circle distance by the local stretch keeps the edge about one pixel soft
  // all round, which is all anti-aliasing needs.
  return [=](float x, float y) {
    float u = (x - cx) / rx, v = (y - cy) / ry;
    float len = std::hypot(u, v);
    if (len < 1e-6f) return -std::min(rx, ry);
    float gx = u / rx, gy = v / ry;  // gradient of len, up to the factor 1/len
    float grad = std::hypot(gx, gy) / len;
    return (len - 1) / std::max(grad, 1e-6f);
  };
}

Shape Capsule(Point a, Point b, float r) {
  return [=](float x, float y) {
    float dx = b.x - a.x, dy = b.y - a.y;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / len2, 0.0f, 1.0f) : 0;
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy)) - r;
  };
}

Shape Box(float x0, float y0, float x1, float y1, float corner) {
  float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  float hw = (x1 - x0) / 2 - corner, hh = (y1 - y0) / 2 - corner;
  return [=](float x, float y) {
    float qx = std::abs(x - cx) - hw, qy = std::abs(y - cy) - hh;
    float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - corner;
  };
}

Shape Polygon(std::vector<Point> p) {
  return [p = std::move(p)](float x, float y) {
    float best = 1e30f;
    bool inside = false;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
      Point a = p[j], b = p[i];
      float dx = b.x - a.x, dy = b.y - a.y;
      float len2 = dx * dx + dy * dy;
      float t = len2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / len2, 0.0f, 1.0f) : 0;
      best = std::min(best, std::hypot(x - (a.x + t * dx), y - (a.y + t * dy)));
      if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * dx / dy) inside = !inside;
    }
    return inside ? -best : best;
  };
}

Shape Union(Shape a, Shape b) {
  return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}
Shape Subtract(Shape a, Shape b) {
  return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}
Shape Intersect(Shape a, Shape b) {
  return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}
Shape Outline(Shape s, float half_width) {
  return [=](float x, float y) { return std::abs(s(x, y)) - half_width; };
}
Shape Grow(Shape s, float by) {
  return [=](float x, float y) { return s(x, y) - by; };
}

Shape Rotate(Shape s, float cx, float cy, float degrees) {
  float rad = degrees * std::numbers::pi_v<float> / 180;
  float c = std::cos(rad), sn = std::sin(rad);
  // Sampling the shape at the inversely turned point turns the shape itself.
  return [=](float x, float y) {
    float dx = x - cx, dy = y - cy;
    return s(cx + dx * c + dy * sn, cy - dx * sn + dy * c);
  };
}

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      clip_{0, 0, width, height},
      pixels_(static_cast<std::size_t>(width) * height),
      coverage_(static_cast<std::size_t>(width) * height) {}

void Canvas::Fill(const Shape& shape, Rgb colour, float opacity) {
  Fill(
      shape, [colour](float, float, float) { return colour; }, opacity);
}

void Canvas::Fill(const Shape& shape, const Paint& paint, float opacity) {
  for (int y = clip_.y0; y < clip_.y1; ++y) {
    for (int x = clip_.x0; x < clip_.x1; ++x) {
      float px = (x + 0.5f) / scale_, py = (y + 0.5f) / scale_;
      float d = shape(px, py);
      float a = std::clamp(0.5f - d * scale_, 0.0f, 1.0f) * opacity;
      if (a <= 0) continue;
      std::size_t i = static_cast<std::size_t>(y) * width_ + x;
      pixels_[i] = Mix(pixels_[i], paint(px, py, d), a);
      coverage_[i] = a + coverage_[i] * (1 - a);
    }
  }
}

void Canvas::Paste(const Canvas& source, int x, int y) {
  for (int sy = 0; sy < source.height_; ++sy) {
    for (int sx = 0; sx < source.width_; ++sx) {
      int tx = x + sx, ty = y + sy;
      if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
      std::size_t from = static_cast<std::size_t>(sy) * source.width_ + sx;
      std::size_t to = static_cast<std::size_t>(ty) * width_ + tx;
      pixels_[to] = source.pixels_[from];
      coverage_[to] = source.coverage_[from];
    }
  }
}

std::vector<std::uint8_t> Canvas::ToRgb8() const {
  std::vector<std::uint8_t> out(pixels_.size() * 3);
  auto channel = [](float v, bool drawn) {
    int q = static_cast<int>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
    return static_cast<std::uint8_t>(drawn ? std::max(q, 1) : q);
  };
  for (std::size_t i = 0; i < pixels_.size(); ++i) {
    bool drawn = coverage_[i] >= 0.5f;
    out[3 * i] = channel(pixels_[i].r, drawn);
    out[3 * i + 1] = channel(pixels_[i].g, drawn);
    out[3 * i + 2] = channel(pixels_[i].b, drawn);
  }
  return out;
}
