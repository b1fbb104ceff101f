// The generated sprite sheet, splash logo and icons: their headers, and where the sprite sheet's
// pixels lie, read against the frame table the game cuts the sheet by.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/icon.h"
#include "tools/png_file.h"

namespace {

const std::string kAssets = ZX_ASSET_DIR;

struct Header {
  bool png = false;
  std::uint32_t width = 0, height = 0;
  int depth = 0, colour_type = -1;
};

// Reads the signature and the IHDR chunk straight from the bytes, independently of libpng.
Header ReadHeader(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), {});
  Header h;
  const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (b.size() < 33 || !std::equal(signature, signature + 8, b.begin())) return h;
  if (std::string(b.begin() + 12, b.begin() + 16) != "IHDR") return h;
  auto u32 = [&](std::size_t at) {
    return std::uint32_t(b[at]) << 24 | std::uint32_t(b[at + 1]) << 16 | b[at + 2] << 8 | b[at + 3];
  };
  h.png = true;
  h.width = u32(16);
  h.height = u32(20);
  h.depth = b[24];
  h.colour_type = b[25];
  return h;
}

TEST(ImageFiles, SheetAndLogoAreEightBitRgbWithoutAlphaAtTheirSizes) {
  struct {
    const char* file;
    std::uint32_t width, height;
  } expected[] = {{"zumbrix_3d.png", 637, 423}, {"vxlogo.png", 420, 236}};
  for (auto e : expected) {
    SCOPED_TRACE(e.file);
    Header h = ReadHeader(kAssets + "/" + e.file);
    ASSERT_TRUE(h.png);
    EXPECT_EQ(h.width, e.width);
    EXPECT_EQ(h.height, e.height);
    EXPECT_EQ(h.depth, 8);
    EXPECT_EQ(h.colour_type, 2) << "2 is RGB; 6 would carry alpha, 3 a palette";
  }
}

TEST(ImageFiles, IconsAreSquareRgbaAtEverySizeTheThemeInstalls) {
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    SCOPED_TRACE(size);
    Header h = ReadHeader(kAssets + "/icons/" + std::to_string(size) + ".png");
    ASSERT_TRUE(h.png);
    EXPECT_EQ(h.width, std::uint32_t(size));
    EXPECT_EQ(h.height, std::uint32_t(size));
    EXPECT_EQ(h.colour_type, 6) << "RGBA: the corners of the rounded square are transparent";
  }
}

TEST(ImageFiles, TheIconIsTheBeeInRedAndCyanWithClearCorners) {
  Icon drawn = DrawIcon(64);
  const RgbImage& icon = drawn.image;
  ASSERT_EQ(drawn.alpha.size(), 64u * 64u);
  EXPECT_EQ(drawn.alpha[0], 0);
  EXPECT_EQ(drawn.alpha[64 * 32 + 32], 255);
  int red = 0, cyan = 0;
  for (std::size_t i = 0; i < drawn.alpha.size(); ++i) {
    int r = icon.rgb[3 * i], g = icon.rgb[3 * i + 1], b = icon.rgb[3 * i + 2];
    if (r > 120 && g < 60) ++red;
    if (g > 120 && b > 120 && r < 60) ++cyan;
  }
  // Each copy shows alone along its side of the bee.
  EXPECT_GT(red, 20);
  EXPECT_GT(cyan, 20);
}

// The frame table the game cuts the sheet by: frame i at (x + i * step, y).
struct Frames {
  const char* name;
  int width, height, frames, x, y, step;
  bool animated;  // every frame differs from the others
};
const Frames kTable[] = {
    {"star", 16, 16, 1, 357, 56, 0, false},       {"ship", 36, 58, 4, 1, 1, 37, true},
    {"bee", 61, 43, 3, 1, 62, 62, true},          {"splat", 61, 45, 7, 1, 261, 62, true},
    {"points", 35, 10, 8, 1, 309, 36, true},      {"bonus panels", 158, 99, 3, 1, 322, 159, true},
    {"laser", 7, 26, 1, 151, 1, 0, false},        {"bee shot", 10, 10, 1, 177, 1, 0, false},
    {"logo", 352, 110, 1, 1, 109, 0, false},      {"prompt", 404, 18, 1, 230, 222, 0, false},
    {"get ready", 160, 47, 1, 191, 56, 0, false}, {"bonus round", 178, 41, 1, 408, 1, 0, false},
    {"wave done", 213, 52, 1, 408, 45, 0, false}, {"game over", 164, 47, 1, 399, 100, 0, false},
    {"hud labels", 84, 21, 3, 151, 30, 85, true}, {"digits", 16, 16, 10, 223, 1, 17, true},
};

class SpriteSheet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { sheet_ = new RgbImage(ReadPng(kAssets + "/zumbrix_3d.png")); }
  static void TearDownTestSuite() { delete sheet_; }

  static bool Opaque(int x, int y) {
    const std::uint8_t* p = &sheet_->rgb[(std::size_t(y) * sheet_->width + x) * 3];
    return p[0] | p[1] | p[2];
  }
  // The frame's pixels as a string, for comparing frames with each other.
  static std::string FramePixels(const Frames& f, int i) {
    std::string out;
    for (int y = f.y; y < f.y + f.height; ++y) {
      const std::uint8_t* row =
          &sheet_->rgb[(std::size_t(y) * sheet_->width + f.x + i * f.step) * 3];
      out.append(reinterpret_cast<const char*>(row), std::size_t(f.width) * 3);
    }
    return out;
  }
  static RgbImage* sheet_;
};
RgbImage* SpriteSheet::sheet_ = nullptr;

TEST_F(SpriteSheet, EveryFrameHoldsASpriteAndEveryDrawnPixelLiesInAFrame) {
  ASSERT_EQ(sheet_->width, 637);
  ASSERT_EQ(sheet_->height, 423);
  std::vector<int> owner(std::size_t(637) * 423, -1);
  int index = 0;
  for (const Frames& f : kTable) {
    for (int i = 0; i < f.frames; ++i, ++index) {
      int opaque = 0;
      for (int y = f.y; y < f.y + f.height; ++y) {
        for (int x = f.x + i * f.step; x < f.x + i * f.step + f.width; ++x) {
          owner[std::size_t(y) * 637 + x] = index;
          opaque += Opaque(x, y);
        }
      }
      // A twentieth of the frame at least: a sprite is there, not a stray dot.
      EXPECT_GT(opaque, f.width * f.height / 20) << f.name << " frame " << i;
    }
  }
  int stray = 0;
  for (int y = 0; y < 423; ++y)
    for (int x = 0; x < 637; ++x) stray += Opaque(x, y) && owner[std::size_t(y) * 637 + x] < 0;
  EXPECT_EQ(stray, 0) << "pixels outside every frame must be pure black, the transparent colour";
}

TEST_F(SpriteSheet, AnimationFramesDifferFromEachOther) {
  for (const Frames& f : kTable) {
    if (!f.animated) continue;
    for (int i = 0; i < f.frames; ++i)
      for (int j = i + 1; j < f.frames; ++j)
        EXPECT_NE(FramePixels(f, i), FramePixels(f, j)) << f.name << " frames " << i << ", " << j;
  }
}

// Pure black is the transparent colour, so a pure black pixel inside a sprite is a pinhole that
// shows the stars through the ship. Dark details must stay just above black. (A black pixel
// between faint anti-aliased fringes is a letter's counter, not a pinhole.)
TEST_F(SpriteSheet, NoPinholesInsideSolidParts) {
  auto solid = [](int x, int y) {
    const std::uint8_t* p = &sheet_->rgb[(std::size_t(y) * sheet_->width + x) * 3];
    return std::min({p[0], p[1], p[2]}) >= 80;
  };
  int holes = 0;
  for (int y = 1; y < 422; ++y)
    for (int x = 1; x < 636; ++x)
      holes +=
          !Opaque(x, y) && solid(x - 1, y) && solid(x + 1, y) && solid(x, y - 1) && solid(x, y + 1);
  EXPECT_EQ(holes, 0);
}

TEST(SplashLogo, HasAPictureOnABlackGround) {
  RgbImage logo = ReadPng(kAssets + "/vxlogo.png");
  ASSERT_EQ(logo.width, 420);
  ASSERT_EQ(logo.height, 236);
  std::size_t lit = 0, bright = 0;
  for (std::size_t i = 0; i < logo.rgb.size(); i += 3) {
    int v = logo.rgb[i] + logo.rgb[i + 1] + logo.rgb[i + 2];
    lit += v > 0;
    bright += v > 3 * 200;
  }
  std::size_t pixels = logo.rgb.size() / 3;
  EXPECT_GT(lit, pixels / 10);
  EXPECT_GT(bright, pixels / 50);
  // The corners are background: the logo fades in over a dark screen and must not show a box.
  for (std::size_t corner : {std::size_t(0), std::size_t(419), pixels - 420, pixels - 1}) {
    EXPECT_EQ(logo.rgb[corner * 3] + logo.rgb[corner * 3 + 1] + logo.rgb[corner * 3 + 2], 0);
  }
}

}  // namespace
