// Sharp scaling: the whole-multiple size it first repeats the picture's pixels to, and what the
// player sees on a 1280x800 desktop, where the picture is shown 1.67 times its size: every
// pixel's block is solid with soft edges less than a screen pixel wide, where plain smooth
// scaling smears each edge over more.
#include <gtest/gtest.h>

#include "graphics/display_mode.h"
#include "graphics/draw2d.h"
#include "graphics/gl_draw2d.h"
#include "graphics/gl_graphics.h"
#include "graphics/picture_fit.h"
#include "platform/inject.h"

namespace {

void ExpectSize(const PictureRect& r, int width, int height) {
  EXPECT_EQ(r.width, width);
  EXPECT_EQ(r.height, height);
}

TEST(SharpPrescale, IsTheSmallestWholeMultipleThatReachesTheShownSizeAndNoneWhenNoneIsNeeded) {
  ExpectSize(SharpPrescale(640, 480, FitPicture(640, 480, 1280, 800, ScalePolicy::Sharp)), 1280,
             960);
  ExpectSize(SharpPrescale(640, 480, FitPicture(640, 480, 1920, 1080, ScalePolicy::Sharp)), 1920,
             1440);
  ExpectSize(SharpPrescale(640, 480, PictureRect{0, 0, 650, 481}), 1280, 960);
  // Each side by its own factor: a half-width side-by-side view.
  ExpectSize(SharpPrescale(640, 480, PictureRect{0, 0, 720, 1080}), 1280, 1440);
  // Whole multiples are shown sharp as they are; a picture shown smaller is only filtered.
  ExpectSize(SharpPrescale(640, 480, PictureRect{0, 0, 1280, 960}), 0, 0);
  ExpectSize(SharpPrescale(640, 480, PictureRect{0, 0, 640, 480}), 0, 0);
  ExpectSize(SharpPrescale(640, 480, PictureRect{0, 0, 600, 450}), 0, 0);
  ExpectSize(SharpPrescale(640, 480, PictureRect{}), 0, 0);
  // The shown place is what Fit gives.
  const PictureRect fit = FitPicture(640, 480, 1280, 800, ScalePolicy::Fit);
  const PictureRect sharp = FitPicture(640, 480, 1280, 800, ScalePolicy::Sharp);
  EXPECT_EQ(sharp.x, fit.x);
  EXPECT_EQ(sharp.width, fit.width);
  EXPECT_EQ(sharp.height, fit.height);
}

class ScaledDesktop : public ::testing::Test {
 protected:
  void TearDown() override {
    EndGraphicsMode();
    plat_inject_desktop_size(0, 0);
    SetDisplayMode(DisplayMode::Fullscreen);
    SetScalePolicy(ScalePolicy::Fit);
  }

  // Across one row of the shown picture: pixels between black and white, and white ones.
  struct Row {
    int between = 0, white = 0;
  };

  // The picture of 3-pixel white columns 3 pixels apart, shown on a 1280x800 desktop scaled
  // by `policy`; what row 400 of the screen shows inside the picture.
  static Row ShownStripes(ScalePolicy policy) {
    plat_inject_desktop_size(1280, 800);
    SetDisplayMode(DisplayMode::Desktop);
    SetScalePolicy(policy);
    GLRar2ADriver();
    Row row;
    if (!OpenGraphics(640, 480, 32, 0, GFX_BACKBUFFER)) {
      ADD_FAILURE() << "no OpenGL context";
      return row;
    }
    FlipScreen(0);  // the picture's place, and the pictures it needs, follow the first flip
    SetClsColor(0, 0, 0);
    Cls();
    SetColor(255, 255, 255);
    for (int x = 0; x < 640; x += 6) DrawRect(static_cast<float>(x), 0, 3, 480);
    Ref<TPixmap> shown = GrabPresentedWindow();
    GLContextRecord* r = CurrentGLContext();
    if (!shown || !r) {
      ADD_FAILURE() << "nothing shown";
      return row;
    }
    EXPECT_EQ(shown->width, 1280);
    EXPECT_EQ(r->picture.width, 1067);
    for (int x = r->picture.x; x < r->picture.x + r->picture.width; ++x) {
      const int v = static_cast<int>(shown->ReadPixel(x, 400) & 0xff);
      row.between += v > 16 && v < 240;
      row.white += v >= 240;
    }
    EndGraphicsMode();
    return row;
  }
};

TEST_F(ScaledDesktop, SharpScalingKeepsEachPixelSolidWithEdgesSofterThanNearestAndHarderThanFit) {
  const Row fit = ShownStripes(ScalePolicy::Fit);
  const Row sharp = ShownStripes(ScalePolicy::Sharp);
  // 107 white columns of 5 screen pixels: fit leaves few of them white, sharp nearly all.
  EXPECT_GT(sharp.white, 107 * 4);
  EXPECT_LT(fit.white, sharp.white);
  // 213 edges: each one fit smears over more than a pixel, sharp over less than one.
  EXPECT_GT(fit.between, 213);
  EXPECT_LT(sharp.between, 213);
  // Still smooth: an edge that falls inside a screen pixel is blended, not snapped.
  EXPECT_GT(sharp.between, 20);
}

}  // namespace
