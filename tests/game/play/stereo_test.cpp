// The stereo modes in the real game: each eye's view is the flat frame with every 3D drawing moved
// to where that eye sees it (checked against the flat mode's own drawing, one eye at a time), the
// game plays the same in every mode, what is drawn once is the same in both views, the pause
// backdrop keeps each eye's view, F12 saves the stereo picture, and on a 1920x1080 desktop the
// views sit in their halves of the screen with black bars around them.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <vector>

#include "game/config/colour_mode.h"
#include "game/play/anaglyph.h"
#include "game/replay/state_hash.h"
#include "graphics/display_mode.h"
#include "graphics/frame_overlay.h"
#include "graphics/gl_graphics.h"
#include "graphics/pixmap_loader.h"
#include "graphics/stereo_layout.h"
#include "graphics/view_recorder.h"
#include "platform/inject.h"
#include "system/polled_input.h"
#include "tests/game/aim_script.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr int kSpace = 32, kF12 = 123;
constexpr StereoMode kStereoModes[] = {StereoMode::SideBySide, StereoMode::SideBySideHalf,
                                       StereoMode::TopBottom};

std::string TestName(const ::testing::TestParamInfo<StereoMode>& info) {
  std::string name = StereoModeName(info.param);
  for (char& c : name) c = c == '-' ? '_' : c;
  return name;
}

// How many pixels differ, and where the first one is.
struct Difference {
  int count = 0, x = -1, y = -1;
};
Difference Compare(const Ref<TPixmap>& a, const Ref<TPixmap>& b, int dx = 0, int x0 = 0, int y0 = 0,
                   int x1 = 640, int y1 = 480) {
  Difference d;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      if ((a->ReadPixel(x, y) & 0xffffff) == (b->ReadPixel(x + dx, y) & 0xffffff)) continue;
      if (d.count++ == 0) d.x = x, d.y = y;
    }
  }
  return d;
}
std::ostream& operator<<(std::ostream& os, const Difference& d) {
  return os << d.count << " pixels differ, the first at (" << d.x << ", " << d.y << ")";
}

int LitPixels(const Ref<TPixmap>& p, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
  if (x1 < 0) x1 = p->width;
  if (y1 < 0) y1 = p->height;
  int lit = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) lit += (p->ReadPixel(x, y) & 0xffffff) != 0;
  }
  return lit;
}

// Moves the pointer over the middle of a picture pixel, wherever the window shows the picture.
void MoveInPicture(int x, int y) {
  const PictureRect& p = CurrentGLContext()->picture;
  HarnessMoveMouse(p.x + static_cast<int>((x + 0.5) * p.width / 640),
                   p.y + static_cast<int>((y + 0.5) * p.height / 480));
}

class StereoGame : public GameTest {
 protected:
  void SetUp() override { plat_inject_desktop_size(1920, 1080); }
  void TearDown() override {
    GameTest::TearDown();
    SetStereoMode(StereoMode::Off);
    SetColourMode(ColourMode::Anaglyph);
    SetFlatEye(StereoEye::Both);
    SetDisplayMode(DisplayMode::Fullscreen);
  }

  // A game with one seed and one script, on the desktop (where the flat picture too is drawn
  // offscreen, as each view is: the same rasteriser's fill rules): 25 frames of the title, then
  // the aiming script through the get-ready sequence into play. Each eye's view at a few frames
  // (off: the one picture) and the state hash every 30 frames.
  struct Run {
    std::vector<Ref<TPixmap>> left, right;
    std::vector<std::uint64_t> hashes;
  };
  Run Play(StereoMode mode, StereoEye flat_eye) {
    SetDisplayMode(DisplayMode::Desktop);
    SetStereoMode(mode);
    SetColourMode(ColourMode::Flat);
    SetFlatEye(flat_eye);
    if (!folder_.empty()) fs::remove(folder_ / "data" / "hiscore.dat");  // the same best score
    HarnessOptions options;
    options.folder = folder_.empty() ? MakeFolder().string() : folder_.string();
    options.seed = 4242;
    HarnessStart(options);
    Run run;
    bool grab = false;
    // Before the frame is shown: what the views hold then is the frame.
    HarnessOnFlip([&] {
      if (!grab) return;
      grab = false;
      if (mode == StereoMode::Off) {
        run.left.push_back(GrabPixmap(0, 0, 640, 480));
      } else {
        run.left.push_back(GrabEyeView(StereoEye::Left, 0, 0, 640, 480));
        run.right.push_back(GrabEyeView(StereoEye::Right, 0, 0, 640, 480));
      }
    });
    AimScript aim;
    aim.movepointer = MoveInPicture;
    for (int frame = 1; frame <= 420; ++frame) {
      if (frame > 25) aim.Step();
      // The title; the get-ready caption; play, with bees, shots and the HUD.
      grab = frame == 25 || frame == 200 || frame == 400;
      if (!HarnessFrame()) break;
      if (frame % 30 == 0) run.hashes.push_back(GameStateHash());
    }
    HarnessStop();
    return run;
  }
};

// The flat frame drawn as each eye sees it is what each view must hold, pixel for pixel; and the
// scripted game ends in the same state in every mode.
TEST_F(StereoGame, EachViewIsTheFlatFrameWithItsEyesPlacesAndTheGameIsTheSame) {
  const Run left = Play(StereoMode::Off, StereoEye::Left);
  const Run right = Play(StereoMode::Off, StereoEye::Right);
  ASSERT_EQ(left.left.size(), 3u);
  ASSERT_EQ(right.left.size(), 3u);
  ASSERT_EQ(left.hashes.size(), 14u);
  EXPECT_EQ(right.hashes, left.hashes);
  // The eyes' pictures differ (the depth), yet not by much (the same frame).
  for (std::size_t shot = 0; shot < 3; ++shot) {
    const Difference d = Compare(left.left[shot], right.left[shot]);
    EXPECT_GT(d.count, 100) << "shot " << shot;
    EXPECT_LT(d.count, 640 * 480 / 4) << "shot " << shot;
    EXPECT_GT(LitPixels(left.left[shot]), 2000) << "shot " << shot;
  }
  for (StereoMode mode : kStereoModes) {
    const Run stereo = Play(mode, StereoEye::Both);
    EXPECT_EQ(stereo.hashes, left.hashes) << StereoModeName(mode);
    ASSERT_EQ(stereo.left.size(), 3u);
    ASSERT_EQ(stereo.right.size(), 3u);
    for (std::size_t shot = 0; shot < 3; ++shot) {
      ASSERT_TRUE(stereo.left[shot] && stereo.right[shot]);
      EXPECT_EQ(Compare(stereo.left[shot], left.left[shot]).count, 0)
          << StereoModeName(mode) << " left view, shot " << shot << ": "
          << Compare(stereo.left[shot], left.left[shot]);
      EXPECT_EQ(Compare(stereo.right[shot], right.left[shot]).count, 0)
          << StereoModeName(mode) << " right view, shot " << shot << ": "
          << Compare(stereo.right[shot], right.left[shot]);
    }
  }
}

// Drawn once: the frame overlay (F11) and the side bars are the same in both views. The HUD is
// drawn in depth, as its red/cyan pair is: it reads the same in both views, the left eye's two
// pixels right and the right eye's two pixels left of where the flat HUD is.
TEST_F(StereoGame, WhatIsDrawnOnceIsTheSameInBothViewsAndTheHudReadsTheSame) {
  SetStereoMode(StereoMode::SideBySide);
  Start();
  clearentities();
  // Nothing behind the HUD: the stars go under the side bar, where none wraps round to the top.
  WalkList<starfield_tag>(*playfield.starlist, [](starfield_tag* star) {
    star->x = 5;
    star->y = 240;
  });
  ShowFrameOverlay(true);
  HarnessRun(2);
  ShowFrameOverlay(false);
  const Ref<TPixmap> left = GrabEyeView(StereoEye::Left, 0, 0, 640, 480);
  const Ref<TPixmap> right = GrabEyeView(StereoEye::Right, 0, 0, 640, 480);
  ASSERT_TRUE(left && right);
  // The overlay's panel over the left side bar; the right side bar below the HUD.
  EXPECT_GT(LitPixels(left, 0, 0, 80, 120), 50) << "no overlay drawn";
  EXPECT_EQ(Compare(left, right, 0, 0, 0, 80, 480).count, 0) << Compare(left, right, 0, 0, 0, 80);
  EXPECT_EQ(Compare(left, right, 0, 560, 50, 640, 480).count, 0);
  // The HUD's labels and digits.
  EXPECT_GT(LitPixels(left, 84, 0, 560, 40), 300);
  EXPECT_EQ(Compare(left, right, -4, 84, 0, 560, 40).count, 0)
      << Compare(left, right, -4, 84, 0, 560, 40);
  EXPECT_GT(Compare(left, right, 0, 84, 0, 560, 40).count, 100) << "the HUD has no depth";
}

// The rectangle of the pixels passing `pick`, and how many there are.
struct Box {
  int left = 1 << 20, right = -1, top = 1 << 20, bottom = -1, count = 0;
  float CentreX() const { return (left + right) / 2.0f; }
  float CentreY() const { return (top + bottom) / 2.0f; }
};
template <class Pick>
Box Covered(const Ref<TPixmap>& p, Pick pick) {
  Box box;
  for (int y = 0; y < p->height; ++y) {
    for (int x = 0; x < p->width; ++x) {
      const std::uint32_t c = p->ReadPixel(x, y) & 0xffffff;
      if (!pick(c >> 16 & 0xff, c >> 8 & 0xff, c & 0xff)) continue;
      box.left = std::min(box.left, x), box.right = std::max(box.right, x);
      box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
      ++box.count;
    }
  }
  return box;
}

// Checked against the red/cyan picture itself, not the flat frame: the left eye's view has each
// image and text where its red copy is (the red glass is the left eye's), the right eye's where
// its cyan copy is, each once and untinted.
TEST_F(StereoGame, EachEyeSeesEveryDrawingWhereItsGlassShowsTheCopy) {
  Start();
  const auto drawings = {
      std::function<void()>([] { drawimage3d(assets.shipimg, 320, 240, 0, 40, 0, 1, 1, 1); }),
      std::function<void()>([] {
        drawtext3d("ZUMBRIX", 320, 240, 30, 0, 2, 2, 4, 1.0f, 0, 255, 255, 255, 0, true);
      })};
  for (const std::function<void()>& draw : drawings) {
    SetClsColor(0, 0, 0);
    Cls();
    draw();
    const Ref<TPixmap> pair = GrabPixmap(0, 0, 640, 480);
    HarnessRun(1);
    SetStereoMode(StereoMode::SideBySide);
    HarnessRun(1);
    ASSERT_EQ(StereoModeInUse(), StereoMode::SideBySide);
    Cls();
    draw();
    const Ref<TPixmap> left = GrabEyeView(StereoEye::Left, 0, 0, 640, 480);
    const Ref<TPixmap> right = GrabEyeView(StereoEye::Right, 0, 0, 640, 480);
    SetStereoMode(StereoMode::Off);
    HarnessRun(1);
    ASSERT_TRUE(left && right);

    const Box red = Covered(pair, [](int r, int g, int) { return r > 40 && g < 40; });
    const Box cyan = Covered(pair, [](int r, int g, int) { return g > 40 && r < 40; });
    auto lit = [](int r, int g, int b) { return r > 40 || g > 40 || b > 40; };
    const Box seen[2] = {Covered(left, lit), Covered(right, lit)};
    ASSERT_GT(red.count, 50);
    ASSERT_GT(cyan.count, 50);
    EXPECT_GT(red.CentreX(), cyan.CentreX() + 40);
    EXPECT_NEAR(seen[0].CentreX(), red.CentreX(), 0.5);
    EXPECT_NEAR(seen[1].CentreX(), cyan.CentreX(), 0.5);
    for (const Box& view : seen) {
      EXPECT_NEAR(view.CentreY(), red.CentreY(), 0.5);
      EXPECT_EQ(view.right - view.left, red.right - red.left) << "drawn more than once";
    }
  }
}

class StereoModeGame : public StereoGame, public ::testing::WithParamInterface<StereoMode> {};

// The pause screen's backdrop is the frame it paused on, as each eye saw it; F12 there saves the
// stereo picture at its size, whose views are the eyes'.
TEST_P(StereoModeGame, ThePauseBackdropKeepsEachEyesViewAndScreenshotsAreTheStereoPicture) {
  const StereoMode mode = GetParam();
  SetStereoMode(mode);
  HarnessOptions options;
  options.folder = MakeFolder().string();
  ::setenv("XDG_PICTURES_DIR", (folder_ / "pictures").c_str(), 1);
  Start(options);
  EnterPlay();
  HarnessRun(30);
  Ref<TPixmap> last[2], paused[2];
  int n = 0;
  HarnessOnFlip([&] {
    ++n;
    Ref<TPixmap>* into = n == 1 ? last : n == 2 ? paused : nullptr;
    if (into) {
      into[0] = GrabEyeView(StereoEye::Left, 0, 0, 640, 480);
      into[1] = GrabEyeView(StereoEye::Right, 0, 0, 640, 480);
    }
    if (n == 2) HarnessTapKey(kF12);
    if (n == 4) HarnessTapKey(kSpace);
  });
  HarnessTapKey(kSpace);
  HarnessRun(1);
  ASSERT_TRUE(last[0] && last[1] && paused[0] && paused[1]);
  for (int eye = 0; eye < 2; ++eye) {
    // What was drawn, above and below the pause texts: the frozen copy is a masked image, whose
    // black texels next to a coloured one take that colour.
    int lit = 0, differing = 0;
    for (int y = 0; y < 480; ++y) {
      if ((y >= 170 && y < 260) || (y >= 280 && y < 300)) continue;  // and the options line
      for (int x = 0; x < 640; ++x) {
        const std::uint32_t was = last[eye]->ReadPixel(x, y) & 0xffffff;
        if (!was) continue;
        ++lit;
        differing += was != (paused[eye]->ReadPixel(x, y) & 0xffffff);
      }
    }
    EXPECT_GT(lit, 1000) << "eye " << eye;
    EXPECT_EQ(differing, 0) << "eye " << eye;
  }
  EXPECT_GT(Compare(last[0], last[1]).count, 100) << "the eyes saw the same";

  int shots = 0;
  const PictureSize size = StereoPictureSize(mode, 640, 480);
  const StereoPictureViews places = StereoViewsInPicture(mode, 640, 480);
  for (const auto& entry : fs::directory_iterator(folder_ / "pictures")) {
    Ref<TPixmap> shot = LoadPixmap(entry.path().string());
    ASSERT_TRUE(shot) << entry.path();
    EXPECT_EQ(shot->width, size.width);
    EXPECT_EQ(shot->height, size.height);
    if (mode != StereoMode::SideBySideHalf) {
      for (int eye = 0; eye < 2; ++eye) {
        const PictureRect& at = places.views[eye];
        Ref<TPixmap> view = shot->Window(at.x, at.y, at.width, at.height);
        EXPECT_EQ(Compare(view, paused[eye]).count, 0) << "eye " << eye;
      }
    }
    ++shots;
  }
  EXPECT_EQ(shots, 1);
}

// On a 1920x1080 desktop, fit: each view fills its half of the screen as far as its shape allows,
// at the same place in both halves, and nothing is drawn outside them; the pointer maps over
// both, the middle of the screen to the middle of the picture.
TEST_P(StereoModeGame, OnTheDesktopTheViewsSitInTheirHalvesWithBlackBars) {
  const StereoMode mode = GetParam();
  plat_inject_desktop_size(1920, 1080);
  SetDisplayMode(DisplayMode::Desktop);
  SetStereoMode(mode);
  Start();
  HarnessRun(20);  // the title
  GLContextRecord* r = CurrentGLContext();
  ASSERT_NE(r, nullptr);
  ASSERT_EQ(r->view_width, 1920);
  const StereoScreen screen = PlaceStereoViews(mode, 640, 480, 1920, 1080, ScalePolicy::Fit);
  const Ref<TPixmap> shown = GrabPresentedWindow();
  ASSERT_TRUE(shown);
  ASSERT_EQ(shown->width, 1920);
  ASSERT_EQ(shown->height, 1080);
  int outside = 0;
  for (int y = 0; y < 1080; ++y) {
    for (int x = 0; x < 1920; ++x) {
      bool inside = false;
      for (const PictureRect& v : screen.views) {
        inside = inside || (x >= v.x && x < v.x + v.width && y >= v.y && y < v.y + v.height);
      }
      if (!inside) outside += (shown->ReadPixel(x, y) & 0xffffff) != 0;
    }
  }
  EXPECT_EQ(outside, 0);
  for (const PictureRect& v : screen.views) {
    EXPECT_GT(LitPixels(shown, v.x, v.y, v.x + v.width, v.y + v.height), 5000);
  }
  HarnessMoveMouse(960, 540);
  HarnessRun(1);
  EXPECT_NEAR(MousePosX(), 320, 1);
  EXPECT_NEAR(MousePosY(), 240, 1);
}

INSTANTIATE_TEST_SUITE_P(Modes, StereoModeGame, ::testing::ValuesIn(kStereoModes), TestName);

}  // namespace
