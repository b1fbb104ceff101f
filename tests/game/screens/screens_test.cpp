// The HUD, the side bars, the bonus panels, the title prompt and the pause screen, checked on
// the pixels they leave in the back buffer; and the title's clicks in the running game.
#include <cstdint>
#include <utility>

#include "game/config/joystick_buttons.h"
#include "game/config/key_bindings.h"
#include "game/config/settings_store.h"
#include "game/play/anaglyph.h"
#include "game/play/screen_name.h"
#include "game/screens/screens.h"
#include "graphics/font.h"
#include "graphics/image_draw.h"
#include "platform/virtual_pad.h"
#include "tests/game/game_fixture.h"
#include "tests/game/playfield_fixture.h"

namespace {

class ScreenTest : public PlayfieldTest {
 protected:
  void SetUp() override {
    PlayfieldTest::SetUp();
    SetClsColor(0, 0, 0);
    Cls();
  }
  static Ref<TPixmap> Grab(int x, int y, int w, int h) { return GrabPixmap(x, y, w, h); }
  static bool Same(const Ref<TPixmap>& a, const Ref<TPixmap>& b) {
    for (int y = 0; y < a->height; ++y) {
      for (int x = 0; x < a->width; ++x) {
        if ((a->ReadPixel(x, y) & 0xffffff) != (b->ReadPixel(x, y) & 0xffffff)) return false;
      }
    }
    return true;
  }
  static bool Lit(const Ref<TPixmap>& p) {
    for (int y = 0; y < p->height; ++y) {
      for (int x = 0; x < p->width; ++x) {
        if (p->ReadPixel(x, y) & 0xffffff) return true;
      }
    }
    return false;
  }
  // The digits row as the given digits at the given x positions would draw it.
  static Ref<TPixmap> Digits(std::initializer_list<std::pair<int, float>> digits) {
    Cls();
    for (auto [digit, x] : digits) drawimage3d(assets.digitimg, x, 22, digit, 2, 0, 1, 1, 1);
    return Grab(0, 22, 640, 16);
  }
};

TEST_F(ScreenTest, TheHudWritesSmallNumbersWithTwoDigitsAndPlacesEachNumberByItsLength) {
  playfield.player->score = 7;
  playfield.player->hscore = 12345;
  playfield.player->wave = 3;
  playfield.player->newhs = 1;
  drawhud();
  Ref<TPixmap> hud = Grab(0, 22, 640, 16);
  Ref<TPixmap> expected = Digits(
      {{0, 85}, {7, 102}, {1, 280}, {2, 297}, {3, 314}, {4, 331}, {5, 348}, {0, 528}, {3, 545}});
  EXPECT_TRUE(Same(hud, expected));
  EXPECT_EQ(playfield.player->hscore, 12345);
}

TEST_F(ScreenTest, TheHudRaisesTheBestScoreItShowsAndSurvivesANegativeStoredBest) {
  playfield.player->score = 40;
  playfield.player->hscore = -5;
  drawhud();
  EXPECT_EQ(playfield.player->hscore, 40);
  EXPECT_EQ(playfield.player->newhs, 1);
  // A stored best below zero: the best becomes the score, and the HUD shows it as two zeros.
  playfield.player->score = 0;
  playfield.player->hscore = -5;
  Cls();
  drawhud();
  EXPECT_EQ(playfield.player->hscore, 0);
  Ref<TPixmap> best = Grab(240, 22, 160, 16);
  Cls();
  drawimage3d(assets.digitimg, 304, 22, 0, 2, 0, 1, 1, 1);
  drawimage3d(assets.digitimg, 321, 22, 0, 2, 0, 1, 1, 1);
  EXPECT_TRUE(Same(best, Grab(240, 22, 160, 16)));
}

TEST_F(ScreenTest, TheSideBarsBlackenBothOuterColumnsAndLeaveTheBlendSolid) {
  SetClsColor(200, 200, 200);
  Cls();
  drawsidebars();
  EXPECT_FALSE(Lit(Grab(0, 0, 80, 480)));
  EXPECT_FALSE(Lit(Grab(560, 0, 80, 480)));
  EXPECT_EQ(Grab(80, 240, 1, 1)->ReadPixel(0, 0) & 0xffffff, 0xC8C8C8u);
  EXPECT_EQ(Grab(559, 240, 1, 1)->ReadPixel(0, 0) & 0xffffff, 0xC8C8C8u);
  EXPECT_EQ(QueryBlend(), BLEND_SOLID);
  int r, g, b;
  QueryColor(r, g, b);
  EXPECT_EQ(r + g + b, 3 * 255);
}

TEST_F(ScreenTest, TheBonusPanelsShowOneSmallBeePerEscapedBee) {
  progress.escaped = 2;
  drawbonuspanels();
  EXPECT_TRUE(Lit(Grab(85, 445, 30, 30)));
  EXPECT_TRUE(Lit(Grab(115, 445, 30, 30)));
  EXPECT_FALSE(Lit(Grab(150, 445, 30, 30)));
  EXPECT_TRUE(Lit(Grab(81, 41, 158, 99)));   // the 125 panel
  EXPECT_TRUE(Lit(Grab(401, 41, 158, 99)));  // the 500 panel
}

TEST_F(ScreenTest, TheTitlePromptFadesOutOverFiftyFramesAndComesBackAtFullStrength) {
  game_mode.fade = 1.0f;
  float last = game_mode.fade;
  int wraps = 0;
  for (int frame = 1; frame <= 102; ++frame) {
    drawtitle();
    if (game_mode.fade > last) {
      EXPECT_EQ(frame % 51, 0) << "50 steps down, then back to full";
      EXPECT_FLOAT_EQ(game_mode.fade, 1.0f);
      EXPECT_LT(last, 0.02f);
      EXPECT_GT(last, 0.0f);
      ++wraps;
    }
    last = game_mode.fade;
  }
  EXPECT_EQ(wraps, 2);
  EXPECT_TRUE(Lit(Grab(144, 65, 352, 110)));  // the logo
}

// The first start's hint speaks to a player without red/cyan glasses: it is drawn in plain
// greys, and stays the same wherever on the title the ship is (it goes no higher than y 280).
TEST_F(ScreenTest, TheFirstStartHintIsPlainAndNothingTheShipDoesCoversIt) {
  LoadSettings("/nonexistent/zumbrix/settings.ini");
  ASSERT_TRUE(FirstStart());
  game_mode.titlemode = 1;
  game_mode.playing = 0;
  const int width = MeasureTextWidth(kFirstStartHint) + 8, height = 24;
  const int left = 320 - width / 2, top = static_cast<int>(kFirstStartHintY) - height / 2;
  Ref<TPixmap> first;
  for (auto [x, y] : {std::pair{320, 400}, {320, 280}, {200, 280}, {440, 300}, {320, 460}}) {
    SCOPED_TRACE(testing::Message() << "the ship at " << x << "," << y);
    Cls();
    playfield.player->x = x;
    playfield.player->y = y;
    playfield.player->Draw();
    DrawTitlePicture();
    Ref<TPixmap> hint = Grab(left, top, width, height);
    int lit = 0, tinted = 0;
    for (int py = 0; py < height; ++py) {
      for (int px = 0; px < width; ++px) {
        const std::uint32_t c = hint->ReadPixel(px, py);
        const int r = c >> 16 & 0xff, g = c >> 8 & 0xff, b = c & 0xff;
        lit += r > 40 || g > 40 || b > 40;
        tinted += r != g || g != b;
      }
    }
    EXPECT_GT(lit, 200) << "the hint is there";
    EXPECT_EQ(tinted, 0) << "in plain colours";
    if (!first) first = hint;
    EXPECT_TRUE(Same(hint, first)) << "and nothing covers it";
  }
  ResetSettings();
}

TEST_F(ScreenTest, ThePauseTextsAreDrawnOverTheFrozenFrame) {
  SetClsColor(90, 0, 0);
  Cls();
  Ref<TImage> frozen = NewImage(640, 480, 1);
  CaptureImage(frozen, 0, 0, 0);
  SetClsColor(0, 0, 0);
  Cls();
  program.musicstep = 10;
  program.sfxstep = 0;
  drawpause(frozen);
  // The playfield shows the frozen frame; the side bars are drawn afresh over it.
  EXPECT_EQ(Grab(100, 100, 1, 1)->ReadPixel(0, 0) & 0xffffff, 0x5A0000u);
  EXPECT_EQ(Grab(5, 5, 1, 1)->ReadPixel(0, 0) & 0xffffff, 0u);
  // Each of the three lines leaves more than the frozen red on its row.
  for (int y : {180, 210, 230}) {
    Ref<TPixmap> row = Grab(0, y - 8, 640, 16);
    bool text = false;
    for (int x = 0; x < 640 && !text; ++x) {
      for (int yy = 0; yy < 16 && !text; ++yy) {
        text = (row->ReadPixel(x, yy) & 0xffff) != 0;
      }
    }
    EXPECT_TRUE(text) << "row " << y;
  }
}

}  // namespace

namespace {

// The title's clicks, in the running game: "Left Click To Start" holds wherever the pointer rests
// when the title appears, and a line acts on a click only once the player has pointed at it.
class TitleClicks : public GameTest {
 protected:
  // Clicks at (x, y) and runs the frame that reads the click; true when it opened the options.
  static bool ClickOpensOptions(int x, int y) {
    bool opened = false;
    HarnessOnFlip([&opened] {
      if (CurrentModalScreen() != ModalScreen::Options) return;
      opened = true;
      HarnessTapKey(27);
    });
    HarnessMoveMouse(x, y);
    HarnessClick(1);
    HarnessFrame();
    HarnessOnFlip(nullptr);
    return opened;
  }
};

TEST_F(TitleClicks, AClickWhereThePointerRestsStartsAGameAndOnlyAPointedLineActs) {
  HarnessOptions options;
  options.null_graphics = true;
  Start(options);
  // The pointer rests on "O = Options" as the title appears.
  HarnessMoveMouse(320, 420);
  HarnessRun(30);
  EXPECT_EQ(PointedTitleLine(), TitleLine::kNone);
  EXPECT_FALSE(ClickOpensOptions(320, 420)) << "the resting pointer's click opened the options";
  EXPECT_EQ(game_mode.getready, 1) << "the click started no game";

  // Back on the title, the pointer elsewhere: moved onto the line, it points at it.
  HarnessTapKey(112);  // F1
  HarnessRun(2);
  ASSERT_EQ(game_mode.titlemode, 1);
  HarnessMoveMouse(320, 300);
  HarnessRun(2);
  HarnessMoveMouse(320, 421);
  HarnessRun(1);
  EXPECT_EQ(PointedTitleLine(), TitleLine::kOptions);
  EXPECT_TRUE(ClickOpensOptions(320, 421));
  EXPECT_EQ(game_mode.titlemode, 1) << "the options' click started a game";

  // Well beside the line's text, or between it and the credit line, a click starts a game.
  HarnessMoveMouse(320, 300);
  HarnessRun(2);
  EXPECT_FALSE(ClickOpensOptions(400, 420));
  EXPECT_EQ(game_mode.getready, 1);
}

}  // namespace

namespace {

// The words for the keys and buttons on the title, the pause screen and the menus: the keys in
// force, and each pad's buttons as that pad labels them.
class ScreenWords : public GameTest {
 protected:
  void TearDown() override {
    GameTest::TearDown();
    if (pad_ >= 0) UnplugVirtualPad(pad_);
    UseInputChoices(InputChoices{});
  }
  // A run with no joystick of the harness's own on port 0, free for a pad.
  void StartWithoutJoystick() {
    HarnessOptions options;
    options.null_graphics = true;
    options.joystick = false;
    Start(options);
  }
  int pad_ = -1;
};

TEST_F(ScreenWords, TheTitleNamesTheQuitKeyAndButtonInForce) {
  StartWithoutJoystick();
  const std::string prefix =
      std::string(kCreditLine).substr(0, std::string(kCreditLine).find(" - Press"));
  EXPECT_EQ(CreditLine(), kCreditLine) << "the defaults, no pad";
  InputChoices choices;
  choices.bindings.keys[static_cast<int>(GameAction::kQuit)] = 'Q';
  UseInputChoices(choices);
  EXPECT_EQ(CreditLine(), prefix + " - Press Q/B4 to Quit");
  choices.bindings.keys[static_cast<int>(GameAction::kQuit)] = kNoKey;
  choices.bindings.pads[static_cast<int>(GameAction::kQuit)] = 1;
  UseInputChoices(choices);
  EXPECT_EQ(CreditLine(), prefix + " - Press B2 to Quit");
  choices.bindings.pads[static_cast<int>(GameAction::kQuit)] = kNoButton;
  UseInputChoices(choices);
  EXPECT_EQ(CreditLine(), prefix) << "no key or button quits: nothing to press";
}

TEST_F(ScreenWords, EachPadsButtonsAreNamedAsThePadLabelsThem) {
  StartWithoutJoystick();
  struct Make {
    unsigned short vendor, product;
    const char *fire, *quit, *back;
  };
  const std::string music = pausetexts[1];
  EXPECT_EQ(PauseVolumeLine(music, GameAction::kFire), music) << "no pad: the game's own words";
  for (const Make& make :
       {Make{0x045e, 0x02ea, "A", "View", "B"}, Make{0x054c, 0x09cc, "Cross", "Share", "Circle"},
        Make{0x054c, 0x0ce6, "Cross", "Create", "Circle"}, Make{0x057e, 0x2009, "B", "Minus", "A"},
        Make{0, 0, "A", "Back", "B"}}) {
    const std::string name = "Words Pad " + std::to_string(make.product);
    pad_ = PlugVirtualPad(name.c_str(), make.vendor, make.product);
    ASSERT_EQ(pad_, 0) << "the pad is on the game's port";
    EXPECT_EQ(PauseVolumeLine(music, GameAction::kFire),
              "F2/" + std::string(make.fire) + "=Adjust Music Volume:");
    EXPECT_NE(CreditLine().find(" - Press ESC/" + std::string(make.quit) + " to Quit"),
              std::string::npos)
        << CreditLine();
    EXPECT_EQ(PadButtonWord(1), make.back) << "the menus' back button";
    UnplugVirtualPad(pad_);
    pad_ = -1;
  }
  InputChoices choices;
  choices.bindings.pads[static_cast<int>(GameAction::kHyperspace)] = kNoButton;
  UseInputChoices(choices);
  EXPECT_EQ(PauseVolumeLine(pausetexts[2], GameAction::kHyperspace), "F3=Adjust SoundFX Volume:");
}

}  // namespace

namespace {

// The options screen over the title: below its footer nothing of the title's own lines shows
// through (they stood dimmed between the footer's lines).
TEST_F(TitleClicks, TheOptionsFooterStandsAloneOverTheTitlesLines) {
  Start();
  HarnessRun(3);
  int lit = -1, flips = 0;
  HarnessOnFlip([&] {
    if (CurrentModalScreen() != ModalScreen::Options) return;
    HarnessTapKey(27);
    // The first is the frozen title's own flip, before the screen draws.
    if (++flips != 2) return;
    Ref<TPixmap> below = GrabPixmap(84, 410, 472, 66);
    lit = 0;
    for (int y = 0; y < below->height; ++y) {
      for (int x = 0; x < below->width; ++x) {
        const std::uint32_t c = below->ReadPixel(x, y);
        lit += (c >> 16 & 0xff) > 24 || (c >> 8 & 0xff) > 24 || (c & 0xff) > 24;
      }
    }
  });
  HarnessTapKey('O');
  HarnessRun(2);
  HarnessOnFlip(nullptr);
  EXPECT_EQ(lit, 0) << "the title's lines show under the options' footer";
}

}  // namespace
