// arcade_face.cpp - the letter strokes and the fitting of a text into a box.
#include "tools/arcade_face.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

// Polylines separated by ';', each a list of "x,y" grid points; y grows downwards, the
// capitals' top is 0 and the baseline 6. A single point is a dot.
const std::map<char, const char*>& Strokes() {
  static const std::map<char, const char*> strokes = {
      {'A', "0,6 0,2 2,0 4,2 4,6; 0,3.6 4,3.6"},
      {'B', "0,3 3,3 4,2 4,1 3,0 0,0 0,6 3,6 4,5 4,4 3,3"},
      {'C', "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5"},
      {'D', "0,0 0,6 3,6 4,5 4,1 3,0 0,0"},
      {'E', "4,0 0,0 0,6 4,6; 0,3 3,3"},
      {'F', "4,0 0,0 0,6; 0,3 3,3"},
      {'G', "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,3.4 2.2,3.4"},
      {'H', "0,0 0,6; 4,0 4,6; 0,3 4,3"},
      {'I', "0.5,0 3.5,0; 2,0 2,6; 0.5,6 3.5,6"},
      {'J', "4,0 4,5 3,6 1,6 0,5"},
      {'K', "0,0 0,6; 0,3.2 1.2,3.2 4,0; 1.2,3.2 4,6"},
      {'L', "0,0 0,6 4,6"},
      {'M', "0,6 0,0 2.5,2.8 5,0 5,6"},
      {'N', "0,6 0,0 4,6 4,0"},
      {'O', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0"},
      {'P', "0,6 0,0 3,0 4,1 4,2 3,3 0,3"},
      {'Q', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0; 2.6,4.6 4,6"},
      {'R', "0,6 0,0 3,0 4,1 4,2 3,3 0,3; 2.2,3 4,6"},
      {'S', "4,1 3,0 1,0 0,1 0,2 1,3 3,3 4,4 4,5 3,6 1,6 0,5"},
      {'T', "0,0 4,0; 2,0 2,6"},
      {'U', "0,0 0,5 1,6 3,6 4,5 4,0"},
      {'V', "0,0 0,3.4 2,6 4,3.4 4,0"},
      {'W', "0,0 0,6 2.5,3.6 5,6 5,0"},
      {'X', "0,0 4,6; 4,0 0,6"},
      {'Y', "0,0 2,3 4,0; 2,3 2,6"},
      {'Z', "0,0 4,0 0,6 4,6"},
      {'a', "0.6,2 3,2 4,3 4,6 1,6 0,5.2 0,4.8 0.8,4 4,4"},
      {'b', "0,0 0,6 3,6 4,5 4,3 3,2 0,2"},
      {'c', "4,2 1,2 0,3 0,5 1,6 4,6"},
      {'d', "4,0 4,6 1,6 0,5 0,3 1,2 4,2"},
      {'e', "0,4 4,4 4,3 3,2 1,2 0,3 0,5 1,6 4,6"},
      {'f', "3,0 2,0 1,1 1,6; 0,2.6 3,2.6"},
      {'g', "4,2 4,7 3,8 0.6,8; 4,6 1,6 0,5 0,3 1,2 4,2"},
      {'h', "0,0 0,6; 0,2 3,2 4,3 4,6"},
      {'i', "0,2 0,6; 0,0.3"},
      {'j', "2,2 2,7 1,8 0,8; 2,0.3"},
      {'k', "0,0 0,6; 0,4 1,4 3.5,2; 1,4 3.5,6"},
      {'l', "0,0 0,5.2 0.8,6"},
      {'m', "0,6 0,2 4.6,2 5.6,3 5.6,6; 2.8,2 2.8,6"},
      {'n', "0,6 0,2 3,2 4,3 4,6"},
      {'o', "1,2 3,2 4,3 4,5 3,6 1,6 0,5 0,3 1,2"},
      {'p', "0,8 0,2 3,2 4,3 4,5 3,6 0,6"},
      {'q', "4,8 4,2 1,2 0,3 0,5 1,6 4,6"},
      {'r', "0,6 0,2; 0,3 1,2 3,2"},
      {'s', "4,2 1,2 0,3 1,4 3,4 4,5 3,6 0,6"},
      {'t', "1,0 1,5 2,6 3,6; 0,2 3,2"},
      {'u', "0,2 0,5 1,6 4,6 4,2"},
      {'v', "0,2 2,6 4,2"},
      {'w', "0,2 1,6 2.5,3.6 4,6 5,2"},
      {'x', "0,2 4,6; 4,2 0,6"},
      {'y', "0,2 0,5 1,6 4,6; 4,2 4,7 3,8 0.6,8"},
      {'z', "0,2 4,2 0,6 4,6"},
      {'0', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0; 1.3,4.4 2.7,1.6"},
      {'1', "0.8,1.2 2,0 2,6; 0.6,6 3.4,6"},
      {'2', "0,1 1,0 3,0 4,1 4,2 0,6 4,6"},
      {'3', "0,1 1,0 3,0 4,1 4,2 3,3 1.6,3; 3,3 4,4 4,5 3,6 1,6 0,5"},
      {'4', "3,6 3,0 0,4 4,4"},
      {'5', "4,0 0,0 0,2.6 3,2.6 4,3.6 4,5 3,6 0,6"},
      {'6', "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,4 3,3 0,3"},
      {'7', "0,0 4,0 4,1 1.6,6"},
      {'8', "1,3 0,2 0,1 1,0 3,0 4,1 4,2 3,3 1,3 0,4 0,5 1,6 3,6 4,5 4,4 3,3"},
      {'9', "4,3 1,3 0,2 0,1 1,0 3,0 4,1 4,5 3,6 1,6 0,5"},
      {'!', "0,0 0,3.8; 0,6"},
      {':', "0,2.6; 0,6"},
      {'.', "0,6"},
      {',', "0.5,6 0,7"},
      {'-', "0,3 3,3"},
      {'+', "0,3 4,3; 2,1 2,5"},
  };
  return strokes;
}

constexpr float kSpaceWidth = 1.4f;  // units, besides the spacing on either side

struct Glyph {
  std::vector<std::vector<Point>> lines;
  float width = 0;
  bool descends = false;
};

Glyph ParseGlyph(char c) {
  Glyph g;
  if (c == ' ') {
    g.width = kSpaceWidth;
    return g;
  }
  auto it = Strokes().find(c);
  if (it == Strokes().end()) throw std::invalid_argument(std::string("no letter for '") + c + "'");
  std::stringstream all(it->second);
  std::string line;
  while (std::getline(all, line, ';')) {
    std::stringstream points(line);
    std::string pair;
    std::vector<Point> poly;
    while (points >> pair) {
      auto comma = pair.find(',');
      Point p{std::stof(pair.substr(0, comma)), std::stof(pair.substr(comma + 1))};
      g.width = std::max(g.width, p.x);
      g.descends = g.descends || p.y > 6;
      poly.push_back(p);
    }
    g.lines.push_back(poly);
  }
  return g;
}

}  // namespace

Shape TextShape(const std::string& text, float x0, float y0, float x1, float y1,
                const Lettering& style, float* cap_top, float* baseline) {
  std::vector<Glyph> glyphs;
  float units = 0;
  bool descends = false;
  for (char c : text) {
    glyphs.push_back(ParseGlyph(c));
    units += glyphs.back().width + (glyphs.size() > 1 ? style.spacing : 0);
    descends = descends || glyphs.back().descends;
  }
  float depth = descends ? 8.0f : 6.0f;
  // Solve for the grid unit that makes the strokes plus the rim fill the box's height or width.
  // Half a pixel more on each side keeps the anti-aliased fringe inside the box too.
  float margin = style.outline + 0.5f;
  float w = x1 - x0 - 2 * margin, h = y1 - y0 - 2 * margin;
  float unit_h = h / (depth + 2 * style.weight);
  float unit_w = w / (units + 2 * style.weight);
  float unit = std::min(unit_h, unit_w);
  float sx = std::clamp(unit_w / unit, 1.0f, style.max_stretch);
  float radius = style.weight * unit;
  float left = style.centred ? (x0 + x1) / 2 - (units * unit * sx) / 2 : x0 + margin + radius;
  float top = (y0 + y1) / 2 - (depth * unit) / 2;
  if (cap_top) *cap_top = top;
  if (baseline) *baseline = top + 6 * unit;

  std::vector<Shape> parts;
  float pen = 0;
  for (const Glyph& g : glyphs) {
    for (const auto& line : g.lines) {
      auto at = [&](Point p) { return Point{left + (pen + p.x) * unit * sx, top + p.y * unit}; };
      if (line.size() == 1) parts.push_back(Capsule(at(line[0]), at(line[0]), radius * 1.1f));
      for (std::size_t i = 1; i < line.size(); ++i) {
        parts.push_back(Capsule(at(line[i - 1]), at(line[i]), radius));
      }
    }
    pen += g.width + style.spacing;
  }
  return [parts = std::move(parts)](float x, float y) {
    float d = 1e30f;
    for (const Shape& s : parts) d = std::min(d, s(x, y));
    return d;
  };
}

void DrawText(Canvas& canvas, const std::string& text, float x0, float y0, float x1, float y1,
              const Lettering& style) {
  float cap_top = 0, baseline = 0;
  Shape shape = TextShape(text, x0, y0, x1, y1, style, &cap_top, &baseline);
  if (style.outline > 0) canvas.Fill(Grow(shape, style.outline), style.rim);
  float stroke = std::max(1.0f, (baseline - cap_top) / 6 * style.weight);
  canvas.Fill(shape, [&](float, float y, float d) {
    float t = std::clamp((y - cap_top) / std::max(1.0f, baseline - cap_top), 0.0f, 1.0f);
    Rgb face = Mix(style.top, style.bottom, t);
    // The middle of each stroke catches the light; its edges fall off towards the rim.
    float centre = std::clamp(-d / stroke, 0.0f, 1.0f);
    return Mix(face * 0.78f, face, std::sqrt(centre));
  });
}
