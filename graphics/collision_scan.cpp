// collision_scan.cpp - edge walking over polygons and the per-scanline opaque-pixel test.
#include "graphics/collision_scan.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/main_thread.h"

namespace {

std::vector<int> lineBuffer;

float Y(const rpoly& p, int index) { return p.data[index + 1]; }

// Walks from `from` in steps of `step` floats while the next vertex lies on or above scanline y.
// Returns false when the polygon has no edge left below y; otherwise sets the edge values and
// their per-scanline increment in `dat` and `add` and moves `from` to the vertex reached.
bool NextEdge(rpoly& p, int& from, int step, int y, float* dat, float* add) {
  int s = from;
  int e = from;
  do {
    s = e;
    e = (e + step + p.size) % p.size;
  } while (e != from && Int(Y(p, e)) <= y);
  const int lines = Int(Y(p, e)) - Int(Y(p, s));
  if (e == from || lines < 1) return false;
  for (int c = 0; c < p.channels; ++c) {
    add[c] = (p.data[e + c] - p.data[s + c]) / static_cast<float>(lines);
    dat[c] = p.data[s + c] + add[c] * 0.5f;
  }
  from = e;
  return true;
}

void Remove(rpoly** active, int& count, rpoly* p) {
  for (int i = 0; i < count; ++i) {
    if (active[i] == p) {
      std::copy(active + i + 1, active + count, active + i);
      --count;
      return;
    }
  }
}

// Marks one polygon's opaque pixels of the span [start, start + width) in the line buffer;
// -1 as soon as a pixel is marked already.
int MarkTextured(const rpoly& p, int start, int width, int* line) {
  const int left = Int(p.ldat[0]);
  const int right = Int(p.rdat[0]);
  const TPixmap& t = *p.texture;
  if (right - left < 1 || t.width <= 0 || t.height <= 0) return 0;
  const float steps = static_cast<float>(right - left);
  const float du = (p.rdat[2] - p.ldat[2]) / steps;
  const float dv = (p.rdat[3] - p.ldat[3]) / steps;
  const float skip = static_cast<float>(start - left) + 0.5f;
  float u = p.ldat[2] + du * skip;
  float v = p.ldat[3] + dv * skip;
  const int bytes = BytesPerPixel(t.format);
  const int alpha = bytes - 1;  // the alpha byte is the last of a texel in every mask format
  const int lastColumn = t.width - 1;
  const int lastRow = t.height - 1;
  for (int i = 0; i < width; ++i, u += du, v += dv) {
    // Clamped coordinates (NaN to 0) keep the products inside 0 .. size, so a plain cast
    // truncates safely.
    const float cu = u > 0 ? (u < 1 ? u : 1) : 0;
    const float cv = v > 0 ? (v < 1 ? v : 1) : 0;
    const int column = std::min(static_cast<int>(cu * static_cast<float>(t.width)), lastColumn);
    const int row = std::min(static_cast<int>(cv * static_cast<float>(t.height)), lastRow);
    const unsigned char a =
        t.pixels[std::ptrdiff_t{row} * t.pitch + std::ptrdiff_t{column} * bytes + alpha];
    if (a < 128) continue;
    if (line[i]) return -1;
    line[i] = a;
  }
  return 0;
}

}  // namespace

int Int(float v) {
  constexpr float kLimit = 1 << 30;
  if (v != v) return 0;
  if (v >= kLimit) return 1 << 30;
  if (v <= -kLimit) return -(1 << 30);
  return static_cast<int>(v);
}

void TQuad::SetCoords(float x0, float y0, float x1, float y1, float x2, float y2, float x3,
                      float y3) {
  const float corners[16] = {x0, y0, 0, 0, x1, y1, 1, 0, x2, y2, 1, 1, x3, y3, 0, 1};
  std::memcpy(xyuv, corners, sizeof corners);
  minx = std::min({x0, x1, x2, x3});
  maxx = std::max({x0, x1, x2, x3});
  miny = std::min({y0, y1, y2, y3});
  maxy = std::max({y0, y1, y2, y3});
}

void NormalisePolygonOrientation(float* data, int count, int channels) {
  auto x = [&](int i) { return data[i * channels]; };
  auto y = [&](int i) { return data[i * channels + 1]; };
  int turns = 2;
  for (int i = 2; i < count; ++i) {
    const float cross =
        (x(i) - x(i - 1)) * (y(i - 1) - y(0)) - (x(i - 1) - x(0)) * (y(i) - y(i - 1));
    if (Int(cross) >= 0) ++turns;
  }
  if (turns < count) return;
  for (int a = 0, b = count - 1; a < b; ++a, --b) {
    std::swap_ranges(data + a * channels, data + (a + 1) * channels, data + b * channels);
  }
}

void rpoly::Init(const float* values, int floats, int channelCount, const TPixmap* mask) {
  texture = mask && AlphaBits(mask->format) ? mask : nullptr;  // no alpha: solid
  channels = std::clamp(channelCount, 2, kMaxChannels);
  count = std::min(floats, kMaxFloats) / channels;
  size = count * channels;
  std::copy(values, values + size, data);
  NormalisePolygonOrientation(data, count, channels);
  top = Int(Y(*this, 0));
  Left = 0;
  for (int i = channels; i < size; i += channels) {
    if (Int(Y(*this, i)) < top) top = Int(Y(*this, i)), Left = i;
  }
  Right = Left;
  state = count < 3 ? ScanState::kFinished
                    : ScanState::kWaiting;  // fewer than three corners cover no pixel
}

int ScanPolygons(rpoly* polys, int n, SpanCallback callback, int minActive) {
  ZX_CHECK_MAIN_THREAD();
  constexpr int kMaxPolygons = 4;
  n = std::min(n, kMaxPolygons);
  if (n <= 0) return 0;
  int globalTop = polys[0].top;
  int globalBottom = globalTop;
  for (int i = 0; i < n; ++i) {
    for (int v = 0; v < polys[i].size; v += polys[i].channels) {
      globalTop = std::min(globalTop, Int(Y(polys[i], v)));
      globalBottom = std::max(globalBottom, Int(Y(polys[i], v)));
    }
  }
  rpoly* active[kMaxPolygons];
  int activeCount = 0;
  int unfinished = 0;
  for (int i = 0; i < n; ++i) unfinished += polys[i].state != ScanState::kFinished;
  int result = 0;
  for (int y = globalTop; y < globalBottom && unfinished >= minActive; ++y) {
    for (int i = 0; i < n; ++i) {
      rpoly& p = polys[i];
      if (p.state == ScanState::kFinished || (p.state == ScanState::kWaiting && y < p.top))
        continue;
      bool finished = false;
      if (y >= Int(Y(p, p.Left))) finished = !NextEdge(p, p.Left, -p.channels, y, p.ldat, p.ladd);
      if (!finished && y >= Int(Y(p, p.Right))) {
        finished = !NextEdge(p, p.Right, p.channels, y, p.rdat, p.radd);
      }
      if (finished) {
        if (p.state == ScanState::kActive) Remove(active, activeCount, &p);
        p.state = ScanState::kFinished;
        --unfinished;
      } else if (p.state == ScanState::kWaiting) {
        active[activeCount++] = &p;
        p.state = ScanState::kActive;
      }
    }
    if (activeCount != 0) {
      result = callback(active, activeCount, y);
      if (result < 0) return result;
    }
    for (int i = 0; i < activeCount; ++i) {
      rpoly& p = *active[i];
      for (int c = 0; c < p.channels; ++c) p.ldat[c] += p.ladd[c], p.rdat[c] += p.radd[c];
    }
  }
  return result;
}

int SpanOverlapTest(rpoly* const* active, int count, int /*y*/) {
  if (count < 2) return 0;
  int start = Int(active[0]->ldat[0]);
  int end = Int(active[0]->rdat[0]);
  const int x0 = Int(active[1]->ldat[0]);
  const int x1 = Int(active[1]->rdat[0]);
  if (x0 >= end || x1 <= start) return 0;
  start = std::max(start, x0);
  end = std::min(end, x1);
  const int width = end - start;
  if (width <= 0) return 0;
  if (lineBuffer.size() < static_cast<std::size_t>(width))
    lineBuffer.resize(static_cast<std::size_t>(width));
  int* line = lineBuffer.data();
  std::fill(line, line + width, 0);
  for (int k = 0; k < count; ++k) {
    const rpoly& p = *active[k];
    if (!p.texture) {
      for (int i = 0; i < width; ++i) {
        if (line[i]) return -1;
        line[i] = -1;
      }
    } else if (MarkTextured(p, start, width, line) < 0) {
      return -1;
    }
  }
  return 0;
}

bool QuadPairOverlaps(const TQuad& p, const TQuad& q) {
  if (!(p.maxx >= q.minx && p.maxy >= q.miny && p.minx <= q.maxx && p.miny <= q.maxy)) return false;
  for (const TQuad* quad : {&p, &q}) {
    const float limit = kMaxCollisionCoordinate;
    if (!(quad->minx >= -limit && quad->maxx <= limit && quad->miny >= -limit &&
          quad->maxy <= limit)) {
      return false;
    }
  }
  rpoly polys[2];
  polys[0].Init(p.xyuv, 16, 4, p.mask.get());
  polys[1].Init(q.xyuv, 16, 4, q.mask.get());
  return ScanPolygons(polys, 2, SpanOverlapTest, 2) < 0;
}
