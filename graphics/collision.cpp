// collision.cpp - collision layers of recycled quads, and the queries over them.
#include "graphics/collision.h"

#include <deque>

#include "core/main_thread.h"
#include "graphics/collision_scan.h"
#include "graphics/transform.h"

namespace {

constexpr int kLayers = 32;
constexpr std::uint32_t kOverlapLayer = 0x80000000u;

TQuad* layers[kLayers] = {};
TQuad* freeList = nullptr;
std::deque<TQuad> quadStore;  // owns every quad ever made; they are recycled, never freed

TQuad* TakeQuad() {
  if (TQuad* q = freeList) {
    freeList = q->link;
    q->link = nullptr;
    return q;
  }
  return &quadStore.emplace_back();
}

// Places a w x h rectangle, offset from (x, y) by (tx, ty) before the transform, into `quad`.
void PlaceQuad(TQuad& quad, float x, float y, float w, float h, float tx, float ty) {
  const TTransformState& state = CurrentTransformState();
  const TCollisionTransform& m = CollisionTransform();
  const float px = x + state.origin_x;
  const float py = y + state.origin_y;
  float corners[8];
  const float local[8] = {tx, ty, w + tx, ty, w + tx, h + ty, tx, h + ty};
  for (int i = 0; i < 8; i += 2) {
    corners[i] = px + (local[i] * m.ix + local[i + 1] * m.iy);
    corners[i + 1] = py + (local[i] * m.jx + local[i + 1] * m.jy);
  }
  quad.SetCoords(corners[0], corners[1], corners[2], corners[3], corners[4], corners[5], corners[6],
                 corners[7]);
}

void MakeImageQuad(TQuad& quad, const Ref<TImage>& image, float x, float y, int frame) {
  PlaceQuad(quad, x, y, static_cast<float>(image->width), static_cast<float>(image->height),
            -image->handle_x, -image->handle_y);
  Ref<TPixmap> pixmap = image->Lock(frame, true, false);
  if (AlphaBits(pixmap->format)) quad.mask = pixmap;
  quad.frame = frame;
}

// Tests `query` against the layers of `collideMask`, then stores copies of it in the layers of
// `writeMask`. With `hits` null it only counts, and stops at the first hit.
int QueryQuad(const TQuad& query, std::uint32_t collideMask, std::uint32_t writeMask,
              std::vector<Ref<TObject>>* hits) {
  int count = 0;
  for (int n = 0; n < kLayers && (hits || count == 0); ++n) {
    if (!(collideMask & (1u << n))) continue;
    for (TQuad* q = layers[n]; q; q = q->link) {
      if (!QuadPairOverlaps(query, *q)) continue;
      ++count;
      if (!hits) break;
      if (hits->size() == hits->capacity()) {
        hits->reserve(static_cast<std::size_t>((static_cast<float>(hits->size()) + 4) * 1.2f));
      }
      hits->push_back(q->id);
    }
  }
  for (int n = 0; n < kLayers; ++n) {
    if (!(writeMask & (1u << n))) continue;
    TQuad* q = TakeQuad();
    q->id = query.id;
    q->mask = query.mask;
    q->frame = query.frame;
    std::copy(query.xyuv, query.xyuv + 16, q->xyuv);
    q->minx = query.minx, q->miny = query.miny, q->maxx = query.maxx, q->maxy = query.maxy;
    q->link = layers[n];
    layers[n] = q;
  }
  return count;
}

// The overlap tests keep their first image in layer 31 and test the second against it, counting
// hits rather than collecting them, so that they allocate nothing.
void KeepInOverlapLayer(const Ref<TImage>& image, float x, float y, int frame) {
  TQuad query;
  MakeImageQuad(query, image, x, y, frame);
  QueryQuad(query, 0, kOverlapLayer, nullptr);
}

bool HitsOverlapLayer(const Ref<TImage>& image, float x, float y, int frame) {
  TQuad query;
  MakeImageQuad(query, image, x, y, frame);
  return QueryQuad(query, kOverlapLayer, 0, nullptr) > 0;
}

// Puts back the rotation and scale that were current when it was made.
class TransformRestorer {
 public:
  TransformRestorer() : rotation_(QueryRotation()) { QueryScale(sx_, sy_); }
  ~TransformRestorer() { SetRotationAndScale(rotation_, sx_, sy_); }
  TransformRestorer(const TransformRestorer&) = delete;
  TransformRestorer& operator=(const TransformRestorer&) = delete;

 private:
  float rotation_;
  float sx_ = 1, sy_ = 1;
};

}  // namespace

void ClearCollisionLayers(std::uint32_t mask) {
  ZX_CHECK_MAIN_THREAD();
  for (int n = 0; n < kLayers; ++n) {
    if (mask != 0 && !(mask & (1u << n))) continue;
    TQuad* first = layers[n];
    if (!first) continue;
    TQuad* last = first;
    for (TQuad* q = first; q; q = q->link) {
      q->mask.reset();
      q->id.reset();
      last = q;
    }
    last->link = freeList;
    freeList = first;
    layers[n] = nullptr;
  }
}

std::vector<Ref<TObject>> TestImageCollision(const Ref<TImage>& image, float x, float y, int frame,
                                             std::uint32_t collideMask, std::uint32_t writeMask,
                                             const Ref<TObject>& id) {
  ZX_CHECK_MAIN_THREAD();
  std::vector<Ref<TObject>> hits;
  if (!image) return hits;
  TQuad query;
  query.id = id;
  MakeImageQuad(query, image, x, y, frame);
  QueryQuad(query, collideMask, writeMask, &hits);
  return hits;
}

std::vector<Ref<TObject>> TestRectCollision(float x, float y, float w, float h,
                                            std::uint32_t collideMask, std::uint32_t writeMask,
                                            const Ref<TObject>& id) {
  ZX_CHECK_MAIN_THREAD();
  std::vector<Ref<TObject>> hits;
  TQuad query;
  query.id = id;
  PlaceQuad(query, x, y, w, h, 0, 0);
  QueryQuad(query, collideMask, writeMask, &hits);
  return hits;
}

bool ImagesOverlap(const Ref<TImage>& image1, float x1, float y1, int frame1,
                   const Ref<TImage>& image2, float x2, float y2, int frame2) {
  ZX_CHECK_MAIN_THREAD();
  ClearCollisionLayers(kOverlapLayer);
  if (!image1 || !image2) return false;
  KeepInOverlapLayer(image1, x1, y1, frame1);
  return HitsOverlapLayer(image2, x2, y2, frame2);
}

bool ImagesOverlapTransformed(const Ref<TImage>& image1, float x1, float y1, int frame1, float rot1,
                              float sx1, float sy1, const Ref<TImage>& image2, float x2, float y2,
                              int frame2, float rot2, float sx2, float sy2) {
  ZX_CHECK_MAIN_THREAD();
  TransformRestorer restore;
  ClearCollisionLayers(kOverlapLayer);
  if (!image1 || !image2) return false;
  SetRotationAndScale(rot1, sx1, sy1);
  KeepInOverlapLayer(image1, x1, y1, frame1);
  SetRotationAndScale(rot2, sx2, sy2);
  return HitsOverlapLayer(image2, x2, y2, frame2);
}
