// The default font from the embedded bitmap, and PNG screenshots of what was drawn.
#include <filesystem>

#include "gl_fixture.h"
#include "graphics/font.h"
#include "graphics/pixmap_loader.h"
#include "graphics/png_saver.h"

namespace {

using DefaultFont = GLTest;

// Counts the lit pixels of the 8 x 16 cell at (x, y).
int LitInCell(const Ref<TPixmap>& screen, int x, int y) {
  int lit = 0;
  for (int row = 0; row < 16; ++row) {
    for (int col = 0; col < 8; ++col) lit += (screen->ReadPixel(x + col, y + row) & 0xffffff) != 0;
  }
  return lit;
}

TEST_F(DefaultFont, MetricsAndGlyphs) {
  EXPECT_EQ(MeasureTextWidth("Score: 123"), 80);
  EXPECT_EQ(MeasureTextWidth("Tab\there\x81"), 56);
  EXPECT_EQ(MeasureTextHeight(""), 16);
  Ref<TImageFont> font = DefaultImageFont();
  EXPECT_EQ(font->CountGlyphs(), 96);
  EXPECT_EQ(font->CharToGlyph(31), -1);
  EXPECT_EQ(font->CharToGlyph(128), -1);
  EXPECT_EQ(font->CharToGlyph('A'), 33);

  SetBlend(BLEND_MASK);
  PaintText("A B", 0, 0);
  Ref<TPixmap> screen = GrabPixmap(0, 0, 24, 16);
  EXPECT_GT(LitInCell(screen, 0, 0), 10);  // the glyphs come from the embedded bitmap
  EXPECT_EQ(LitInCell(screen, 8, 0), 0);   // space is blank
  EXPECT_GT(LitInCell(screen, 16, 0), 10);
  for (int x = 0; x < 24; ++x) {
    EXPECT_EQ(screen->ReadPixel(x, 0) & 0xffffff, 0u);   // row 0 is blank
    EXPECT_EQ(screen->ReadPixel(x, 13) & 0xffffff, 0u);  // and so are rows 13 to 15
  }
}

TEST_F(DefaultFont, ScreenshotsRoundTripThroughPNG) {
  SetBlend(BLEND_SOLID);
  SetColor(255, 128, 0);
  DrawRect(10, 10, 30, 20);
  Ref<TPixmap> shot = GrabPixmap(0, 0, 640, 480);
  std::string path = (std::filesystem::temp_directory_path() / "zx_shot_test.png").string();
  ASSERT_TRUE(SavePixmapPNG(shot, path));
  Ref<TPixmap> back = LoadPixmap(path);
  std::filesystem::remove(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 640);
  EXPECT_EQ(back->height, 480);
  EXPECT_EQ(back->ReadPixel(20, 20) & 0xffffff, 0xff8000u);
  EXPECT_EQ(back->ReadPixel(5, 5) & 0xffffff, 0u);
  EXPECT_FALSE(SavePixmapPNG(shot, "/nonexistent-folder/shot.png"));
}

}  // namespace
