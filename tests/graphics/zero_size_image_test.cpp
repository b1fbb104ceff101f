// Images and pixmaps with no width or no height: refused where an image is made, and harmless
// where one reaches the driver anyway.
#include <vector>

#include "core/error.h"
#include "gl_fixture.h"
#include "graphics/image_commands.h"
#include "graphics/image_draw.h"

namespace {

using ZeroSizeImages = GLTest;

// An empty pixmap over the middle of a buffer filled with 0xAB, so that reading outside it
// shows up as 0xAB bytes in what was made from it.
struct GuardedEmpty {
  GuardedEmpty(int width, int height) : memory(256, 0xAB) {
    pixmap = TPixmap::CreateStatic(memory.data() + 128, width, height, 16, FORMAT_RGBA8888);
  }
  std::vector<unsigned char> memory;
  Ref<TPixmap> pixmap;
};

TEST(ZeroSizePadding, AnEmptySourceIsPaddedWithoutReadingOutsideIt) {
  for (auto [w, h] : {std::pair{4, 0}, std::pair{0, 4}, std::pair{0, 0}}) {
    SCOPED_TRACE(::testing::Message() << w << " x " << h);
    GuardedEmpty source(w, h);
    Ref<TPixmap> padded = TGLImageFrame::PaddedPixmap(source.pixmap, 4, 4);
    ASSERT_TRUE(padded);
    for (int y = 0; y < padded->height; ++y) {
      for (int x = 0; x < padded->width; ++x) {
        ASSERT_EQ(padded->ReadPixel(x, y), 0u) << "texel " << x << ", " << y;
      }
    }
  }
}

TEST(ZeroSizeImage, NewImageAndCreateRefuseAMissingSide) {
  EXPECT_THROW(NewImage(0, 16, 1), TRuntimeError);
  EXPECT_THROW(NewImage(16, 0, 1), TRuntimeError);
  EXPECT_THROW(TImage::Create(0, 0, 1, 0, 0, 0, 0), TRuntimeError);
  EXPECT_THROW(TImage::Create(3, 0, 2, 0, 0, 0, 0), TRuntimeError);
  // No frames at all is still an image, with nothing to draw.
  EXPECT_EQ(TImage::Create(3, 3, 0, 0, 0, 0, 0)->FrameCount(), 0);
  // Loading what holds no pixel gives no image, as a file no loader takes does.
  EXPECT_FALSE(TImage::Load(TPixmap::Create(0, 5, FORMAT_RGBA8888, 4), 0, 0, 0, 0));
  EXPECT_FALSE(ImportImage(TPixmap::Create(7, 0, FORMAT_RGB888, 4), 0));
}

TEST_F(ZeroSizeImages, AnEmptyPixmapMakesNoDriverFrameAndDrawsNothing) {
  GuardedEmpty empty(4, 0);
  EXPECT_FALSE(GLRar2ADriver()->CreateFrameFromPixmap(empty.pixmap, 0));
  Ref<TImage> image = NewImage(4, 4, 1, 0);
  image->SetPixmap(0, TPixmap::Create(0, 4, FORMAT_RGBA8888, 4));
  EXPECT_FALSE(image->Frame(0));
  SetBlend(BLEND_SOLID);
  SetColor(255, 255, 255);
  PaintImage(image, 10, 10);
  EXPECT_RGB(Pixel(10, 10), 0, 0, 0);
}

}  // namespace
