#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "core/error.h"
#include "graphics/collision.h"
#include "graphics/collision_scan.h"
#include "graphics/transform.h"

namespace {

// An RGBA image whose alpha at (x, y) is alpha(x, y).
Ref<TImage> Shape(int w, int h, const std::function<int(int, int)>& alpha,
                  int format = FORMAT_RGBA8888) {
  Ref<TImage> image = TImage::Create(w, h, 1, 0, 0, 0, 0);
  Ref<TPixmap> p = TPixmap::Create(w, h, format, 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      p->WritePixel(x, y, static_cast<std::uint32_t>(alpha(x, y)) << 24 | 0xFFFFFF);
  }
  image->SetPixmap(0, p);
  return image;
}

Ref<TImage> Solid(int w, int h) {
  return Shape(w, h, [](int, int) { return 255; });
}

class CollisionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCurrentTransformState(nullptr);
    SetRotationAndScale(0, 1, 1);
    SetOrigin(0, 0);
    ClearCollisionLayers(0);
  }
  void TearDown() override { SetUp(); }
};

TEST_F(CollisionTest, OpaqueSquaresOverlapUntilTheirSpansOnlyTouch) {
  Ref<TImage> a = Solid(10, 10);
  Ref<TImage> b = Solid(10, 10);
  EXPECT_TRUE(ImagesOverlap(a, 20, 20, 0, b, 20, 20, 0));
  EXPECT_TRUE(ImagesOverlap(a, 20, 20, 0, b, 29, 20, 0));
  EXPECT_FALSE(ImagesOverlap(a, 20, 20, 0, b, 30, 20, 0));
  EXPECT_TRUE(ImagesOverlap(a, 20, 20, 0, b, 20, 29, 0));
  EXPECT_FALSE(ImagesOverlap(a, 20, 20, 0, b, 20, 30, 0));
  EXPECT_TRUE(ImagesOverlap(a, 20, 20, 0, b, 11, 11, 0));
  EXPECT_FALSE(ImagesOverlap(a, 20, 20, 0, b, 10, 10, 0));

  // The handle is the point placed at the drawing position.
  b->handle_x = 5;
  b->handle_y = 5;
  EXPECT_TRUE(ImagesOverlap(a, 20, 20, 0, b, 34, 25, 0));
  EXPECT_FALSE(ImagesOverlap(a, 20, 20, 0, b, 35, 25, 0));
}

TEST_F(CollisionTest, OnlyPixelsOpaqueInBothImagesCount) {
  Ref<TImage> clear = Shape(10, 10, [](int, int) { return 127; });
  Ref<TImage> solid = Solid(10, 10);
  EXPECT_FALSE(ImagesOverlap(clear, 0, 0, 0, solid, 0, 0, 0));
  EXPECT_FALSE(ImagesOverlap(solid, 0, 0, 0, clear, 0, 0, 0));
  EXPECT_FALSE(ImagesOverlap(clear, 0, 0, 0, clear, 0, 0, 0));
  EXPECT_TRUE(TestRectCollision(0, 0, 10, 10, 0, 1, nullptr).empty());
  EXPECT_TRUE(TestImageCollision(clear, 0, 0, 0, 1, 0, nullptr).empty());

  // Two combs: a's opaque columns are even, b's odd. Side by side they interleave and never meet;
  // shifted by one pixel every column meets.
  Ref<TImage> even = Shape(10, 4, [](int x, int) { return x % 2 ? 0 : 255; });
  Ref<TImage> odd = Shape(10, 4, [](int x, int) { return x % 2 ? 255 : 0; });
  EXPECT_FALSE(ImagesOverlap(even, 0, 0, 0, odd, 0, 0, 0));
  EXPECT_TRUE(ImagesOverlap(even, 0, 0, 0, odd, 1, 0, 0));
  EXPECT_TRUE(ImagesOverlap(even, 0, 0, 0, even, 0, 3, 0));

  // A pixmap without alpha is opaque everywhere.
  Ref<TImage> rgb = TImage::Create(10, 10, 1, 0, 0, 0, 0);
  rgb->SetPixmap(0, TPixmap::Create(10, 10, FORMAT_RGB888, 4));
  EXPECT_TRUE(ImagesOverlap(rgb, 0, 0, 0, odd, 8, 8, 0));
}

TEST_F(CollisionTest, RotatedImageHitsOnlyWhereItsTurnedPixelsAre) {
  // A horizontal bar through the middle of a 20 x 20 image, turned 45 degrees about its centre.
  Ref<TImage> bar = Shape(20, 20, [](int, int y) { return y == 9 || y == 10 ? 255 : 0; });
  bar->handle_x = bar->handle_y = 10;
  Ref<TImage> dot = Solid(2, 2);
  dot->handle_x = dot->handle_y = 1;

  SetRotationAndScale(10, 2, 3);
  auto test = [&](float x, float y) {
    return ImagesOverlapTransformed(bar, 50, 50, 0, 45, 1, 1, dot, x, y, 0, 0, 1, 1);
  };
  EXPECT_TRUE(test(55, 55)) << "on the diagonal";
  EXPECT_TRUE(test(44, 44));
  EXPECT_FALSE(test(57, 50)) << "on the unturned bar only";
  EXPECT_FALSE(test(55, 45)) << "inside the turned box, off the bar";
  EXPECT_EQ(QueryRotation(), 10);
  float sx, sy;
  QueryScale(sx, sy);
  EXPECT_EQ(sx, 2);
  EXPECT_EQ(sy, 3);
  EXPECT_EQ(CollisionTransform().jy, CurrentTransformState().tform_jy) << "the matrix is rebuilt";

  SetRotationAndScale(0, 1, 1);
  EXPECT_TRUE(ImagesOverlap(bar, 50, 50, 0, dot, 57, 50, 0));
  EXPECT_THROW(ImagesOverlapTransformed(bar, 50, 50, 3, 45, 1, 1, dot, 50, 50, 0, 0, 1, 1),
               TRuntimeError);
  EXPECT_EQ(QueryRotation(), 0) << "restored even when the test fails";
}

TEST_F(CollisionTest, MirroredImageCollidesLikeItsMirroredTwin) {
  // An L shape; its twin is drawn mirrored in its pixels instead of by the transform.
  auto shape = [](int x, int y) { return x < 3 || y > 6 ? 255 : 0; };
  Ref<TImage> image = Shape(10, 10, shape);
  Ref<TImage> twin = Shape(10, 10, [&](int x, int y) { return shape(9 - x, y); });
  Ref<TImage> dot = Solid(1, 1);
  int hits = 0;
  for (int y = 46; y < 64; ++y) {
    for (int x = 36; x < 54; ++x) {
      bool mirrored = ImagesOverlapTransformed(image, 50, 50, 0, 0, -1, 1, dot, x, y, 0, 0, 1, 1);
      bool plain = ImagesOverlapTransformed(twin, 40, 50, 0, 0, 1, 1, dot, x, y, 0, 0, 1, 1);
      ASSERT_EQ(mirrored, plain) << "at " << x << ", " << y;
      hits += plain;
    }
  }
  EXPECT_EQ(hits, 3 * 10 + 3 * 7);
}

TEST_F(CollisionTest, LayersKeepQuadsUntilCleared) {
  Ref<TObject> a = New<TObject>(), b = New<TObject>(), c = New<TObject>(), d = New<TObject>();
  TestRectCollision(0, 0, 10, 10, 0, 1, a);
  TestRectCollision(5, 5, 10, 10, 0, 2, b);
  TestRectCollision(2, 2, 4, 4, 0, 1, c);
  TestRectCollision(50, 50, 4, 4, 0, 1, d);
  std::vector<Ref<TObject>> hits = TestRectCollision(0, 0, 20, 20, 3, 0, nullptr);
  ASSERT_EQ(hits.size(), 3u);
  EXPECT_EQ(hits[0], c) << "layer 0 first, newest first";
  EXPECT_EQ(hits[1], a);
  EXPECT_EQ(hits[2], b);
  EXPECT_EQ(TestRectCollision(0, 0, 20, 20, 2, 0, nullptr).size(), 1u);

  EXPECT_TRUE(TestRectCollision(0, 0, 20, 20, 0, 4, c).empty()) << "collide mask 0 only writes";
  EXPECT_EQ(TestRectCollision(0, 0, 1, 1, 4, 0, nullptr), std::vector<Ref<TObject>>{c});

  ClearCollisionLayers(1);
  EXPECT_EQ(TestRectCollision(0, 0, 20, 20, 7, 0, nullptr), (std::vector<Ref<TObject>>{b, c}));
  ClearCollisionLayers(0);
  EXPECT_TRUE(TestRectCollision(0, 0, 100, 100, 0xFFFFFFFF, 0, nullptr).empty());
  hits.clear();
  EXPECT_EQ(a->RefCount(), 1) << "cleared quads let go of their ids";

  // Recycled quads serve again, and many hits all come back.
  std::vector<Ref<TObject>> ids;
  for (int i = 0; i < 40; ++i) {
    ids.push_back(New<TObject>());
    TestRectCollision(static_cast<float>(i), 0, 1, 1, 0, 0x80000000, ids.back());
  }
  EXPECT_EQ(TestRectCollision(0, 0, 40, 1, 0x80000000, 0, nullptr).size(), 40u);
}

TEST_F(CollisionTest, QuadsArePlacedFromTheOrigin) {
  Ref<TImage> a = Solid(4, 4);
  SetOrigin(100, 0);
  TestImageCollision(a, 0, 0, 0, 0, 1, a);
  SetOrigin(0, 0);
  EXPECT_EQ(TestImageCollision(a, 100, 0, 0, 1, 0, nullptr).size(), 1u);
  EXPECT_TRUE(TestImageCollision(a, 0, 0, 0, 1, 0, nullptr).empty());

  // ImagesOverlap keeps the first image in layer 31 until the next call.
  ImagesOverlap(a, 10, 10, 0, a, 90, 90, 0);
  EXPECT_EQ(TestRectCollision(11, 11, 1, 1, 0x80000000, 0, nullptr).size(), 1u);
}

TEST_F(CollisionTest, WildCoordinatesCollideWithNothing) {
  Ref<TImage> a = Solid(4, 4);
  EXPECT_FALSE(ImagesOverlapTransformed(a, 0, 0, 0, 0, 1e30f, 1e30f, a, 0, 0, 0, 0, 1, 1));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(ImagesOverlapTransformed(a, 0, 0, 0, nan, 1, 1, a, 0, 0, 0, 0, 1, 1));
  EXPECT_FALSE(ImagesOverlap(a, nan, 0, 0, a, 0, 0, 0));
}

// Decision: a texture coordinate of exactly 1 reads the last column and row. The mask is a 2 x 2
// window into a larger pixmap, so that reading one past its edge would land on a real pixel.
TEST(CollisionScan, CoordinateOneReadsTheLastTexel) {
  for (bool lastOpaque : {true, false}) {
    Ref<TPixmap> parent = TPixmap::Create(4, 4, FORMAT_RGBA8888, 4);
    parent->WritePixel(1, 1, lastOpaque ? 0xFF000000 : 0);
    parent->WritePixel(2, 2, lastOpaque ? 0 : 0xFF000000);  // one past the window's last texel
    TQuad textured;
    textured.SetCoords(0, 0, 8, 0, 8, 8, 0, 8);
    for (int v = 0; v < 4; ++v) textured.xyuv[v * 4 + 2] = textured.xyuv[v * 4 + 3] = 1;
    textured.mask = parent->Window(0, 0, 2, 2);
    TQuad solid;
    solid.SetCoords(0, 0, 8, 0, 8, 8, 0, 8);
    EXPECT_EQ(QuadPairOverlaps(textured, solid), lastOpaque);
  }
}

// Decision: FORMAT_A8 masks take part, read one byte a texel.
TEST_F(CollisionTest, AlphaOnlyMasksAreReadByteByByte) {
  Ref<TImage> half = Shape(
      8, 8, [](int x, int) { return x < 4 ? 200 : 100; }, FORMAT_A8);
  ASSERT_EQ(half->Lock(0, true, false)->format, FORMAT_A8);
  Ref<TImage> dot = Solid(1, 1);
  for (int x = 0; x < 8; ++x) {
    for (int y = 0; y < 8; ++y) {
      EXPECT_EQ(ImagesOverlap(half, 0, 0, 0, dot, x, y, 0), x < 4) << x << ", " << y;
    }
  }
}

TEST(CollisionScan, OrientationIsReversedOnlyForMirroredQuads) {
  float plain[8] = {0, 0, 10, 0, 10, 10, 0, 10};
  NormalisePolygonOrientation(plain, 4, 2);
  EXPECT_EQ(plain[2], 10);
  EXPECT_EQ(plain[7], 10);
  float mirrored[8] = {0, 0, -10, 0, -10, 10, 0, 10};
  NormalisePolygonOrientation(mirrored, 4, 2);
  const float reversed[8] = {0, 10, -10, 10, -10, 0, 0, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(mirrored[i], reversed[i]) << i;
}

}  // namespace
