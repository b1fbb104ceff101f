// The display modes on a 1920x1080 virtual desktop: the game keeps its 640x480 picture and
// coordinates whether the window is the display mode's 640x480, the whole desktop with the
// picture scaled into black bars, or a window twice the picture's size. The pointer maps
// through the scale, the pause screen's backdrop and the screenshots are the opaque 640x480
// picture, and Alt+Enter switches between the full-screen way and the window.
#include <cstdlib>
#include <ostream>

#include "game/screens/options_screen.h"
#include "game/screenshot.h"
#include "graphics/display_mode.h"
#include "graphics/gl_graphics.h"
#include "graphics/pixmap_loader.h"
#include "platform/inject.h"
#include "system/polled_input.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr int kSpace = 32, kF12 = 123, kEnter = 13, kLeftAlt = 164;

struct Layout {
  DisplayMode mode;
  int view_width, view_height;  // the window's drawable
  int x, y, width, height;      // where the picture sits in it
};

// Test names carry the mode's name rather than the bytes.
void PrintTo(const Layout& layout, std::ostream* os) { *os << DisplayModeName(layout.mode); }

// What each mode gives on a 1920x1080 desktop.
const Layout kLayouts[] = {
    {DisplayMode::Fullscreen, 640, 480, 0, 0, 640, 480},
    {DisplayMode::Desktop, 1920, 1080, 240, 0, 1440, 1080},
    {DisplayMode::Window, 1280, 960, 0, 0, 1280, 960},
};

class DisplayModeTest : public GameTest, public ::testing::WithParamInterface<Layout> {
 protected:
  void SetUp() override {
    plat_inject_desktop_size(1920, 1080);
    SetDisplayMode(GetParam().mode);
    HarnessOptions options;
    options.folder = MakeFolder().string();
    ::setenv("XDG_PICTURES_DIR", (folder_ / "pictures").c_str(), 1);
    Start(options);
    GLContextRecord* r = CurrentGLContext();
    ASSERT_NE(r, nullptr);
    const Layout& l = GetParam();
    ASSERT_EQ(r->view_width, l.view_width);
    ASSERT_EQ(r->view_height, l.view_height);
    ASSERT_EQ(r->width, 640);
    ASSERT_EQ(r->height, 480);
  }

  // The window position over the centre of a picture pixel.
  static void WindowPosition(int x, int y, int* wx, int* wy) {
    const Layout& l = GetParam();
    *wx = l.x + static_cast<int>((x + 0.5) * l.width / 640);
    *wy = l.y + static_cast<int>((y + 0.5) * l.height / 480);
  }
};

TEST_P(DisplayModeTest, ThePointerPutsTheShipUnderItAndTheClampPutsItBackAtTheLimit) {
  EnterPlay();
  int wx, wy;
  WindowPosition(200, 300, &wx, &wy);
  HarnessMoveMouse(wx, wy);
  HarnessRun(1);
  EXPECT_EQ(playfield.player->x, 200);
  EXPECT_EQ(playfield.player->y, 300);
  // Past the ship's zone, to the right and below: the ship stops at its limit and the pointer
  // is placed back over it, as the player sees it.
  WindowPosition(600, 470, &wx, &wy);
  HarnessMoveMouse(wx, wy);
  HarnessRun(2);
  EXPECT_EQ(playfield.player->x, 545);
  EXPECT_EQ(playfield.player->y, 460);
  EXPECT_EQ(MousePosX(), 545);
  EXPECT_EQ(MousePosY(), 460);
}

TEST_P(DisplayModeTest, ThePauseBackdropIsTheLastFrameAndScreenshotsAre640x480) {
  const fs::path pictures = folder_ / "pictures";
  EnterPlay();
  HarnessRun(30);
  // The frame that pauses is grabbed as it is shown; the pause screen's next frame shows the
  // frozen copy under its texts.
  // (A screenshot asked for at one flip is taken at the next.)
  int n = 0;
  HarnessOnFlip([&n] {
    if (++n == 1) HarnessScreenshot("paused.png");
    if (n == 2) HarnessTapKey(kF12);
    if (n == 4) HarnessTapKey(kSpace);
  });
  HarnessScreenshot("last.png");
  HarnessTapKey(kSpace);
  HarnessRun(1);
  Ref<TPixmap> last = LoadPixmap("last.png");
  Ref<TPixmap> paused = LoadPixmap("paused.png");
  ASSERT_TRUE(last && paused);
  ASSERT_EQ(last->width, 640);
  ASSERT_EQ(last->height, 480);
  int differing = 0, lit = 0, left = 640, top = 480, right = -1, bottom = -1;
  for (int y = 0; y < 480; ++y) {
    if ((y >= 170 && y < 260) || (y >= 280 && y < 300)) continue;  // the texts, the options line
    for (int x = 0; x < 640; ++x) {
      std::uint32_t a = last->ReadPixel(x, y) & 0xffffff;
      // Only what was drawn: the frozen copy is a masked image, whose black texels next to a
      // coloured one take that colour (so that filtering never darkens edges).
      if (!a) continue;
      ++lit;
      if (a == (paused->ReadPixel(x, y) & 0xffffff)) continue;
      ++differing;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  EXPECT_EQ(differing, 0) << "from (" << left << ", " << top << ") to (" << right << ", " << bottom
                          << ")";
  EXPECT_GT(lit, 1000) << "the frame is blank";

  ASSERT_TRUE(fs::is_directory(pictures)) << "no screenshot folder";
  int shots = 0;
  for (const auto& entry : fs::directory_iterator(pictures)) {
    Ref<TPixmap> shot = LoadPixmap(entry.path().string());
    ASSERT_TRUE(shot) << entry.path();
    EXPECT_EQ(shot->width, 640);
    EXPECT_EQ(shot->height, 480);
    // Opaque, as the player saw it: blended drawing leaves no see-through pixels behind.
    int see_through = 0;
    for (int y = 0; y < shot->height; ++y) {
      for (int x = 0; x < shot->width; ++x) see_through += (shot->ReadPixel(x, y) >> 24) != 0xff;
    }
    EXPECT_EQ(see_through, 0);
    ++shots;
  }
  EXPECT_EQ(shots, 1);
}

TEST_P(DisplayModeTest, TheBarsAroundThePictureStayBlack) {
  HarnessRun(20);  // the title screen: stars, texts and the ship over the whole picture
  Ref<TPixmap> shown = GrabPresentedWindow();
  ASSERT_TRUE(shown);
  const Layout& l = GetParam();
  ASSERT_EQ(shown->width, l.view_width);
  ASSERT_EQ(shown->height, l.view_height);
  int bar_lit = 0, picture_lit = 0;
  for (int y = 0; y < shown->height; ++y) {
    for (int x = 0; x < shown->width; ++x) {
      bool lit = (shown->ReadPixel(x, y) & 0xffffff) != 0;
      bool inside = x >= l.x && x < l.x + l.width && y >= l.y && y < l.y + l.height;
      (inside ? picture_lit : bar_lit) += lit ? 1 : 0;
    }
  }
  EXPECT_EQ(bar_lit, 0);
  EXPECT_GT(picture_lit, 1000);
}

INSTANTIATE_TEST_SUITE_P(Modes, DisplayModeTest, ::testing::ValuesIn(kLayouts),
                         [](const ::testing::TestParamInfo<Layout>& info) {
                           return std::string(DisplayModeName(info.param.mode));
                         });

TEST_F(GameTest, AltEnterSwitchesBetweenTheFullScreenWayAndTheWindowAtAnyTime) {
  plat_inject_desktop_size(1920, 1080);
  SetDisplayMode(DisplayMode::Desktop);
  Start();
  auto alt_enter = [] {
    HarnessKey(kLeftAlt, true);
    HarnessTapKey(kEnter);
    HarnessRun(1);
    HarnessKey(kLeftAlt, false);
    HarnessRun(1);
  };
  alt_enter();  // on the title
  EXPECT_EQ(CurrentDisplayMode(), DisplayMode::Window);
  EXPECT_EQ(CurrentGLContext()->view_width, 1280);
  EnterPlay();
  alt_enter();  // in play
  EXPECT_EQ(CurrentDisplayMode(), DisplayMode::Desktop);
  EXPECT_EQ(CurrentGLContext()->view_width, 1920);
  EXPECT_EQ(game_mode.playing, 1);
  EXPECT_EQ(NextChar(), 0) << "the Enter reached the game";
}

// The Alt of an Alt+Enter is the hyperspace key: when both come before the game reads its keys,
// the switch takes the whole shortcut and the game sees no key of it.
TEST_F(GameTest, AltEnterInPlayOnlySwitchesTheDisplay) {
  plat_inject_desktop_size(1920, 1080);
  SetDisplayMode(DisplayMode::Window);
  Start();
  EnterPlay();
  ASSERT_EQ(playfield.player->hyperctr, 0);
  HarnessKey(kLeftAlt, true);
  HarnessTapKey(kEnter);
  HarnessRun(1);
  EXPECT_EQ(CurrentDisplayMode(), FullScreenChoice());
  EXPECT_EQ(playfield.player->hyperctr, 0) << "the Alt+Enter jumped into hyperspace";
  EXPECT_EQ(KeyHits(kLeftAlt), 0);
  EXPECT_EQ(KeyHits(kEnter), 0);
  HarnessKey(kLeftAlt, false);
  HarnessRun(1);
  // Alt on its own is still the hyperspace key.
  HarnessTapKey(kLeftAlt);
  HarnessRun(1);
  EXPECT_EQ(playfield.player->hyperctr, 100);
  EXPECT_EQ(CurrentDisplayMode(), FullScreenChoice());
}

TEST_F(GameTest, ARefusedDisplayModeFallsBackToTheDesktop) {
  plat_inject_desktop_size(1920, 1080);
  plat_inject_full_screen_refusal(PlatFullScreenRefusal::kDisplayModes);
  SetDisplayMode(DisplayMode::Fullscreen);
  Start();
  plat_inject_full_screen_refusal(PlatFullScreenRefusal::kNone);
  EXPECT_EQ(CurrentDisplayMode(), DisplayMode::Desktop);
  EXPECT_EQ(FullScreenChoice(), DisplayMode::Desktop);
  ASSERT_NE(CurrentGLContext(), nullptr);
  EXPECT_EQ(CurrentGLContext()->view_width, 1920);
  EXPECT_EQ(ContextWidth(), 640);
  // The options say why the display is not the full-screen mode asked for.
  EXPECT_EQ(OptionsRowText(0), "Display: desktop (no 640x480 mode)");
  HarnessRun(5);
}

}  // namespace
