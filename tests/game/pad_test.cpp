// Gamepads in the game: the D-pad and the stick steer, a pad plugged in after start plays, and a
// pad pulled out in play pauses the game and plays on its port when plugged back in.
#include <functional>
#include <utility>

#include "game_fixture.h"
#include "platform/virtual_pad.h"
#include "system/joystick.h"

namespace {

constexpr int kSpace = 32;

int At(double fraction) { return static_cast<int>(fraction * 32767); }

int MovingShots() {
  int n = 0;
  WalkList<lazershot_tag>(*shotlist, [&](lazershot_tag* s) { n += s->tracer == 0; });
  return n;
}

class PadGameTest : public GameTest {
 protected:
  // The game starts with no joystick at all; the pad comes later.
  void StartWithoutJoystick() {
    HarnessOptions options;
    options.joystick = false;
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

  // The ship's movement over five frames with the pad held as `hold` leaves it.
  std::pair<int, int> Moved() {
    HarnessRun(2);  // the pointer placed by the last frame is the one the ship follows
    const int x = player->x, y = player->y;
    HarnessRun(5);
    return {player->x - x, player->y - y};
  }

  int pad = -1;
};

}  // namespace

TEST_F(PadGameTest, TheDpadSteersSixPixelsAFrameEachWay) {
  StartWithoutJoystick();
  Plug();
  EnterPlay();
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
  EnterPlay();
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
  ASSERT_EQ(titlemode, 1);
  Plug();
  SetVirtualPadButton(pad, PadButton::A, true);
  HarnessRun(1);
  SetVirtualPadButton(pad, PadButton::A, false);
  EXPECT_EQ(getready, 1) << "A did not start a game";

  EnterPlay();
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
  EnterPlay();
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
  EXPECT_EQ(playing, 1);
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
  EnterPlay();
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
