// The pause screen's backdrop drawn anew when the colours change there: F4 in the pause screen,
// and the options screen's Colours row opened from it, turn the frozen playfield's red/cyan pairs
// into the flat picture's single copies (and back), while the game's state stays as it was and
// nothing sounds.
#include <cstdint>
#include <functional>
#include <map>

#include "game/config/colour_mode.h"
#include "game/config/settings_store.h"
#include "game/play/screen_name.h"
#include "game/replay/ghost.h"
#include "game/replay/state_hash.h"
#include "game/startup.h"
#include "graphics/display_mode.h"
#include "graphics/draw2d.h"
#include "graphics/pixmap.h"
#include "platform/inject.h"
#include "tests/game/counting_sound.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr int kSpace = 32, kF4 = 115, kEsc = 27, kDown = 40, kRight = 39;

// What a strip of the picture holds: pixels drawn at all, and those drawn in a colour that is not
// a grey (the anaglyph's red and cyan copies; the flat stars are greys).
struct Strip {
  int lit = 0, tinted = 0;
};

// Columns x0..x1-1 of rows 40..169: under the HUD, above the pause texts and the ship, where only
// the stars are on an emptied playfield.
Strip ReadStrip(int x0, int x1) {
  Ref<TPixmap> p = GrabPixmap(0, 0, 640, 480);
  Strip strip;
  for (int y = 40; y < 170; ++y) {
    for (int x = x0; x < x1; ++x) {
      const std::uint32_t c = p->ReadPixel(x, y);
      const int r = c >> 16 & 0xff, g = c >> 8 & 0xff, b = c & 0xff;
      if (r <= 40 && g <= 40 && b <= 40) continue;  // the clear colour, or next to it
      ++strip.lit;
      strip.tinted += !(r == g && g == b);
    }
  }
  return strip;
}

class PauseBackdrop : public GameTest {
 protected:
  void TearDown() override {
    GameTest::TearDown();
    ResetSettings();
    SetColourMode(ColourMode::Anaglyph);
  }

  // In play with nothing but the stars and the ship, every sound counted.
  void StartPlay() {
    // Whatever a test before in this process left.
    SetColourMode(ColourMode::Anaglyph);
    SetStereoMode(StereoMode::Off);
    Start();
    EnterPlay();
    clearentities();
    for (Ref<TSound>* sound :
         {&assets.snd_shot, &assets.snd_hyper, &assets.snd_gstart, &assets.snd_endwave,
          &assets.snd_bhit, &assets.snd_bhit1, &assets.snd_lswarm, &assets.snd_sswarm,
          &assets.snd_sbhit, &assets.snd_sbdie, &assets.snd_shipdie, &assets.snd_flyaway,
          &assets.snd_beewarp, &assets.snd_hscore}) {
      *sound = counter_;
    }
  }

  // Pauses, runs `at_flip[n]` at the pause's n-th flip (the first shows the frozen frame), and
  // resumes after the last.
  static void Pause(std::map<int, std::function<void()>> at_flip) {
    int flip = 0;
    const int last = at_flip.rbegin()->first;
    HarnessOnFlip([&] {
      ++flip;
      if (auto step = at_flip.find(flip); step != at_flip.end()) step->second();
      if (flip == last + 2) HarnessTapKey(kSpace);
    });
    HarnessTapKey(kSpace);
    HarnessRun(1);
    HarnessOnFlip(nullptr);
    EXPECT_GT(flip, last + 1) << "the pause ended early";
  }

  Ref<CountingSound> counter_ = New<CountingSound>();
};

TEST_F(PauseBackdrop, F4RedrawsTheFrozenSceneInTheOtherColoursAndChangesNothingOfTheGame) {
  StartPlay();
  Strip before, flat, back;
  std::uint64_t hash[3] = {};
  Pause({{2,
          [&] {
            before = ReadStrip(80, 560);
            hash[0] = GameStateHash();
            HarnessTapKey(kF4);
          }},
         {4,
          [&] {
            flat = ReadStrip(80, 560);
            hash[1] = GameStateHash();
            HarnessTapKey(kF4);
          }},
         {6, [&] {
            back = ReadStrip(80, 560);
            hash[2] = GameStateHash();
          }}});
  EXPECT_EQ(GetColourMode(), ColourMode::Anaglyph);
  EXPECT_GT(before.tinted, 100) << "the frozen stars are red/cyan pairs";
  EXPECT_GT(flat.lit, 100) << "the stars are drawn again";
  EXPECT_EQ(flat.tinted, 0) << "the stars are drawn flat";
  EXPECT_GT(back.tinted, 100) << "and in pairs again";
  EXPECT_EQ(hash[1], hash[0]);
  EXPECT_EQ(hash[2], hash[0]);
  EXPECT_EQ(counter_->starts, 0);
  HarnessRun(5);
  EXPECT_EQ(game_mode.playing, 1) << "play goes on";
}

// Opened from the pause screen, the options screen stands on the same backdrop: a change of the
// colours there shows at once behind its rows, and on the pause screen it returns to.
TEST_F(PauseBackdrop, TheOptionsColoursRowRedrawsTheBackdropUnderBothScreens) {
  StartPlay();
  Strip options_before, options_flat, pause_flat;
  ModalScreen screen = ModalScreen::None;
  // Left of the options rows' centred texts.
  Pause({{2, [] { HarnessTapKey('O'); }},
         {4, [&] { options_before = ReadStrip(82, 150); }},
         {5, [] { HarnessTapKey(kDown); }},
         {7, [] { HarnessTapKey(kDown); }},
         {9, [] { HarnessTapKey(kRight); }},
         {11,
          [&] {
            options_flat = ReadStrip(82, 150);
            screen = CurrentModalScreen();
            HarnessTapKey(kEsc);
          }},
         {13, [&] { pause_flat = ReadStrip(80, 560); }}});
  EXPECT_EQ(screen, ModalScreen::Options);
  EXPECT_EQ(GetColourMode(), ColourMode::Flat);
  EXPECT_GT(options_before.tinted, 10);
  EXPECT_GT(options_flat.lit, 10);
  EXPECT_EQ(options_flat.tinted, 0);
  EXPECT_GT(pause_flat.lit, 100);
  EXPECT_EQ(pause_flat.tinted, 0);
  EXPECT_EQ(counter_->starts, 0);
}

}  // namespace

namespace {

// The right side bar's pixels: the ghost's caption on black.
std::vector<std::uint32_t> RightBar() {
  Ref<TPixmap> p = GrabPixmap(560, 200, 80, 100);
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 80; ++x) pixels.push_back(p->ReadPixel(x, y) & 0xffffff);
  return pixels;
}

TEST_F(PauseBackdrop, SideBarTextStaysAsItWasOverManyPasses) {
  OverrideSettings({{"ghost", "on"}});
  std::vector<ShipPoint> track(600, ShipPoint{300, 400, true, false, 1250});
  UseGhostTrack(track);
  SetColourMode(ColourMode::Anaglyph);
  SetStereoMode(StereoMode::Off);
  plat_inject_desktop_size(1920, 1080);
  SetDisplayMode(DisplayMode::Desktop);
  Start();
  HarnessRun(1);
  EnterPlay();
  HarnessRun(3);
  std::vector<std::uint32_t> play, first, later;
  HarnessOnFlip([&] { play = RightBar(); });
  HarnessRun(1);
  HarnessOnFlip(nullptr);
  Pause({{1, [&] { first = RightBar(); }}, {40, [&] { later = RightBar(); }}});
  int lit = 0, differ_first = 0, differ_later = 0;
  for (std::size_t i = 0; i < play.size(); ++i) {
    lit += play[i] != 0;
    differ_first += play[i] != first[i];
    differ_later += play[i] != later[i];
  }
  UseGhostTrack({});
  SetDisplayMode(DisplayMode::Fullscreen);
  EXPECT_GT(lit, 50);
  EXPECT_EQ(differ_first, 0);
  EXPECT_EQ(differ_later, 0);
}

}  // namespace
