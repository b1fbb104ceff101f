// The playfield's clip to x 80..559 changes no pixel: the same run (same seed, same input) is
// played with the clip on and off, and the frames grabbed at the same flips are compared byte
// for byte: the title screen, play with bees, bullets, shots, particles and a splat straddling
// both side bars, the frame that pauses, and the pause screen over its frozen copy. In every
// display mode (the 640x480 window, the letterboxed desktop, a scaled window), and on the null
// driver. At every flip the whole picture is the viewport again, so nothing the frame loop
// flips (the pause screen, F1's blank frame) is clipped.
#include <ostream>
#include <string>
#include <vector>

#include "game/play/playfield_clip.h"
#include "graphics/display_mode.h"
#include "graphics/draw2d.h"
#include "graphics/pixmap.h"
#include "platform/inject.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr int kSpace = 32, kF1 = 112;

// Places a bee, bullets, shots, particles and a splat across each side bar's inner edge.
void CrowdTheEdges() {
  for (float x : {70.0f, 88.0f, 552.0f, 570.0f}) {
    starbee_tag::Create(0, x, 120.0f, 0.3f, 0, 1);
    static_cast<starbee_tag*>(playfield.beelist->Last())->alpha = 1.0f;
    beeshot_tag::Create(x + 5, 200.0f);
    particle_tag::Create(x, 240.0f, 0.4f, 12);
  }
  lazershot_tag::Create(0, 82, 330);
  lazershot_tag::Create(0, 558, 330);
  beesplat_tag::Create(80, 60, 0.5f);
  beesplat_tag::Create(560, 60, 0.5f);
}

struct Grab {
  const char* what;
  Ref<TPixmap> pixels;
};

class PlayfieldClipTest : public GameTest, public ::testing::WithParamInterface<DisplayMode> {
 protected:
  // One run with the clip on or off; the frames of every state, in order.
  std::vector<Grab> Play(bool clip, bool null_graphics = false) {
    SetPlayfieldClipping(clip);
    plat_inject_desktop_size(1920, 1080);
    SetDisplayMode(GetParam());
    HarnessOptions options;
    options.null_graphics = null_graphics;
    Start(options);
    std::vector<Grab> grabs;
    const char* wanted = nullptr;
    int flips = 0, pauseflips = 0, unclipped = 0;
    HarnessOnFlip([&] {
      ++flips;
      int x, y, w, h;
      QueryViewport(x, y, w, h);
      if (x == 0 && y == 0 && w == 640 && h == 480) ++unclipped;
      if (pauseflips > 0 && ++pauseflips == 4) HarnessTapKey(kSpace);
      if (pauseflips == 2) wanted = "the frame that pauses";
      if (pauseflips == 3) wanted = "the pause screen";
      if (!wanted) return;
      grabs.push_back({wanted, GrabPixmap(0, 0, 640, 480)});
      wanted = nullptr;
    });
    HarnessRun(40);
    wanted = "the title";
    HarnessRun(1);
    EnterPlay();
    CrowdTheEdges();
    HarnessRun(3);
    wanted = "play at the edges";
    HarnessRun(1);
    pauseflips = 1;
    HarnessTapKey(kSpace);
    HarnessRun(1);
    pauseflips = 0;
    HarnessRun(2);
    // F1 flips a cleared frame of its own before the title comes back.
    HarnessTapKey(kF1);
    HarnessRun(2);
    EXPECT_EQ(game_mode.titlemode, 1);
    EXPECT_EQ(unclipped, flips) << "a flip came with the playfield's clip still on";
    HarnessOnFlip(nullptr);
    HarnessStop();
    SetPlayfieldClipping(true);
    return grabs;
  }
};

// Display modes are printed by name.
std::string ModeName(const ::testing::TestParamInfo<DisplayMode>& info) {
  return DisplayModeName(info.param);
}

TEST_P(PlayfieldClipTest, TheClippedPictureIsTheUnclippedOne) {
  const std::vector<Grab> plain = Play(false);
  const std::vector<Grab> clipped = Play(true);
  ASSERT_EQ(plain.size(), 4u);
  ASSERT_EQ(clipped.size(), plain.size());
  for (std::size_t i = 0; i < plain.size(); ++i) {
    TPixmap& a = *plain[i].pixels;
    TPixmap& b = *clipped[i].pixels;
    int differing = 0, first_x = -1, first_y = -1, lit_sides = 0;
    const bool pause = std::string(plain[i].what) == "the pause screen";
    for (int y = 0; y < 480; ++y) {
      const bool sides = y >= 40 && !pause;
      for (int x = 0; x < 640; ++x) {
        const std::uint32_t pa = a.ReadPixel(x, y), pb = b.ReadPixel(x, y);
        if (pa != pb && differing++ == 0) first_x = x, first_y = y;
        if (sides && (x < 80 || x >= 560) && (pa & 0xffffff)) ++lit_sides;
      }
    }
    EXPECT_EQ(differing, 0) << plain[i].what << ": first at (" << first_x << ", " << first_y << ")";
    // Below the HUD, which is drawn over them, the bars are black (the pause texts cross them).
    EXPECT_EQ(lit_sides, 0) << plain[i].what;
  }
}

// The null driver draws nothing, but the clip is set and given back there too.
TEST_P(PlayfieldClipTest, TheNullDriverPlaysTheSameStatesClipped) {
  const std::vector<Grab> grabs = Play(true, true);
  EXPECT_EQ(grabs.size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(Modes, PlayfieldClipTest,
                         ::testing::Values(DisplayMode::Fullscreen, DisplayMode::Desktop,
                                           DisplayMode::Window),
                         ModeName);

}  // namespace
