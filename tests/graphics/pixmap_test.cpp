#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/error.h"
#include "graphics/pixmap.h"
#include "graphics/pixmap_ops.h"

namespace {

Ref<TPixmap> WithBytes(int format, std::vector<unsigned char> bytes) {
  Ref<TPixmap> p = TPixmap::Create(1, 1, format, 4);
  std::memcpy(p->pixels, bytes.data(), bytes.size());
  return p;
}

TEST(Pixmap, CreatePadsRowsToTheAlignment) {
  Ref<TPixmap> p = TPixmap::Create(3, 2, FORMAT_RGB888, 4);
  EXPECT_EQ(p->pitch, 12);
  EXPECT_EQ(p->capacity, 24);
  EXPECT_EQ(p->PixelPtr(2, 1), p->pixels + 12 + 6);
  EXPECT_EQ(TPixmap::Create(3, 2, FORMAT_RGB888, 1)->pitch, 9);
  EXPECT_EQ(TPixmap::Create(5, 1, FORMAT_I8, 8)->pitch, 8);
  EXPECT_THROW(TPixmap::Create(-1, 2, FORMAT_RGB888, 4), TRuntimeError);
  EXPECT_THROW(TPixmap::Create(1, 1, 7, 4), TRuntimeError);
}

TEST(Pixmap, ReadPixelFollowsEachByteOrder) {
  EXPECT_EQ(WithBytes(FORMAT_BGR888, {1, 2, 3})->ReadPixel(0, 0), 0xFF030201u);
  EXPECT_EQ(WithBytes(FORMAT_RGB888, {1, 2, 3})->ReadPixel(0, 0), 0xFF010203u);
  EXPECT_EQ(WithBytes(FORMAT_BGRA8888, {1, 2, 3, 4})->ReadPixel(0, 0), 0x04030201u);
  EXPECT_EQ(WithBytes(FORMAT_RGBA8888, {1, 2, 3, 4})->ReadPixel(0, 0), 0x04010203u);
  EXPECT_EQ(WithBytes(FORMAT_I8, {7})->ReadPixel(0, 0), 0xFF070707u);
  EXPECT_EQ(WithBytes(FORMAT_A8, {7})->ReadPixel(0, 0), 0x07FFFFFFu);
}

TEST(Pixmap, WritePixelKeepsWhatTheFormatHolds) {
  const std::uint32_t argb = 0x80102030;
  struct Case {
    int format;
    std::vector<unsigned char> bytes;
  };
  const Case cases[] = {
      {FORMAT_I8, {0x20}},  // (0x10 + 0x20 + 0x30) / 3
      {FORMAT_A8, {0x80}},
      {FORMAT_BGR888, {0x30, 0x20, 0x10}},
      {FORMAT_RGB888, {0x10, 0x20, 0x30}},
      {FORMAT_BGRA8888, {0x30, 0x20, 0x10, 0x80}},
      {FORMAT_RGBA8888, {0x10, 0x20, 0x30, 0x80}},
  };
  for (const Case& c : cases) {
    Ref<TPixmap> p = TPixmap::Create(2, 1, c.format, 4);
    p->WritePixel(1, 0, argb);
    std::vector<unsigned char> got(p->PixelPtr(1, 0), p->PixelPtr(1, 0) + c.bytes.size());
    EXPECT_EQ(got, c.bytes) << "format " << c.format;
    EXPECT_EQ(p->ReadPixel(0, 0) & 0xFFFFFF, c.format == FORMAT_A8 ? 0xFFFFFFu : 0u)
        << "a new pixmap starts at zero";
  }
}

TEST(Pixmap, ConvertPixelsGoesThroughRgbaForEveryPair) {
  // One run long enough to need several passes through the intermediate buffer.
  const int n = 700;
  std::vector<unsigned char> bgr(n * 3);
  for (int i = 0; i < n; ++i)
    bgr[i * 3] = 30, bgr[i * 3 + 1] = 60, bgr[i * 3 + 2] = static_cast<unsigned char>(i);
  std::vector<unsigned char> grey(n);
  ConvertPixels(bgr.data(), FORMAT_BGR888, grey.data(), FORMAT_I8, n);
  for (int i = 0; i < n; ++i) ASSERT_EQ(grey[i], (30 + 60 + (i & 255)) / 3) << i;

  for (int from = FORMAT_I8; from <= FORMAT_RGBA8888; ++from) {
    for (int to = FORMAT_I8; to <= FORMAT_RGBA8888; ++to) {
      Ref<TPixmap> src = TPixmap::Create(1, 1, from, 4);
      src->WritePixel(0, 0, 0x90336699);
      Ref<TPixmap> dst = src->Convert(to);
      Ref<TPixmap> direct = TPixmap::Create(1, 1, to, 4);
      direct->WritePixel(0, 0, src->ReadPixel(0, 0));
      EXPECT_EQ(dst->ReadPixel(0, 0), direct->ReadPixel(0, 0)) << from << " -> " << to;
    }
  }
}

TEST(Pixmap, WindowSharesItsParentsBytesAndKeepsItAlive) {
  Ref<TPixmap> parent = TPixmap::Create(4, 4, FORMAT_RGBA8888, 4);
  Ref<TPixmap> window = parent->Window(1, 2, 2, 2);
  EXPECT_EQ(window->capacity, -1);
  EXPECT_EQ(window->pitch, parent->pitch);
  window->WritePixel(1, 1, 0xFF112233);
  EXPECT_EQ(parent->ReadPixel(2, 3), 0xFF112233u);
  window->ClearPixels(0xFF0000FF);
  EXPECT_EQ(parent->ReadPixel(1, 2), 0xFF0000FFu);
  EXPECT_EQ(parent->ReadPixel(0, 2), 0u) << "clearing a window stays inside it";
  EXPECT_EQ(parent->ReadPixel(3, 2), 0u);
  window->ClearPixels(0);
  EXPECT_EQ(parent->ReadPixel(1, 2), 0u);

  parent.reset();  // the window holds the parent: reading it must stay valid
  EXPECT_EQ(window->ReadPixel(0, 0), 0u);
}

TEST(Pixmap, CopyPasteAndFlipMoveWholeRows) {
  Ref<TPixmap> p = TPixmap::Create(2, 3, FORMAT_RGB888, 4);
  for (int y = 0; y < 3; ++y) p->WritePixel(1, y, 0xFF000000u | static_cast<unsigned>(y + 1));
  Ref<TPixmap> copy = p->Copy();
  p->WritePixel(1, 0, 0xFFFFFFFF);
  EXPECT_EQ(copy->ReadPixel(1, 0), 0xFF000001u) << "a copy owns its bytes";

  Ref<TPixmap> flipped = FlipPixmapVertically(copy);
  EXPECT_EQ(flipped->ReadPixel(1, 0), 0xFF000003u);
  EXPECT_EQ(flipped->ReadPixel(1, 2), 0xFF000001u);

  Ref<TPixmap> canvas = TPixmap::Create(4, 4, FORMAT_BGRA8888, 4);
  canvas->Paste(copy, 2, 1);
  EXPECT_EQ(canvas->ReadPixel(3, 1), 0xFF000001u);
  EXPECT_EQ(canvas->ReadPixel(3, 3), 0xFF000003u);
  EXPECT_EQ(canvas->ReadPixel(1, 1), 0u);
}

TEST(PixmapOps, ScalePixmapInterpolatesBetweenPixelCentres) {
  Ref<TPixmap> pair = TPixmap::Create(2, 1, FORMAT_I8, 4);
  pair->pixels[0] = 0;
  pair->pixels[1] = 255;
  Ref<TPixmap> wide = ScalePixmap(pair, 4, 1);
  ASSERT_EQ(wide->format, FORMAT_I8);
  EXPECT_EQ(std::vector<unsigned char>(wide->pixels, wide->pixels + 4),
            (std::vector<unsigned char>{0, 63, 191, 255}));

  // Vertically the same rule applies, and each channel separately.
  Ref<TPixmap> column = TPixmap::Create(1, 2, FORMAT_RGB888, 4);
  column->WritePixel(0, 0, 0xFF00FF00);
  column->WritePixel(0, 1, 0xFFFF0000);
  Ref<TPixmap> tall = ScalePixmap(column, 1, 4);
  EXPECT_EQ(tall->ReadPixel(0, 1), 0xFF3FBF00u);
  EXPECT_EQ(tall->ReadPixel(0, 3), 0xFFFF0000u);

  Ref<TPixmap> shrunk = ScalePixmap(wide, 2, 1);
  EXPECT_EQ(shrunk->pixels[0], 31);  // halfway between 0 and 63
  EXPECT_EQ(ScalePixmap(TPixmap::Create(0, 0, FORMAT_I8, 4), 3, 2)->ReadPixel(2, 1), 0xFF000000u);
}

TEST(PixmapOps, ApplyMaskColorMakesTheMaskTransparentWithItsNeighboursColour) {
  Ref<TPixmap> red = TPixmap::Create(3, 3, FORMAT_RGB888, 4);
  red->ClearPixels(0xFFFF0000);
  red->WritePixel(1, 1, 0xFF000000);
  Ref<TPixmap> masked = ApplyMaskColor(red, 0, 0, 0);
  ASSERT_EQ(masked->format, FORMAT_RGBA8888);
  EXPECT_EQ(masked->ReadPixel(1, 1), 0x00FF0000u);
  EXPECT_EQ(masked->ReadPixel(0, 0), 0xFFFF0000u);

  Ref<TPixmap> black = TPixmap::Create(4, 2, FORMAT_RGB888, 4);
  Ref<TPixmap> clear = ApplyMaskColor(black, 0, 0, 0);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(clear->ReadPixel(x, y), 0u);
  }

  // A corner averages only its neighbours inside the pixmap that are not the mask colour; the
  // source's alpha is replaced.
  Ref<TPixmap> corner = TPixmap::Create(2, 2, FORMAT_RGBA8888, 4);
  corner->WritePixel(0, 0, 0x10FF00FF);  // magenta is the mask
  corner->WritePixel(1, 0, 0x10FF0000);
  corner->WritePixel(0, 1, 0x1000FF00);
  corner->WritePixel(1, 1, 0x10FF00FF);
  Ref<TPixmap> keyed = ApplyMaskColor(corner, 255, 0, 255);
  EXPECT_EQ(keyed->ReadPixel(0, 0), 0x007F7F00u);
  EXPECT_EQ(keyed->ReadPixel(1, 0), 0xFFFF0000u);
  EXPECT_EQ(keyed->ReadPixel(1, 1), 0x007F7F00u);
}

}  // namespace
