// Frames made together: the sheet's layout and borders, the one texture the OpenGL driver draws
// them from, and pictures identical to those of frames made one by one.
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "core/random.h"
#include "gl_fixture.h"
#include "graphics/font.h"
#include "graphics/frame_sheet.h"
#include "graphics/image_commands.h"
#include "graphics/image_draw.h"
#include "graphics/transform.h"

namespace {

// A w x h pixmap of random colours and alphas, with clear and opaque pixels among them.
Ref<TPixmap> Noise(int w, int h, unsigned seed) {
  Ref<TPixmap> p = TPixmap::Create(w, h, FORMAT_RGBA8888, 4);
  std::uint32_t s = seed * 2654435761u + 1;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      s = s * 1664525u + 1013904223u;
      std::uint32_t alpha = (s >> 28) < 4 ? 0 : (s >> 28) < 10 ? 0xff : (s >> 20) & 0xff;
      p->WritePixel(x, y, alpha << 24 | (s >> 8 & 0xffffff));
    }
  }
  return p;
}

TEST(FrameSheet, CellsGoInRowsWithABorderAndTheSheetIsAPowerOfTwo) {
  FrameSheetLayout layout =
      LayOutFrameSheet({{0, 0, 8, 16}, {0, 0, 0, 0}, {0, 0, 13, 7}, {0, 0, 40, 3}}, 64);
  ASSERT_TRUE(layout.fits);
  ASSERT_EQ(layout.cells.size(), 4u);
  EXPECT_EQ(layout.cells[0].x, 1);
  EXPECT_EQ(layout.cells[0].y, 1);
  EXPECT_EQ(layout.cells[1].width, 0);  // an empty size takes no room
  EXPECT_EQ(layout.cells[2].x, 11);     // after the first cell's 10 pixels
  EXPECT_EQ(layout.cells[2].y, 1);
  EXPECT_EQ(layout.cells[3].x, 1);  // 25 + 42 would pass 64: a new row under the tallest cell
  EXPECT_EQ(layout.cells[3].y, 19);
  EXPECT_EQ(layout.width, 64);  // the 42-pixel row
  EXPECT_EQ(layout.height, 32);

  EXPECT_FALSE(LayOutFrameSheet({{0, 0, 63, 2}}, 64).fits);  // 63 + 2 border pixels
  EXPECT_FALSE(LayOutFrameSheet(std::vector<FrameSheetCell>(5, {0, 0, 30, 30}), 64).fits);
  EXPECT_TRUE(LayOutFrameSheet(std::vector<FrameSheetCell>(4, {0, 0, 30, 30}), 64).fits);
}

TEST(FrameSheet, TheBorderRepeatsTheEdgeAndEmptyCellsStayClear) {
  std::vector<Ref<TPixmap>> pixmaps = {Noise(5, 4, 1), nullptr, Noise(3, 6, 2)};
  FrameSheetLayout layout = LayOutFrameSheet({{0, 0, 5, 4}, {0, 0, 2, 2}, {0, 0, 3, 6}}, 64);
  ASSERT_TRUE(layout.fits);
  Ref<TPixmap> sheet = PaintFrameSheet(pixmaps, layout);
  for (std::size_t i : {std::size_t{0}, std::size_t{2}}) {
    const FrameSheetCell& c = layout.cells[i];
    const Ref<TPixmap>& p = pixmaps[i];
    // Every pixel of the cell and its border reads the pixmap's pixel nearest to it.
    for (int y = -1; y <= c.height; ++y) {
      for (int x = -1; x <= c.width; ++x) {
        const int sx = x < 0 ? 0 : x >= c.width ? c.width - 1 : x;
        const int sy = y < 0 ? 0 : y >= c.height ? c.height - 1 : y;
        ASSERT_EQ(sheet->ReadPixel(c.x + x, c.y + y), p->ReadPixel(sx, sy))
            << "cell " << i << " at " << x << ", " << y;
      }
    }
  }
  const FrameSheetCell& empty = layout.cells[1];
  for (int y = -1; y <= empty.height; ++y) {
    for (int x = -1; x <= empty.width; ++x) {
      EXPECT_EQ(sheet->ReadPixel(empty.x + x, empty.y + y), 0u);
    }
  }
}

using FramesTogether = GLTest;

unsigned TextureOf(const Ref<TImage>& image, int frame = 0) {
  auto* gl = dynamic_cast<TGLImageFrame*>(image->Frame(frame).get());
  return gl ? gl->name : 0;
}

struct Pose {
  float degrees, sx, sy;
};

// Draws every image in a row at the pose, on a cleared screen, off whole pixels.
Ref<TPixmap> DrawAll(const std::vector<Ref<TImage>>& images, const Pose& pose) {
  SetClsColor(20, 30, 40);
  Cls();
  SetBlend(BLEND_ALPHA);
  SetRotationAndScale(pose.degrees, pose.sx, pose.sy);
  float x = 40;
  for (const Ref<TImage>& image : images) {
    PaintImage(image, x + 0.25f, 240.5f);
    x += 100;
  }
  SetRotationAndScale(0, 1, 1);
  return GrabPixmap(0, 0, 640, 480);
}

// Pixels of `a` that `b` does not have at the same place, nor (with `near`) at a neighbour's.
int Unmatched(const Ref<TPixmap>& a, const Ref<TPixmap>& b, bool near) {
  int unmatched = 0;
  for (int y = 1; y < a->height - 1; ++y) {
    for (int x = 1; x < a->width - 1; ++x) {
      bool found = a->ReadPixel(x, y) == b->ReadPixel(x, y);
      for (int dy = -1; near && !found && dy <= 1; ++dy) {
        for (int dx = -1; !found && dx <= 1; ++dx) {
          found = a->ReadPixel(x, y) == b->ReadPixel(x + dx, y + dy);
        }
      }
      unmatched += !found;
    }
  }
  return unmatched;
}

TEST_F(FramesTogether, ShareOneTextureAndDrawAsFramesMadeOneByOne) {
  const int sizes[][2] = {{8, 16}, {13, 7}, {1, 1}, {30, 21}, {8, 16}, {17, 33}};
  std::vector<Ref<TImage>> together, alone;
  unsigned seed = 1;
  for (const auto& size : sizes) {
    Ref<TPixmap> p = Noise(size[0], size[1], seed++);
    together.push_back(ImportImage(p->Copy(), 0));
    alone.push_back(ImportImage(p->Copy(), 0));
    CenterImageHandle(together.back());
    CenterImageHandle(alone.back());
  }
  MakeFramesTogether(together);
  const unsigned shared = TextureOf(together[0]);
  ASSERT_NE(shared, 0u);
  for (const Ref<TImage>& image : together) EXPECT_EQ(TextureOf(image), shared);
  for (const Ref<TImage>& image : alone) EXPECT_NE(TextureOf(image), shared);
  EXPECT_NE(TextureOf(alone[0]), TextureOf(alone[1]));

  // Upright, texel for texel the same. Turned, a sample that falls exactly between two texels may
  // round to the other one; but every pixel is one the lone frames draw there or next door, so no
  // neighbouring cell and no border ever shows.
  for (const Pose& pose : {Pose{0, 1, 1}, Pose{0, 2.5f, 2.5f}, Pose{0, 0.6f, 0.7f}}) {
    EXPECT_EQ(Unmatched(DrawAll(together, pose), DrawAll(alone, pose), false), 0)
        << "scaled " << pose.sx << " x " << pose.sy;
  }
  for (const Pose& pose : {Pose{33, 1, 1}, Pose{90, 1.7f, 1.3f}, Pose{-127, 3.1f, 2.2f}}) {
    EXPECT_EQ(Unmatched(DrawAll(together, pose), DrawAll(alone, pose), true), 0)
        << "turned " << pose.degrees;
  }

  // The shared texture outlives any one of its frames.
  together.erase(together.begin());
  alone.erase(alone.begin());
  EXPECT_EQ(Unmatched(DrawAll(together, {0, 1, 1}), DrawAll(alone, {0, 1, 1}), false), 0);
}

TEST_F(FramesTogether, FilteredFramesKeepATextureEach) {
  std::vector<Ref<TImage>> images = {ImportImage(Noise(8, 8, 1), IMAGE_FILTERED),
                                     ImportImage(Noise(8, 8, 2), IMAGE_FILTERED)};
  MakeFramesTogether(images);
  ASSERT_NE(TextureOf(images[0]), 0u);
  EXPECT_NE(TextureOf(images[0]), TextureOf(images[1]));
}

TEST_F(FramesTogether, TheDefaultFontDrawsFromOneTextureInEveryGraphicsGeneration) {
  for (int generation = 0; generation < 2; ++generation) {
    PaintText("Ab", 10, 10);
    Ref<TImageFont> font = DefaultImageFont();
    const unsigned first = TextureOf(font->LoadGlyph(0)->_image);
    ASSERT_NE(first, 0u);
    for (int g = 1; g < font->CountGlyphs(); ++g) {
      ASSERT_EQ(TextureOf(font->LoadGlyph(g)->_image), first) << "glyph " << g;
    }
    EndGraphicsMode();
    graphics_ = OpenGraphics(640, 480, 0, 0, GFX_BACKBUFFER);
    ASSERT_TRUE(graphics_);
  }
}

}  // namespace
