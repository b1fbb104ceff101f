// The stereo views of the 2D layer: where the views go in the picture and on screen, each eye's
// part of a frame starting from that eye's own state, the stereo picture put together from the
// views, captures that keep both eyes, a switch of mode that waits for the flip, and the null
// driver playing stereo frames too.
#include <gtest/gtest.h>

#include "gl_fixture.h"
#include "graphics/image_draw.h"
#include "graphics/null_draw2d.h"
#include "graphics/stereo_layout.h"
#include "graphics/view_recorder.h"

namespace {

constexpr StereoMode kModes[] = {StereoMode::SideBySide, StereoMode::SideBySideHalf,
                                 StereoMode::TopBottom};

bool Same(const PictureRect& a, const PictureRect& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

// --- layout -------------------------------------------------------------------------------

TEST(StereoLayout, PicturesHoldBothViewsAndTheHalfModeSqueezesThem) {
  struct Case {
    StereoMode mode;
    int width, height;
    PictureRect left, right;
  };
  const Case cases[] = {
      {StereoMode::Off, 640, 480, {0, 0, 640, 480}, {}},
      {StereoMode::SideBySide, 1280, 480, {0, 0, 640, 480}, {640, 0, 640, 480}},
      {StereoMode::SideBySideHalf, 640, 480, {0, 0, 320, 480}, {320, 0, 320, 480}},
      {StereoMode::TopBottom, 640, 960, {0, 0, 640, 480}, {0, 480, 640, 480}},
  };
  for (const Case& c : cases) {
    const PictureSize size = StereoPictureSize(c.mode, 640, 480);
    EXPECT_EQ(size.width, c.width) << StereoModeName(c.mode);
    EXPECT_EQ(size.height, c.height) << StereoModeName(c.mode);
    const StereoPictureViews views = StereoViewsInPicture(c.mode, 640, 480);
    EXPECT_EQ(views.count, c.mode == StereoMode::Off ? 1 : 2);
    EXPECT_TRUE(Same(views.views[0], c.left)) << StereoModeName(c.mode);
    if (views.count == 2) {
      EXPECT_TRUE(Same(views.views[1], c.right)) << StereoModeName(c.mode);
    }
  }
}

// On a 1920x1080 screen each view takes its half's place, the same in both halves, so that
// hardware splitting the signal lays one over the other; the squeezed modes halve the view's
// width or height on screen, which the TV's stretch gives back.
TEST(StereoLayout, OnScreenEachViewFillsItsHalfAtTheSamePlace) {
  struct Case {
    StereoMode mode;
    ScalePolicy policy;
    PictureRect left, right;
  };
  const Case cases[] = {
      {StereoMode::Off, ScalePolicy::Fit, {240, 0, 1440, 1080}, {}},
      {StereoMode::SideBySide, ScalePolicy::Fit, {0, 180, 960, 720}, {960, 180, 960, 720}},
      {StereoMode::SideBySide, ScalePolicy::Integer, {160, 300, 640, 480}, {1120, 300, 640, 480}},
      {StereoMode::SideBySideHalf, ScalePolicy::Fit, {120, 0, 720, 1080}, {1080, 0, 720, 1080}},
      {StereoMode::SideBySideHalf, ScalePolicy::Integer, {160, 60, 640, 960}, {1120, 60, 640, 960}},
      {StereoMode::TopBottom, ScalePolicy::Fit, {240, 0, 1440, 540}, {240, 540, 1440, 540}},
      {StereoMode::TopBottom, ScalePolicy::Integer, {320, 30, 1280, 480}, {320, 570, 1280, 480}},
  };
  for (const Case& c : cases) {
    const StereoScreen s = PlaceStereoViews(c.mode, 640, 480, 1920, 1080, c.policy);
    const std::string name = StereoModeName(c.mode);
    EXPECT_TRUE(Same(s.views[0], c.left)) << name;
    if (c.mode == StereoMode::Off) {
      EXPECT_EQ(s.count, 1);
      EXPECT_TRUE(Same(s.bounds, c.left));
      continue;
    }
    EXPECT_EQ(s.count, 2);
    EXPECT_TRUE(Same(s.views[1], c.right)) << name;
    const PictureRect& r = c.right;
    EXPECT_TRUE(
        Same(s.bounds, {c.left.x, c.left.y, r.x + r.width - c.left.x, r.y + r.height - c.left.y}))
        << name;
  }
  // An odd width leaves its last column out, so that both halves are alike.
  const StereoScreen odd =
      PlaceStereoViews(StereoMode::SideBySideHalf, 640, 480, 641, 480, ScalePolicy::Fit);
  EXPECT_TRUE(Same(odd.views[0], {0, 0, 320, 480}));
  EXPECT_TRUE(Same(odd.views[1], {320, 0, 320, 480}));
  // No room: nothing to show, and nothing for the pointer to map over.
  const StereoScreen none =
      PlaceStereoViews(StereoMode::SideBySide, 640, 480, 1, 480, ScalePolicy::Fit);
  EXPECT_EQ(none.bounds.width, 0);
  EXPECT_EQ(none.views[1].width, 0);
}

// --- the views on OpenGL ------------------------------------------------------------------

class StereoViews : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    FlipScreen(0);
  }
  void TearDown() override {
    SetStereoMode(StereoMode::Off);
    FlipScreen(0);
    GLTest::TearDown();
  }
  // Chooses the mode and flips, after which it is in use.
  static void Use(StereoMode mode) {
    SetStereoMode(mode);
    FlipScreen(0);
    ASSERT_EQ(StereoModeInUse(), mode);
  }
  static std::uint32_t ViewPixel(StereoEye eye, int x, int y) {
    return GrabEyeView(eye, x, y, 1, 1)->ReadPixel(0, 0) & 0xffffff;
  }
  static std::uint32_t At(const Ref<TPixmap>& p, int x, int y) {
    return p->ReadPixel(x, y) & 0xffffff;
  }
};

// State set for one eye stays that eye's, also across a read-back that splits the frame in two:
// afterwards each eye's part starts from where that eye's part before it ended.
TEST_F(StereoViews, EachEyesPartOfAFrameStartsFromThatEyesOwnState) {
  Use(StereoMode::SideBySide);
  SetClsColor(0, 0, 0);
  Cls();
  SetStereoEye(StereoEye::Left);
  SetColor(255, 0, 0);
  SetStereoEye(StereoEye::Right);
  SetColor(0, 255, 0);
  SetStereoEye(StereoEye::Both);
  DrawRect(10, 10, 20, 20);
  EXPECT_RGB(ViewPixel(StereoEye::Left, 15, 15), 255, 0, 0);  // read back: the frame splits here
  DrawRect(100, 10, 20, 20);
  FlipScreen(0);
  EXPECT_RGB(ViewPixel(StereoEye::Left, 105, 15), 255, 0, 0);
  EXPECT_RGB(ViewPixel(StereoEye::Right, 105, 15), 0, 255, 0);
  EXPECT_RGB(ViewPixel(StereoEye::Right, 15, 15), 0, 255, 0);
  // A clear clears each view only; GrabPixmap reads the left eye's.
  SetClsColor(0, 0, 255);
  Cls();
  SetStereoEye(StereoEye::Right);
  DrawRect(200, 200, 10, 10);
  SetStereoEye(StereoEye::Both);
  EXPECT_RGB(Pixel(205, 205), 0, 0, 255);
  EXPECT_RGB(ViewPixel(StereoEye::Right, 205, 205), 0, 255, 0);
  EXPECT_RGB(ViewPixel(StereoEye::Right, 50, 50), 0, 0, 255);
}

// The stereo picture a screenshot saves: the two views where the mode puts them, squeezed by
// two in side-by-side-half.
TEST_F(StereoViews, TheStereoPictureHoldsEachViewWhereTheModePutsIt) {
  for (StereoMode mode : kModes) {
    Use(mode);
    SetClsColor(0, 0, 0);
    Cls();
    SetStereoEye(StereoEye::Left);
    SetColor(255, 0, 0);
    DrawRect(0, 0, 20, 20);
    SetStereoEye(StereoEye::Right);
    SetColor(0, 255, 0);
    DrawRect(620, 460, 20, 20);
    SetStereoEye(StereoEye::Both);
    SetColor(0, 0, 255);
    DrawRect(300, 200, 40, 40);
    SetColor(255, 255, 255);
    const Ref<TPixmap> p = GrabStereoPicture();
    ASSERT_TRUE(p);
    const PictureSize size = StereoPictureSize(mode, 640, 480);
    ASSERT_EQ(p->width, size.width);
    ASSERT_EQ(p->height, size.height);
    const std::string name = StereoModeName(mode);
    const StereoPictureViews places = StereoViewsInPicture(mode, 640, 480);
    // A picture point (x, y) of one view, in the stereo picture.
    auto in = [&](int view, int x, int y) {
      const PictureRect& v = places.views[view];
      return At(p, v.x + x * v.width / 640, v.y + y * v.height / 480);
    };
    EXPECT_EQ(in(0, 5, 5), 0xff0000u) << name;
    EXPECT_EQ(in(1, 5, 5), 0u) << name;
    EXPECT_EQ(in(1, 635, 475), 0x00ff00u) << name;
    EXPECT_EQ(in(0, 635, 475), 0u) << name;
    EXPECT_EQ(in(0, 320, 220), 0x0000ffu) << name;
    EXPECT_EQ(in(1, 320, 220), 0x0000ffu) << name;
    FlipScreen(0);
  }
}

// A capture in stereo keeps what each eye saw and shows each eye its own; a SetPixmap forgets
// the right eye's.
TEST_F(StereoViews, ACaptureKeepsBothEyesViewsAndShowsEachEyeItsOwn) {
  Use(StereoMode::TopBottom);
  SetClsColor(0, 0, 0);
  Cls();
  SetStereoEye(StereoEye::Left);
  SetColor(255, 0, 0);
  DrawRect(0, 0, 16, 16);
  SetStereoEye(StereoEye::Right);
  SetColor(0, 255, 0);
  DrawRect(0, 0, 16, 16);
  SetStereoEye(StereoEye::Both);
  SetColor(255, 255, 255);
  Ref<TImage> image = NewImage(16, 16, 1, 0);
  CaptureImage(image, 0, 0, 0);
  FlipScreen(0);

  Cls();
  SetBlend(BLEND_SOLID);
  PaintImage(image, 100, 100);
  // Drawn for the right eye alone, it is the right eye's capture.
  SetStereoEye(StereoEye::Right);
  PaintImage(image, 200, 100);
  SetStereoEye(StereoEye::Both);
  EXPECT_RGB(ViewPixel(StereoEye::Left, 108, 108), 255, 0, 0);
  EXPECT_RGB(ViewPixel(StereoEye::Right, 108, 108), 0, 255, 0);
  EXPECT_RGB(ViewPixel(StereoEye::Right, 208, 108), 0, 255, 0);
  EXPECT_RGB(ViewPixel(StereoEye::Left, 208, 108), 0, 0, 0);

  image->SetPixmap(0, image->Lock(0, true, false));
  FlipScreen(0);
  Cls();
  PaintImage(image, 100, 100);
  EXPECT_RGB(ViewPixel(StereoEye::Right, 108, 108), 255, 0, 0);
}

// A mode chosen in the middle of a frame is used from the next frame on; switched off, drawing
// goes straight to the driver again and there are no views.
TEST_F(StereoViews, AModeChosenMidFrameTakesEffectAtTheFlip) {
  SetStereoMode(StereoMode::SideBySide);
  EXPECT_EQ(StereoModeInUse(), StereoMode::Off);
  EXPECT_EQ(Current2DDriver(), GLRar2ADriver());
  EXPECT_FALSE(GrabEyeView(StereoEye::Left, 0, 0, 1, 1));
  FlipScreen(0);
  EXPECT_EQ(StereoModeInUse(), StereoMode::SideBySide);
  EXPECT_NE(Current2DDriver(), GLRar2ADriver());
  ASSERT_TRUE(GrabEyeView(StereoEye::Right, 0, 0, 1, 1));
  // The state carries over into the views: the colour set before the switch draws in both.
  SetStereoMode(StereoMode::Off);
  SetClsColor(0, 0, 0);
  Cls();
  DrawRect(0, 0, 10, 10);
  EXPECT_RGB(ViewPixel(StereoEye::Right, 5, 5), 255, 255, 255);
  FlipScreen(0);
  EXPECT_EQ(StereoModeInUse(), StereoMode::Off);
  EXPECT_EQ(Current2DDriver(), GLRar2ADriver());
  EXPECT_FALSE(GrabEyeView(StereoEye::Left, 0, 0, 1, 1));
  Cls();
  SetColor(0, 0, 255);
  DrawRect(0, 0, 10, 10);
  EXPECT_RGB(Pixel(5, 5), 0, 0, 255);
  EXPECT_EQ(GrabStereoPicture()->width, 640);
}

// --- the null driver ----------------------------------------------------------------------

// Replays and soaks run stereo frames on the null driver: each is played into both views.
TEST(NullStereoViews, FramesArePlayedIntoBothViewsAndPicturesHaveTheModesSize) {
  TNullRar2ADriver* driver = NullRar2ADriver();
  SelectGraphicsDriver(driver, GFX_BACKBUFFER);
  SetStereoMode(StereoMode::TopBottom);
  ASSERT_TRUE(OpenGraphics(640, 480, 32, 60, 0));
  EXPECT_EQ(StereoModeInUse(), StereoMode::TopBottom);
  const long long before = driver->draws;
  DrawRect(0, 0, 10, 10);  // both eyes
  SetStereoEye(StereoEye::Left);
  DrawRect(0, 0, 10, 10);
  SetStereoEye(StereoEye::Both);
  EXPECT_EQ(driver->draws, before) << "drawn before the flip";
  FlipScreen(0);
  EXPECT_EQ(driver->draws, before + 3);
  EXPECT_EQ(driver->view, StereoEye::Right);
  const Ref<TPixmap> picture = GrabStereoPicture();
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 640);
  EXPECT_EQ(picture->height, 960);
  SetStereoMode(StereoMode::Off);
  FlipScreen(0);
  EXPECT_EQ(driver->view, StereoEye::Both);
  EndGraphicsMode();
}

}  // namespace
