// The 2D layer over OpenGL, drawn into the offscreen back buffer and read back.
#include <vector>

#include "gl_fixture.h"
#include "graphics/font.h"
#include "graphics/image_draw.h"

namespace {

using Draw2D = GLTest;

TEST_F(Draw2D, EachBlendModeOnKnownPixels) {
  SetClsColor(100, 100, 100);
  Cls();
  SetColor(200, 50, 0);
  struct Case {
    int mode;
    float alpha;
    int r, g, b;
  } cases[] = {
      {BLEND_MASK, 1.0f, 200, 50, 0},     // alpha at least 0.5: drawn opaque
      {BLEND_MASK, 0.2f, 100, 100, 100},  // below 0.5: nothing
      {BLEND_SOLID, 0.2f, 200, 50, 0},    // alpha ignored
      {BLEND_ALPHA, 0.5f, 150, 75, 50},   // 200 x 127/255 + 100 x 128/255
      {BLEND_LIGHT, 0.5f, 200, 125, 100},
      {BLEND_SHADE, 1.0f, 78, 20, 0},  // 100 x 200/255, 100 x 50/255, 100 x 0
      {99, 0.2f, 200, 50, 0},          // unknown modes draw solid
  };
  int x = 10;
  for (const Case& c : cases) {
    SetBlend(c.mode);
    SetAlpha(c.alpha);
    DrawRect(static_cast<float>(x), 10, 10, 10);
    std::uint32_t p = Pixel(x + 5, 15);
    EXPECT_TRUE(Near(p, c.r, c.g, c.b)) << "mode " << c.mode << ": 0x" << std::hex << p;
    x += 20;
  }
  EXPECT_EQ(QueryBlend(), 99);
}

TEST_F(Draw2D, ColourIsClampedWhenDrawnButStoredAsGiven) {
  SetBlend(BLEND_SOLID);
  SetColor(300, -5, 128);
  DrawRect(0, 0, 4, 4);
  EXPECT_RGB(Pixel(1, 1), 255, 0, 128);
  int r, g, b;
  QueryColor(r, g, b);
  EXPECT_EQ(r, 300);
  EXPECT_EQ(g, -5);
  EXPECT_EQ(b, 128);
}

TEST_F(Draw2D, AlphaIsClampedToAByte) {
  SetBlend(BLEND_ALPHA);
  const struct {
    float alpha;
    int level;
  } cases[] = {{1.5f, 255}, {-0.2f, 0}, {0.5f, 127}};
  int x = 0;
  for (auto c : cases) {
    SetClsColor(0, 0, 0);
    Cls();
    SetAlpha(c.alpha);
    DrawRect(static_cast<float>(x), 0, 4, 4);
    EXPECT_RGB(Pixel(x + 1, 1), c.level, c.level, c.level);
    x += 10;
  }
}

TEST_F(Draw2D, RotationTurnsClockwise) {
  SetBlend(BLEND_SOLID);
  SetRotation(90);
  DrawRect(100, 100, 10, 2);  // (10, 0) lands below the start, (0, 2) to its left
  EXPECT_RGB(Pixel(99, 105), 255, 255, 255);
  EXPECT_RGB(Pixel(105, 101), 0, 0, 0);
  EXPECT_RGB(Pixel(101, 105), 0, 0, 0);
  SetRotation(0);
}

TEST_F(Draw2D, DrawHandleAndOriginMoveShapes) {
  SetBlend(BLEND_SOLID);
  SetDrawHandle(4, 4);
  DrawRect(10, 10, 2, 2);  // fills (6, 6) to (8, 8), exclusive
  EXPECT_RGB(Pixel(6, 6), 255, 255, 255);
  EXPECT_RGB(Pixel(7, 7), 255, 255, 255);
  EXPECT_RGB(Pixel(8, 8), 0, 0, 0);
  EXPECT_RGB(Pixel(5, 6), 0, 0, 0);
  SetDrawHandle(0, 0);
  SetOrigin(100, 50);
  Plot(1, 1);
  EXPECT_RGB(Pixel(101, 51), 255, 255, 255);
  SetOrigin(0, 0);
}

TEST_F(Draw2D, ViewportScissors) {
  SetViewport(10, 20, 100, 50);
  SetClsColor(255, 0, 0);
  Cls();
  EXPECT_RGB(Pixel(15, 25), 255, 0, 0);
  EXPECT_RGB(Pixel(109, 69), 255, 0, 0);
  EXPECT_RGB(Pixel(5, 25), 0, 0, 0);
  EXPECT_RGB(Pixel(110, 25), 0, 0, 0);
  EXPECT_RGB(Pixel(15, 70), 0, 0, 0);
  SetViewport(0, 0, 640, 480);
  Cls();
  EXPECT_RGB(Pixel(5, 5), 255, 0, 0);
}

TEST_F(Draw2D, GrabbedRowZeroIsTheTopAndPixmapsDrawUntransformed) {
  SetBlend(BLEND_SOLID);
  SetColor(0, 255, 0);
  DrawRect(0, 0, 640, 1);
  Ref<TPixmap> screen = GrabPixmap(0, 0, 640, 480);
  EXPECT_EQ(screen->ReadPixel(320, 0) & 0xffffff, 0x00ff00u);
  EXPECT_EQ(screen->ReadPixel(320, 1) & 0xffffff, 0u);

  Ref<TPixmap> p = TPixmap::Create(2, 2, FORMAT_RGB888, 4);
  p->WritePixel(0, 0, 0xffff0000);
  p->WritePixel(1, 0, 0xff00ff00);
  p->WritePixel(0, 1, 0xff0000ff);
  p->WritePixel(1, 1, 0xffffffff);
  SetRotationAndScale(45, 3, 3);  // ignored by DrawPixmap
  SetColor(10, 10, 10);
  DrawPixmap(p, 200, 100);
  SetRotationAndScale(0, 1, 1);
  EXPECT_RGB(Pixel(200, 100), 255, 0, 0);
  EXPECT_RGB(Pixel(201, 100), 0, 255, 0);
  EXPECT_RGB(Pixel(200, 101), 0, 0, 255);
  EXPECT_RGB(Pixel(202, 102), 0, 0, 0);
}

TEST_F(Draw2D, SecondActivationResendsStateWithoutClearing) {
  SetBlend(BLEND_SOLID);
  SetColor(255, 0, 0);
  DrawRect(0, 0, 4, 4);
  SetGraphics(nullptr);
  SetGraphics(graphics_.get());
  EXPECT_RGB(Pixel(1, 1), 255, 0, 0);  // not cleared again
  DrawRect(10, 0, 4, 4);               // colour and blend were re-sent
  EXPECT_RGB(Pixel(11, 1), 255, 0, 0);
}

TEST_F(Draw2D, OvalSegments) {
  EXPECT_EQ(OvalSegments(2, 2), 12);
  EXPECT_EQ(OvalSegments(50, 30), 80);
  EXPECT_EQ(OvalSegments(-7, 8), 12);
  EXPECT_EQ(OvalSegments(9, 9), 16);  // 18 rounded down to a multiple of 4
  SetBlend(BLEND_SOLID);
  DrawOval(100, 100, 100, 60);
  EXPECT_RGB(Pixel(150, 130), 255, 255, 255);
  EXPECT_RGB(Pixel(102, 102), 0, 0, 0);  // outside the ellipse, inside its box
}

TEST_F(Draw2D, LinesAndPolygons) {
  SetBlend(BLEND_SOLID);
  DrawLine(10, 50, 30, 50);
  EXPECT_RGB(Pixel(20, 50), 255, 255, 255);
  EXPECT_RGB(Pixel(30, 50), 255, 255, 255);  // the last pixel is plotted
  DrawPoly({100, 100, 140, 100, 100, 140});
  EXPECT_RGB(Pixel(105, 105), 255, 255, 255);
  EXPECT_RGB(Pixel(135, 135), 0, 0, 0);
  DrawPoly({200, 200, 240, 200});  // fewer than three points: nothing
  EXPECT_RGB(Pixel(220, 200), 0, 0, 0);
}

TEST_F(Draw2D, TextAdvancesAlongTheTransform) {
  // Every glyph has only its leftmost column set.
  std::vector<unsigned char> bits(1536, 0);
  for (int row = 1; row < 13; ++row) {
    for (int g = 1; g < 96; ++g) bits[96 * row + g] = 0x01;
  }
  UseImageFont(TImageFont::CreateFromBitmap(bits));
  SetBlend(BLEND_MASK);
  SetDrawScale(2, 2);
  PaintText("AB", 100, 100);
  EXPECT_RGB(Pixel(100, 110), 255, 255, 255);
  EXPECT_RGB(Pixel(101, 110), 255, 255, 255);  // the column is two pixels wide
  EXPECT_RGB(Pixel(102, 110), 0, 0, 0);
  EXPECT_RGB(Pixel(116, 110), 255, 255, 255);  // the second glyph, 16 pixels on
  EXPECT_RGB(Pixel(100, 100), 0, 0, 0);        // row 0 is blank
  EXPECT_EQ(MeasureTextWidth("AB"), 16);       // measuring ignores the scale
  EXPECT_EQ(MeasureTextWidth("A\tB\x80"), 16);
  EXPECT_EQ(MeasureTextHeight("anything"), 16);
  SetDrawScale(1, 1);
  UseImageFont(nullptr);
  EXPECT_EQ(CurrentImageFont(), DefaultImageFont());
}

TEST_F(Draw2D, SolidTextFillsWholeCells) {
  std::vector<unsigned char> bits(1536, 0);
  UseImageFont(TImageFont::CreateFromBitmap(bits));
  SetClsColor(50, 50, 50);
  Cls();
  SetBlend(BLEND_SOLID);
  PaintText("A", 10, 10);
  EXPECT_RGB(Pixel(17, 25), 0, 0, 0);     // the cell, black where no bit is set
  EXPECT_RGB(Pixel(18, 25), 50, 50, 50);  // outside it
  UseImageFont(nullptr);
}

}  // namespace
