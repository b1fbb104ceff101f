// Sizes at the ends of the int range: texture sizes, pixmap pitches and oval segment counts stay
// bounded instead of overflowing or looping for ever.
#include <climits>
#include <cmath>
#include <limits>

#include "core/error.h"
#include "gl_fixture.h"

namespace {

using HugeSizes = GLTest;

bool PowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

TEST_F(HugeSizes, TextureSizesPast2To30AreCutToWhatTheDriverTakes) {
  int largest = 0, h = 0;
  TGLImageFrame::TextureSize(1 << 30, 1, largest, h);
  for (int side : {(1 << 30) + 1, INT_MAX - 1, INT_MAX}) {
    SCOPED_TRACE(side);
    int w = 0;
    TGLImageFrame::TextureSize(side, 3, w, h);
    EXPECT_TRUE(PowerOfTwo(w));
    EXPECT_EQ(w, largest);
    EXPECT_TRUE(PowerOfTwo(h));
    TGLImageFrame::TextureSize(5, side, w, h);
    EXPECT_TRUE(PowerOfTwo(h));
    EXPECT_EQ(h, largest);
  }
}

TEST(HugePixmaps, APitchBeyondAnIntIsRefusedWhateverTheHeight) {
  EXPECT_THROW(TPixmap::Create(INT_MAX, 0, FORMAT_RGBA8888, 4), TRuntimeError);
  EXPECT_THROW(TPixmap::Create(1 << 29, 0, FORMAT_RGBA8888, 4), TRuntimeError);
  EXPECT_THROW(TPixmap::Create(INT_MAX, 0, FORMAT_I8, 8), TRuntimeError);  // rounded up past it
  // A row that fits is fine with no rows at all.
  Ref<TPixmap> wide = TPixmap::Create(1 << 20, 0, FORMAT_RGBA8888, 4);
  EXPECT_EQ(wide->pitch, 1 << 22);
  EXPECT_EQ(wide->capacity, 0);
}

TEST(HugeOvals, SegmentCountsAreBoundedForHugeAndNonFiniteRadii) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  int cap = OvalSegments(1e9f, 1e9f);
  EXPECT_LE(cap, 1 << 16);
  EXPECT_GE(cap, OvalSegments(5000, 5000));
  for (auto [x, y] : {std::pair{1e9f, 0.0f}, std::pair{-2e9f, 3e9f}, std::pair{1e30f, 1e30f},
                      std::pair{inf, 1.0f}, std::pair{-inf, inf}, std::pair{nan, 5.0f}}) {
    SCOPED_TRACE(::testing::Message() << x << ", " << y);
    const int n = OvalSegments(x, y);
    EXPECT_GE(n, 12);
    EXPECT_LE(n, cap);
    EXPECT_EQ(n % 4, 0);
  }
  EXPECT_EQ(OvalSegments(50, 30), 80);  // ordinary sizes as before
}

TEST_F(HugeSizes, AnOvalLargerThanTheScreenCoversIt) {
  SetBlend(BLEND_SOLID);
  SetColor(0, 255, 0);
  DrawOval(-1e9f, -1e9f, 2e9f, 2e9f);
  EXPECT_RGB(Pixel(320, 240), 0, 255, 0);
}

}  // namespace
