// Saving pixmaps as PNG when the target cannot take them, and which formats keep their alpha.
#include <gtest/gtest.h>

#include <vector>

#include "core/ramstream.h"
#include "graphics/pixmap_loader.h"
#include "graphics/png_saver.h"

namespace {

Ref<TPixmap> Filled(int w, int h, int format, std::uint32_t argb) {
  Ref<TPixmap> p = TPixmap::Create(w, h, format, 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) p->WritePixel(x, y, argb);
  }
  return p;
}

TEST(PngSaveErrors, ATargetThatFillsUpOrRefusesWritesGivesFalse) {
  Ref<TPixmap> p = Filled(16, 16, FORMAT_RGB888, 0xff102030u);
  std::vector<unsigned char> small(20);  // room for the signature, not for the header
  EXPECT_FALSE(SavePixmapPNG(p, TRamStream::Create(small.data(), 20, false, true)));
  std::vector<unsigned char> big(4096);
  EXPECT_FALSE(SavePixmapPNG(p, TRamStream::Create(big.data(), 4096, true, false)));  // read-only
  EXPECT_FALSE(SavePixmapPNG(p, "/nonexistent-folder/shot.png"));
  // The room it needs: the picture, whole.
  p->WritePixel(15, 15, 0xff405060u);
  ASSERT_TRUE(SavePixmapPNG(p, TRamStream::Create(big.data(), 4096, false, true)));
  Ref<TPixmap> back = LoadPixmap(TRamStream::Create(big.data(), 4096, true, false));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 16);
  EXPECT_EQ(back->height, 16);
  EXPECT_EQ(back->ReadPixel(15, 15) & 0xffffff, 0x405060u);
  EXPECT_EQ(back->ReadPixel(0, 0) & 0xffffff, 0x102030u);
}

TEST(PngSaveErrors, NothingOrAnEmptyPixmapIsNotSaved) {
  std::vector<unsigned char> big(4096);
  Ref<TStream> out = TRamStream::Create(big.data(), 4096, false, true);
  EXPECT_FALSE(SavePixmapPNG(nullptr, out));
  EXPECT_FALSE(SavePixmapPNG(Filled(4, 4, FORMAT_RGB888, 0), Ref<TStream>()));
  EXPECT_FALSE(SavePixmapPNG(TPixmap::Create(0, 4, FORMAT_RGB888, 4), out));
  EXPECT_FALSE(SavePixmapPNG(TPixmap::Create(4, 0, FORMAT_RGB888, 4), out));
  EXPECT_EQ(out->Pos(), 0);  // nothing written
}

// Saves and loads back, returning the loaded pixmap.
Ref<TPixmap> RoundTrip(const Ref<TPixmap>& p) {
  std::vector<unsigned char> bytes(8192);
  Ref<TRamStream> out = TRamStream::Create(bytes.data(), 8192, true, true);
  if (!SavePixmapPNG(p, out)) return nullptr;
  bytes.resize(static_cast<std::size_t>(out->Pos()));
  return LoadPixmap(TRamStream::CreateOwning(bytes, true, false));
}

TEST(PngSaveErrors, OnlyFormatsWithColourAndAlphaKeepTheirAlpha) {
  Ref<TPixmap> rgba = RoundTrip(Filled(3, 2, FORMAT_BGRA8888, 0x80112233u));
  ASSERT_TRUE(rgba);
  EXPECT_EQ(rgba->format, FORMAT_RGBA8888);
  EXPECT_EQ(rgba->ReadPixel(2, 1), 0x80112233u);

  Ref<TPixmap> alpha_only = RoundTrip(Filled(3, 2, FORMAT_A8, 0x80ffffffu));
  ASSERT_TRUE(alpha_only);
  EXPECT_EQ(alpha_only->format, FORMAT_RGB888);  // written as colour without alpha

  Ref<TPixmap> rgb = RoundTrip(Filled(3, 2, FORMAT_BGR888, 0xff445566u));
  ASSERT_TRUE(rgb);
  EXPECT_EQ(rgb->format, FORMAT_RGB888);
  EXPECT_EQ(rgb->ReadPixel(0, 0), 0xff445566u);
}

}  // namespace
