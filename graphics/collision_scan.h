// collision_scan.h - the geometry under the collision test: placed quads, and the scan conversion
// that walks two polygons scanline by scanline and compares their opaque pixels span by span.
//
// A quad's corners carry texture coordinates (0,0), (1,0), (1,1), (0,1); its mask is the image's
// pixmap, or null for a solid quad. A texel is opaque when its alpha byte is 128 or more: masks
// in FORMAT_RGBA8888 and FORMAT_BGRA8888 are read 4 bytes a texel, masks in FORMAT_A8 one byte a
// texel. A coordinate of exactly 1 reads the last column or row (not one past it).
//
// Nothing here allocates in steady state: polygons live on the caller's stack and the span line
// buffer grows to the widest span seen and stays. Main thread only (the line buffer is shared).
#pragma once

#include "core/object.h"
#include "graphics/pixmap.h"

struct TQuad {
  TQuad* link = nullptr;  // next quad in a layer, or in the free list
  Ref<TObject> id;        // returned on a hit
  Ref<TPixmap> mask;      // null: solid
  int frame = 0;
  float minx = 0, miny = 0, maxx = 0, maxy = 0;
  float xyuv[16] = {};  // four corners, each x, y, u, v

  void SetCoords(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3);
};

// Where a polygon is in a scan: above the current scanline, crossing it, or past its bottom.
enum class ScanState { kWaiting, kActive, kFinished };

// Scan-conversion state of one polygon of up to four corners with up to four values each.
struct rpoly {
  static constexpr int kMaxFloats = 16;
  static constexpr int kMaxChannels = 4;

  const TPixmap* texture = nullptr;
  float data[kMaxFloats] = {};
  int channels = 0;
  int count = 0;
  int size = 0;
  float ldat[kMaxChannels] = {}, ladd[kMaxChannels] = {};
  float rdat[kMaxChannels] = {}, radd[kMaxChannels] = {};
  int Left = 0, Right = 0;  // index in `data` of the vertex each edge runs towards
  int top = 0;
  ScanState state = ScanState::kWaiting;

  // Copies `floats` values (at most kMaxFloats, `channels` per vertex: x, y, u, v) and normalises
  // the vertex order.
  void Init(const float* values, int floats, int channelCount, const TPixmap* mask);
};

// Float to int, truncating toward zero; out-of-range values are held at +-2^30 and NaN is 0, so
// that a wild coordinate cannot overflow.
int Int(float v);

// Reverses the vertex order when the polygon winds the other way round from an unmirrored quad
// on a y-down screen, so that the left edge walks backwards and the right edge forwards.
void NormalisePolygonOrientation(float* data, int count, int channels);

// Called on each scanline with the polygons active on it; a negative result ends the scan.
using SpanCallback = int (*)(rpoly* const* active, int count, int y);

// Scan-converts `polys` (at most 4) from the highest top to the lowest bottom and returns the
// callback's last result, or the first negative one. The scan stops early once fewer than
// `minActive` polygons are left unfinished (a test of pairs has nothing to find after that).
int ScanPolygons(rpoly* polys, int n, SpanCallback callback, int minActive = 1);

// The span callback of the collision test: -1 when, in the columns shared by the first two
// active spans, some pixel is opaque in both polygons; 0 otherwise.
int SpanOverlapTest(rpoly* const* active, int count, int y);

// True when the two quads share an opaque pixel. Quads reaching beyond +-kMaxCollisionCoordinate
// (or not finite) collide with nothing: scanning them would take unbounded time.
inline constexpr float kMaxCollisionCoordinate = 1 << 20;
bool QuadPairOverlaps(const TQuad& p, const TQuad& q);
