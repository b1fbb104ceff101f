// Tiling an image over the viewport, and lines with and without their last pixel, thick and thin.
#include "gl_fixture.h"
#include "graphics/image_commands.h"
#include "graphics/image_draw.h"
#include "graphics/transform.h"

namespace {

// A 16 x 16 image whose texel (x, y) has red 16x + 8 and green 16y + 8.
Ref<TImage> Grid() {
  Ref<TPixmap> p = TPixmap::Create(16, 16, FORMAT_RGB888, 4);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      p->WritePixel(x, y, 0xff000000u | (16 * x + 8) << 16 | (16 * y + 8) << 8);
    }
  }
  return ImportImage(p, 0);
}

class TiledImage : public GLTest {
 protected:
  // Screen pixel (x, y) shows the texel that tiles starting at (ox, oy) put there.
  static void ExpectTexel(int x, int y, int ox, int oy) {
    int tx = ((x - ox) % 16 + 16) % 16, ty = ((y - oy) % 16 + 16) % 16;
    EXPECT_RGB(Pixel(x, y), 16 * tx + 8, 16 * ty + 8, 0) << " at " << x << "," << y;
  }
};

TEST_F(TiledImage, TilesCoverTheWholeScreenAlignedOnThePositionLessTheHandle) {
  Ref<TImage> image = Grid();
  ASSERT_TRUE(image);
  SetImageHandle(image, 2, 1);
  SetBlend(BLEND_SOLID);
  PaintImageTiled(image, 7, 4);  // a tile's top left corner at (5, 3)
  for (auto [x, y] : {std::pair{5, 3}, {4, 2}, {0, 0}, {639, 479}, {320, 240}, {21, 19}}) {
    ExpectTexel(x, y, 5, 3);
  }
}

TEST_F(TiledImage, TilesStayInsideTheViewportAndIgnoreTheTransformWhichStays) {
  Ref<TImage> image = Grid();
  ASSERT_TRUE(image);
  SetBlend(BLEND_SOLID);
  SetViewport(100, 100, 50, 40);
  SetDrawScale(2, 2);
  PaintImageTiled(image, 300, 300);  // far right of and below the viewport
  ExpectTexel(100, 100, 300, 300);
  ExpectTexel(149, 139, 300, 300);  // unscaled
  EXPECT_RGB(Pixel(99, 120), 0, 0, 0);
  EXPECT_RGB(Pixel(150, 120), 0, 0, 0);
  EXPECT_RGB(Pixel(120, 140), 0, 0, 0);

  SetViewport(0, 0, 640, 480);
  SetColor(255, 255, 255);
  DrawRect(400, 400, 5, 5);  // the scale is back: 10 x 10
  EXPECT_RGB(Pixel(409, 409), 255, 255, 255);
  EXPECT_RGB(Pixel(410, 410), 0, 0, 0);
}

TEST_F(TiledImage, AnImageWithoutPixelsCannotBeMadeSoNothingIsTiled) {
  // A side of 0 is refused when the image is made, before any tiling could divide by it.
  EXPECT_ANY_THROW(NewImage(0, 0, 1, 0));
  EXPECT_ANY_THROW(NewImage(16, 0, 1, 0));
  EXPECT_RGB(Pixel(0, 0), 0, 0, 0);
  EXPECT_RGB(Pixel(320, 240), 0, 0, 0);
}

using Lines = GLTest;

TEST_F(Lines, TheLastPixelIsLeftOutOnRequestAndWidthThickensLines) {
  SetBlend(BLEND_SOLID);
  DrawLine(10, 50, 30, 50, false);
  EXPECT_RGB(Pixel(29, 50), 255, 255, 255);
  EXPECT_RGB(Pixel(30, 50), 0, 0, 0);

  EXPECT_EQ(QueryLineWidth(), 1.0f);
  DrawLine(10, 100, 30, 100);
  EXPECT_RGB(Pixel(20, 99), 0, 0, 0);
  EXPECT_RGB(Pixel(20, 101), 0, 0, 0);
  SetLineWidth(3);
  EXPECT_EQ(QueryLineWidth(), 3.0f);
  DrawLine(10, 200, 30, 200);
  EXPECT_RGB(Pixel(20, 199), 255, 255, 255);
  EXPECT_RGB(Pixel(20, 200), 255, 255, 255);
  EXPECT_RGB(Pixel(20, 201), 255, 255, 255);
  EXPECT_RGB(Pixel(20, 203), 0, 0, 0);
}

}  // namespace
