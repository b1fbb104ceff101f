// Drawing commands with no graphics context open: they do nothing, and queries answer the
// defaults, so a program that draws before opening its window does not crash.
#include <gtest/gtest.h>

#include "graphics/draw2d.h"
#include "graphics/font.h"
#include "graphics/gl_draw2d.h"
#include "graphics/image_commands.h"
#include "graphics/image_draw.h"

namespace {

TEST(DrawWithoutContext, CommandsAreIgnoredAndQueriesGiveTheDefaults) {
  GLRar2ADriver();
  EndGraphicsMode();
  ASSERT_EQ(TRar2AGraphics::Current(), nullptr);
  ASSERT_EQ(Current2DDriver(), nullptr);

  SetColor(1, 2, 3);
  SetAlpha(0.25f);
  SetBlend(BLEND_LIGHT);
  SetClsColor(9, 9, 9);
  SetLineWidth(4);
  SetViewport(1, 2, 3, 4);
  Cls();
  Plot(1, 1);
  DrawRect(0, 0, 5, 5);
  DrawLine(0, 0, 5, 5);
  DrawOval(0, 0, 5, 5);
  DrawPoly({0, 0, 5, 0, 5, 5});
  DrawPixmap(TPixmap::Create(2, 2, FORMAT_RGBA8888, 4), 0, 0);
  PaintText("no window", 0, 0);
  UseImageFont(nullptr);
  Ref<TImage> image = ImportImage(TPixmap::Create(4, 4, FORMAT_RGBA8888, 4), 0);
  ASSERT_TRUE(image);
  PaintImageTiled(image, 0, 0);
  EXPECT_EQ(GrabPixmap(0, 0, 4, 4), nullptr);

  int r, g, b, x, y, w, h;
  QueryColor(r, g, b);
  EXPECT_EQ(r + g + b, 3 * 255);
  EXPECT_EQ(QueryAlpha(), 1.0f);
  EXPECT_EQ(QueryBlend(), BLEND_MASK);
  QueryClsColor(r, g, b);
  EXPECT_EQ(r + g + b, 0);
  QueryViewport(x, y, w, h);
  EXPECT_EQ(x + y + w + h, 0);
  EXPECT_EQ(QueryLineWidth(), 1.0f);
  EXPECT_EQ(CurrentImageFont(), DefaultImageFont());
  EXPECT_EQ(MeasureTextWidth("ab"), 16);  // measuring needs no window
}

}  // namespace
