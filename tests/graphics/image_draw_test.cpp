// Images as textures: padding, drawing around handles, capturing, generations.
#include "graphics/image_draw.h"
#include "gl_fixture.h"
#include "graphics/pixmap_ops.h"

namespace {

using ImageDraw = GLTest;

// A w x h RGB pixmap whose pixel (x, y) has red x and green y.
Ref<TPixmap> Gradient(int w, int h) {
  Ref<TPixmap> p = TPixmap::Create(w, h, FORMAT_RGB888, 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) p->WritePixel(x, y, 0xff000000u | x << 16 | y << 8 | 1);
  }
  return p;
}

TEST_F(ImageDraw, OddSizedImagesArePaddedWithTheirEdgeRepeated) {
  Ref<TPixmap> source = Gradient(61, 43);
  int tw, th;
  TGLImageFrame::TextureSize(61, 43, tw, th);
  EXPECT_EQ(tw, 64);
  EXPECT_EQ(th, 64);
  Ref<TPixmap> padded = TGLImageFrame::PaddedPixmap(source, tw, th);
  EXPECT_EQ(padded->format, FORMAT_RGBA8888);
  EXPECT_EQ(padded->ReadPixel(61, 10), padded->ReadPixel(60, 10));
  EXPECT_EQ(padded->ReadPixel(20, 43), padded->ReadPixel(20, 42));
  EXPECT_EQ(padded->ReadPixel(61, 43), padded->ReadPixel(60, 42));
  EXPECT_EQ(padded->ReadPixel(30, 30), source->ReadPixel(30, 30));

  Ref<TImageFrame> frame = GLRar2ADriver()->CreateFrameFromPixmap(source, 0);
  auto* gl = dynamic_cast<TGLImageFrame*>(frame.get());
  ASSERT_NE(gl, nullptr);
  EXPECT_FLOAT_EQ(gl->u1, 61.0f / 64);
  EXPECT_FLOAT_EQ(gl->v1, 43.0f / 64);

  Ref<TImageFrame> square = GLRar2ADriver()->CreateFrameFromPixmap(Gradient(64, 64), 0);
  auto* sq = dynamic_cast<TGLImageFrame*>(square.get());
  EXPECT_FLOAT_EQ(sq->u1, 1.0f);
  EXPECT_FLOAT_EQ(sq->v1, 1.0f);
}

TEST_F(ImageDraw, ImagesDrawTexelForTexelAroundTheirHandle) {
  Ref<TImage> image = ImportImage(Gradient(61, 43), 0);
  ASSERT_TRUE(image);
  SetImageHandle(image, 10, 5);
  SetBlend(BLEND_SOLID);
  PaintImage(image, 100, 100);
  EXPECT_RGB(Pixel(90, 95), 0, 0, 1);      // texel (0, 0) at the position less the handle
  EXPECT_RGB(Pixel(150, 137), 60, 42, 1);  // the last texel
  EXPECT_RGB(Pixel(151, 137), 0, 0, 0);
  SetOrigin(5, 0);
  PaintImage(image, 200, 200);
  EXPECT_RGB(Pixel(195, 195), 0, 0, 1);
  SetOrigin(0, 0);
  DrawImageScaled(image, 300, 300, 122, 43);  // twice as wide
  EXPECT_RGB(Pixel(290 + 121, 295), 60, 0, 1);
}

TEST_F(ImageDraw, MaskedImagesDropTheMaskColour) {
  Ref<TPixmap> p = TPixmap::Create(4, 1, FORMAT_RGB888, 4);
  p->WritePixel(0, 0, 0xffff0000);  // red, then black (masked), red, black
  p->WritePixel(2, 0, 0xffff0000);
  Ref<TImage> image = ImportImage(p, IMAGE_MASKED);
  SetClsColor(0, 0, 200);
  Cls();
  SetBlend(BLEND_MASK);
  PaintImage(image, 10, 10);
  EXPECT_RGB(Pixel(10, 10), 255, 0, 0);
  EXPECT_RGB(Pixel(11, 10), 0, 0, 200);
}

TEST_F(ImageDraw, CaptureMasksWithTheLayerColour) {
  SetBlend(BLEND_SOLID);
  SetColor(255, 0, 0);
  DrawRect(0, 0, 2, 4);  // a red half, then the black background
  SetColor(0, 255, 0);
  DrawRect(2, 0, 1, 4);  // and a green column
  SetMaskColor(0, 255, 0);
  Ref<TImage> image = NewImage(4, 4, 1, IMAGE_MASKED);
  CaptureImage(image, 0, 0, 0);
  SetMaskColor(0, 0, 0);
  Ref<TPixmap> p = LockImage(image, 0, true, false);
  EXPECT_EQ(p->ReadPixel(0, 0) >> 24, 255u);
  EXPECT_EQ(p->ReadPixel(2, 0) >> 24, 0u);    // the layer's mask colour at capture time
  EXPECT_EQ(p->ReadPixel(3, 0) >> 24, 255u);  // black was not the mask colour then
}

TEST_F(ImageDraw, NewImageTakesTheAutomaticSettings) {
  SetAutoImageFlags(9);
  SetAutoCenterHandle(true);
  Ref<TImage> image = NewImage(16, 16, 10, -1);
  SetAutoCenterHandle(false);
  SetAutoImageFlags(3);
  EXPECT_EQ(image->flags, 9 | IMAGE_DYNAMIC);
  EXPECT_EQ(image->handle_x, 8);
  EXPECT_EQ(image->handle_y, 8);
  EXPECT_EQ(image->FrameCount(), 10);
}

TEST_F(ImageDraw, NewGraphicsMakesNewFrames) {
  Ref<TImage> image = ImportImage(Gradient(8, 8), 0);
  Ref<TImageFrame> first = image->Frame(0);
  ASSERT_TRUE(first);
  EXPECT_EQ(image->Frame(0), first);  // made once per generation
  EndGraphicsMode();
  graphics_ = OpenGraphics(640, 480, 0, 0, GFX_BACKBUFFER);
  ASSERT_TRUE(graphics_);
  Ref<TImageFrame> second = image->Frame(0);
  ASSERT_TRUE(second);
  EXPECT_NE(second, first);
  SetBlend(BLEND_SOLID);
  PaintImage(image, 0, 0);
  EXPECT_RGB(Pixel(7, 7), 7, 7, 1);  // and the new one draws
}

}  // namespace
