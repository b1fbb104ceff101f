// The opacity threshold of pixel-exact collisions: a texel with alpha 128 or more is solid, 127
// or less is not, in every pixmap format that has alpha, whatever its colour, on either side of
// a test and against a rectangle in a layer.
#include <gtest/gtest.h>

#include <cstdint>

#include "graphics/collision.h"
#include "graphics/transform.h"

namespace {

// A 5 x 5 image, clear but for its centre texel, which has `alpha` and colour `rgb`.
Ref<TImage> Dot(int alpha, std::uint32_t rgb, int format) {
  Ref<TImage> image = TImage::Create(5, 5, 1, 0, 0, 0, 0);
  Ref<TPixmap> p = TPixmap::Create(5, 5, format, 4);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) p->WritePixel(x, y, rgb);  // alpha 0
  }
  p->WritePixel(2, 2, static_cast<std::uint32_t>(alpha) << 24 | rgb);
  image->SetPixmap(0, p);
  return image;
}

Ref<TImage> Solid(int w, int h) {
  Ref<TImage> image = TImage::Create(w, h, 1, 0, 0, 0, 0);
  Ref<TPixmap> p = TPixmap::Create(w, h, FORMAT_RGBA8888, 4);
  p->ClearPixels(0xFFFFFFFFu);
  image->SetPixmap(0, p);
  return image;
}

class CollisionAlpha : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCurrentTransformState(nullptr);
    SetRotationAndScale(0, 1, 1);
    SetOrigin(0, 0);
    ClearCollisionLayers(0);
  }
  void TearDown() override { SetUp(); }
};

TEST_F(CollisionAlpha, TexelsFrom128UpAreSolidInEveryAlphaFormat) {
  const int formats[] = {FORMAT_RGBA8888, FORMAT_BGRA8888, FORMAT_A8};
  const std::uint32_t colours[] = {0x000000, 0xFFFFFF, 0x7F8081};
  const int alphas[] = {0, 1, 126, 127, 128, 129, 254, 255};
  Ref<TImage> pin = Solid(1, 1);
  for (int format : formats) {
    for (std::uint32_t rgb : colours) {
      for (int alpha : alphas) {
        SCOPED_TRACE(::testing::Message() << "format " << format << ", colour " << std::hex << rgb
                                          << std::dec << ", alpha " << alpha);
        const bool solid = alpha >= 128;
        Ref<TImage> dot = Dot(alpha, rgb, format);
        // The centre texel, from either side.
        EXPECT_EQ(ImagesOverlap(dot, 10, 10, 0, pin, 12, 12, 0), solid);
        EXPECT_EQ(ImagesOverlap(pin, 12, 12, 0, dot, 10, 10, 0), solid);
        // Its clear neighbours never hit.
        EXPECT_FALSE(ImagesOverlap(dot, 10, 10, 0, pin, 11, 12, 0));
        EXPECT_FALSE(ImagesOverlap(pin, 12, 13, 0, dot, 10, 10, 0));
        // Through a layer, against a rectangle over the whole image.
        ClearCollisionLayers(1);
        TestImageCollision(dot, 10, 10, 0, 0, 1, dot);
        EXPECT_EQ(TestRectCollision(10, 10, 5, 5, 1, 0, nullptr).size(), solid ? 1u : 0u);
        ClearCollisionLayers(1);
        TestRectCollision(10, 10, 5, 5, 0, 1, pin);
        EXPECT_EQ(TestImageCollision(dot, 10, 10, 0, 1, 0, nullptr).size(), solid ? 1u : 0u);
      }
    }
  }
}

}  // namespace
