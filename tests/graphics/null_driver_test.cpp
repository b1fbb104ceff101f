// The null 2D driver: the layer's state and queries as on OpenGL, frames for images, black grabs,
// input through its virtual window, collisions on pixmaps.
#include <gtest/gtest.h>

#include "graphics/collision.h"
#include "graphics/draw2d.h"
#include "graphics/image_draw.h"
#include "graphics/null_draw2d.h"
#include "graphics/null_graphics.h"
#include "graphics/transform.h"
#include "platform/inject.h"
#include "system/polled_input.h"

namespace {

class NullDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    driver_ = NullRar2ADriver();
    SelectGraphicsDriver(driver_, GFX_BACKBUFFER);
    graphics_ = OpenGraphics(640, 480, 32, 60, 0);
    ASSERT_TRUE(graphics_);
  }
  void TearDown() override { EndGraphicsMode(); }

  TNullRar2ADriver* driver_ = nullptr;
  Ref<TGraphics> graphics_;
};

TEST_F(NullDriver, ContextHasItsSettingsAndAVirtualWindow) {
  EXPECT_EQ(ContextWidth(), 640);
  EXPECT_EQ(ContextHeight(), 480);
  EXPECT_EQ(ContextDepth(), 32);
  EXPECT_EQ(ContextHertz(), 60);
  EXPECT_EQ(ContextFlags(), GFX_BACKBUFFER);
  EXPECT_NE(CurrentNullWindow(), 0u);
  EXPECT_EQ(Current2DDriver(), driver_);
  EXPECT_TRUE(GraphicsModeExists(640, 480, 32, 60));
  EXPECT_FALSE(driver_->ReadsBackPixels());
  EndGraphicsMode();
  EXPECT_EQ(CurrentNullWindow(), 0u);
  EXPECT_EQ(ContextWidth(), 0);
}

TEST_F(NullDriver, StateIsStoredAsGivenAndSentClamped) {
  SetColor(300, -5, 128);
  SetAlpha(1.5f);
  SetBlend(BLEND_LIGHT);
  SetClsColor(-1, 20, 999);
  SetViewport(10, 20, 100, 50);
  SetLineWidth(3);
  int r, g, b;
  QueryColor(r, g, b);
  EXPECT_EQ(r, 300);
  EXPECT_EQ(g, -5);
  EXPECT_EQ(b, 128);
  EXPECT_EQ(QueryAlpha(), 1.5f);
  EXPECT_EQ(QueryBlend(), BLEND_LIGHT);
  QueryClsColor(r, g, b);
  EXPECT_EQ(r, -1);
  EXPECT_EQ(b, 999);
  int x, y, w, h;
  QueryViewport(x, y, w, h);
  EXPECT_EQ(x + y + w + h, 180);
  EXPECT_EQ(QueryLineWidth(), 3);

  EXPECT_EQ(driver_->color[0], 255);
  EXPECT_EQ(driver_->color[1], 0);
  EXPECT_EQ(driver_->color[2], 128);
  EXPECT_EQ(driver_->color[3], 255);
  EXPECT_EQ(driver_->blend, BLEND_LIGHT);
  EXPECT_EQ(driver_->cls_color[0], 0);
  EXPECT_EQ(driver_->cls_color[2], 255);
  EXPECT_EQ(driver_->viewport[2], 100);
  EXPECT_EQ(driver_->line_width, 3);
}

TEST_F(NullDriver, TransformAndHandlesReachTheDriverAndTheCollisionTransform) {
  SetRotation(90);
  EXPECT_NEAR(driver_->transform[0], 0, 1e-6);
  EXPECT_NEAR(driver_->transform[2], 1, 1e-6);  // (1, 0) lands at (0, 1): clockwise
  SetRotationAndScale(0, 2, 3);
  EXPECT_EQ(driver_->transform[0], 2);
  EXPECT_EQ(driver_->transform[3], 3);
  EXPECT_EQ(CurrentTransformState().tform_jy, 3);
  SetDrawHandle(4, 5);
  float hx, hy;
  QueryHandle(hx, hy);
  EXPECT_EQ(hx, 4);
  EXPECT_EQ(hy, 5);
}

TEST_F(NullDriver, ImagesGetFramesAndGrabsAreOpaqueBlack) {
  Ref<TImage> image = NewImage(12, 7, 2, 0);
  Ref<TImageFrame> frame = image->Frame(1);
  ASSERT_TRUE(frame);
  auto* null_frame = dynamic_cast<TNullImageFrame*>(frame.get());
  ASSERT_NE(null_frame, nullptr);
  EXPECT_EQ(null_frame->width, 12);
  EXPECT_EQ(null_frame->height, 7);
  EXPECT_EQ(image->Frame(1).get(), frame.get());  // kept while the generation lasts
  const long long before = driver_->draws;
  PaintImage(image, 10, 10, 1);
  DrawRect(0, 0, 5, 5);
  EXPECT_EQ(driver_->draws, before + 2);

  Ref<TPixmap> grab = GrabPixmap(3, 4, 5, 6);
  ASSERT_TRUE(grab);
  EXPECT_EQ(grab->width, 5);
  EXPECT_EQ(grab->height, 6);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(grab->ReadPixel(x, y), 0xff000000u);
  }
  EXPECT_FALSE(GrabPixmap(0, 0, 0, 4));
}

TEST_F(NullDriver, CollisionsCompareThePixmaps) {
  Ref<TImage> block = NewImage(8, 8, 1, 0);
  Ref<TPixmap> pixels = block->Lock(0, false, true);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) pixels->WritePixel(x, y, x < 4 ? 0xffffffffu : 0u);
  }
  EXPECT_TRUE(ImagesOverlap(block, 0, 0, 0, block, 3, 0, 0));
  EXPECT_FALSE(ImagesOverlap(block, 0, 0, 0, block, 4, 0, 0));
}

TEST_F(NullDriver, InputReachesPolledInputThroughTheVirtualWindow) {
  const std::uint32_t window = CurrentNullWindow();
  ASSERT_TRUE(plat_inject_key(window, 32, true));
  ASSERT_TRUE(plat_inject_mouse_move(window, 123, 45));
  ASSERT_TRUE(plat_inject_mouse_button(window, 1, true));
  EXPECT_EQ(KeyHits(32), 1);
  EXPECT_EQ(MousePosX(), 123);
  EXPECT_EQ(MousePosY(), 45);
  EXPECT_EQ(MouseHits(1), 1);
  ASSERT_TRUE(plat_inject_close(window));
  EXPECT_EQ(AppCloseRequested(), 1);
}

}  // namespace
