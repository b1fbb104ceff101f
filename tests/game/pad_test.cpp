// Gamepads in the game: the D-pad and the stick steer, a pad plugged in after start plays, a pad
// pulled out in play pauses the game and plays on its port when plugged back in, and one pulled
// out during the get-ready or a wave's end pauses the game as play starts. Every game is reached
// as a player reaches it: a click on the title, the get-ready, the mode's own transitions.
#include <functional>
#include <utility>

#include "platform/virtual_pad.h"
#include "system/joystick.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr int kSpace = 32;

int At(double fraction) { return static_cast<int>(fraction * 32767); }

int MovingShots() {
  int n = 0;
  WalkList<lazershot_tag>(*playfield.shotlist, [&](lazershot_tag* s) { n += s->tracer == 0; });
  return n;
}

class PadGameTest : public GameTest {
 protected:
  // The game starts with no joystick at all; the pad comes later.
  void StartWithoutJoystick() {
    HarnessOptions options;
    options.joystick = false;
    options.null_graphics = true;  // nothing here is looked at, and play comes after a get-ready
    Start(options);
  }

  // A pad of the test's own name, so that no other test's pad is mistaken for it.
  void Plug() {
    pad = PlugVirtualPad(::testing::UnitTest::GetInstance()->current_test_info()->name());
    ASSERT_GE(pad, 0);
  }

  void TearDown() override {
    GameTest::TearDown();
    UnplugVirtualPad(pad);
  }

  // Flips during one pass of the frame loop (more than one: the pause screen ran), with `script`
  // called at each flip by its number. A pause that outlasts the script is ended with Space at
  // every tenth flip, so that a wrong pause fails the test instead of hanging it.
  static int Frame(const std::function<void(int)>& script = nullptr) {
    int flip = 0;
    HarnessOnFlip([&] {
      ++flip;
      if (script) script(flip);
      if (flip % 10 == 0) HarnessTapKey(kSpace);
    });
    const int before = HarnessFlips();
    HarnessFrame();
    HarnessOnFlip(nullptr);
    return HarnessFlips() - before;
  }

  // A click on the title, then frames until play starts; whether that frame paused.
  static bool PlayFromTheTitle() {
    HarnessClick(1);
    return PlayStarts();
  }

  // Frames (each ending a wrong pause by itself) until play has started; whether the frame in
  // which it started paused. A pause before it fails the test.
  static bool PlayStarts() {
    for (int frame = 0; frame < 2000; ++frame) {
      const int flips = Frame();
      if (game_mode.playing == 1) return flips > 1;
      EXPECT_EQ(flips, 1) << "a pause before play, in frame " << frame;
    }
    ADD_FAILURE() << "play did not start";
    return false;
  }

  // The ship's movement over five frames with the pad held as `hold` leaves it.
  std::pair<int, int> Moved() {
    HarnessRun(2);  // the pointer placed by the last frame is the one the ship follows
    const int x = playfield.player->x, y = playfield.player->y;
    HarnessRun(5);
    return {playfield.player->x - x, playfield.player->y - y};
  }

  int pad = -1;
};

}  // namespace

TEST_F(PadGameTest, TheDpadSteersSixPixelsAFrameEachWay) {
  StartWithoutJoystick();
  Plug();
  EXPECT_FALSE(PlayFromTheTitle());
  const struct {
    PadButton button;
    std::pair<int, int> moved;
  } ways[] = {
      {PadButton::DpadLeft, {-30, 0}},
      {PadButton::DpadRight, {30, 0}},
      {PadButton::DpadUp, {0, -30}},
      {PadButton::DpadDown, {0, 30}},
  };
  for (const auto& way : ways) {
    SetVirtualPadButton(pad, way.button, true);
    EXPECT_EQ(Moved(), way.moved) << static_cast<int>(way.button);
    SetVirtualPadButton(pad, way.button, false);
  }
  EXPECT_EQ(Moved(), std::make_pair(0, 0));
}

TEST_F(PadGameTest, TheStickSteersAt95PercentStraightAndDiagonalButNotHalfway) {
  StartWithoutJoystick();
  Plug();
  EXPECT_FALSE(PlayFromTheTitle());
  const struct {
    double x, y;
    std::pair<int, int> moved;
  } holds[] = {
      {-0.95, 0, {-30, 0}},       {0.95, 0, {30, 0}}, {0, -0.95, {0, -30}}, {0.95, 0.95, {30, 30}},
      {-0.95, -0.95, {-30, -30}}, {0.5, 0, {0, 0}},   {0, -0.5, {0, 0}},    {-0.5, 0.5, {0, 0}},
  };
  for (const auto& hold : holds) {
    SetVirtualPadAxis(pad, PadAxis::LeftX, At(hold.x));
    SetVirtualPadAxis(pad, PadAxis::LeftY, At(hold.y));
    EXPECT_EQ(Moved(), hold.moved) << hold.x << ", " << hold.y;
  }
}

TEST_F(PadGameTest, APadPluggedInAfterStartStartsAGameAndFires) {
  StartWithoutJoystick();
  HarnessRun(3);
  ASSERT_EQ(game_mode.titlemode, 1);
  Plug();
  SetVirtualPadButton(pad, PadButton::A, true);
  HarnessRun(1);
  SetVirtualPadButton(pad, PadButton::A, false);
  EXPECT_EQ(game_mode.getready, 1) << "A did not start a game";

  EXPECT_FALSE(PlayStarts());
  clearentities();
  SetVirtualPadButton(pad, PadButton::A, true);
  HarnessRun(1);
  EXPECT_EQ(MovingShots(), 1);
}

TEST_F(PadGameTest, APadPulledMidPressPausesPlayAndHoldsNothing) {
  StartWithoutJoystick();
  Plug();
  HarnessRun(2);
  // Pulled out on the title screen: no pause, then or later.
  UnplugVirtualPad(pad);
  EXPECT_EQ(Frame(), 1);
  Plug();
  EXPECT_FALSE(PlayFromTheTitle()) << "the pull on the title paused the game";
  EXPECT_EQ(Frame(), 1);

  SetVirtualPadButton(pad, PadButton::A, true);
  SetVirtualPadAxis(pad, PadAxis::LeftX, -32768);
  HarnessRun(1);
  ASSERT_EQ(MovingShots(), 1);
  UnplugVirtualPad(pad);
  EXPECT_GT(Frame([](int flip) {
              if (flip == 3) HarnessTapKey(kSpace);
            }),
            2)
      << "the pull did not pause the game";
  EXPECT_EQ(game_mode.playing, 1);
  EXPECT_EQ(IsJoyButtonDown(0, 0), 0);
  EXPECT_EQ(JoyAxisX(0), 0.0f);
  EXPECT_EQ(Moved(), std::make_pair(0, 0)) << "the stick stayed at its end";
  EXPECT_EQ(Frame(), 1) << "paused a second time";

  // Pulled out while the game is paused: resumed, it plays on without a second pause.
  Plug();
  HarnessRun(1);
  HarnessTapKey(kSpace);
  // The entry flip, three passes (the last one sees Space), the frame's own flip: no second pause.
  EXPECT_EQ(Frame([this](int flip) {
              if (flip == 2) UnplugVirtualPad(pad);
              if (flip == 4) HarnessTapKey(kSpace);
            }),
            5);
  EXPECT_EQ(Frame(), 1) << "the pull while paused paused the game again";
}

TEST_F(PadGameTest, ThePadPluggedBackInPlaysOnItsPort) {
  StartWithoutJoystick();
  Plug();
  const int first = pad;
  EXPECT_FALSE(PlayFromTheTitle());
  UnplugVirtualPad(pad);
  // Plugged back in while the game is paused; resumed from the pad itself.
  EXPECT_GT(Frame([this](int flip) {
              if (flip == 2) Plug();
              if (flip == 3) SetVirtualPadButton(pad, PadButton::X, true);
              if (flip == 4) SetVirtualPadButton(pad, PadButton::X, false);
            }),
            2);
  EXPECT_EQ(pad, first);
  EXPECT_EQ(Frame(), 1) << "paused a second time";

  clearentities();
  HarnessRun(10);
  SetVirtualPadButton(pad, PadButton::A, true);
  HarnessRun(1);
  EXPECT_EQ(MovingShots(), 1);
  SetVirtualPadAxis(pad, PadAxis::LeftX, 32767);
  EXPECT_EQ(Moved(), std::make_pair(30, 0));
}

TEST_F(PadGameTest, APadPulledDuringTheGetReadyOrAWavesEndPausesTheGameAsPlayStarts) {
  StartWithoutJoystick();
  Plug();
  HarnessClick(1);
  RunUntil([] { return game_mode.getready == 1 && game_mode.seqctr == 50; }, 100);
  UnplugVirtualPad(pad);
  EXPECT_TRUE(PlayStarts()) << "play started with the pad pulled out";
  Plug();
  EXPECT_EQ(Frame(), 1) << "paused a second time";

  // The wave's last swarm is shot: the fly-away, then the next wave's get-ready.
  wave_counts.swarmskilled = progress.swarmsperwave;
  EXPECT_EQ(Frame(), 1);
  ASSERT_EQ(game_mode.waveend, 1);
  Frame();
  UnplugVirtualPad(pad);
  EXPECT_TRUE(PlayStarts()) << "the next wave started with the pad pulled out";
  EXPECT_EQ(playfield.player->wave, 2);
  Plug();

  // Pulled while the game is lost: the title asks nothing of it, nor does the next game.
  destroyship();
  ASSERT_EQ(game_mode.gameover, 1);
  UnplugVirtualPad(pad);
  for (int frame = 0; frame < 1000 && game_mode.titlemode == 0; ++frame) EXPECT_EQ(Frame(), 1);
  ASSERT_EQ(game_mode.titlemode, 1);
  Plug();
  EXPECT_FALSE(PlayFromTheTitle()) << "a pull in the last game paused this one";
}
