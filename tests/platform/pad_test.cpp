// Mapped pads through SDL's virtual game controllers: the shared layout, the D-pad, the stick's
// calibration and device numbers across plugging in and pulling out.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "platform/inject.h"
#include "platform/joystick.h"
#include "platform/virtual_pad.h"

namespace {

// SDL values at a fraction of a stick's range.
int At(double fraction) { return static_cast<int>(fraction * 32767); }

class VirtualPadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pad = PlugVirtualPad("Platform Test Pad");
    ASSERT_GE(pad, 0);
  }
  void TearDown() override { UnplugVirtualPad(pad); }

  PlatJoyPosition Read() {
    PlatJoyPosition position;
    EXPECT_TRUE(plat_joy_read(pad, &position));
    return position;
  }

  // The calibrated x and y positions of the left stick held at (x, y).
  std::pair<unsigned, unsigned> Stick(int x, int y) {
    SetVirtualPadAxis(pad, PadAxis::LeftX, x);
    SetVirtualPadAxis(pad, PadAxis::LeftY, y);
    PlatJoyPosition position = Read();
    return {position.axis[0], position.axis[1]};
  }

  int pad = -1;
};

}  // namespace

TEST_F(VirtualPadTest, EveryControlReadsWhereTheLayoutPutsIt) {
  PlatJoyCaps caps;
  ASSERT_TRUE(plat_joy_caps(pad, &caps));
  EXPECT_EQ(caps.layout, PlatJoyLayout::Gamepad);
  EXPECT_EQ(caps.name, "Platform Test Pad");
  EXPECT_EQ(caps.buttons, 11);
  EXPECT_TRUE(caps.has_hat);
  for (int a = 0; a < kPlatJoyAxes; ++a) {
    EXPECT_EQ(caps.axis_min[a], 0u) << a;
    EXPECT_EQ(caps.axis_max[a], 65534u) << a;
  }

  const PlatJoyPosition rest = Read();
  EXPECT_EQ(rest.buttons, 0u);
  EXPECT_EQ(rest.axis[0], 32767u);
  EXPECT_EQ(rest.axis[3], 32767u);
  EXPECT_EQ(rest.axis[4], 0u);  // triggers rest at their minimum
  EXPECT_EQ(rest.hat, kPlatJoyHatCentred);

  // SDL's virtual controller numbers its raw buttons A, B, X, Y, Back, ...: raw, Y would be
  // button 3. The guide button comes last, as SDL holds its release back for a while.
  const struct {
    PadButton button;
    unsigned bits;
  } layout[] = {
      {PadButton::A, 1u << 0},
      {PadButton::B, 1u << 1},
      {PadButton::X, 1u << 2},
      {PadButton::Back, 1u << 3},
      {PadButton::Y, 1u << 4},
      {PadButton::LeftShoulder, 1u << 5},
      {PadButton::RightShoulder, 1u << 6},
      {PadButton::LeftStick, 1u << 7},
      {PadButton::RightStick, 1u << 8},
      {PadButton::Start, 1u << 10},
      {PadButton::Guide, 1u << 9},
  };
  for (const auto& control : layout) {
    SetVirtualPadButton(pad, control.button, true);
    EXPECT_EQ(Read().buttons, control.bits) << static_cast<int>(control.button);
    SetVirtualPadButton(pad, control.button, false);
  }

  SetVirtualPadAxis(pad, PadAxis::RightX, -32768);
  SetVirtualPadAxis(pad, PadAxis::RightY, 32767);
  SetVirtualPadAxis(pad, PadAxis::LeftTrigger, 32767);
  const PlatJoyPosition moved = Read();
  EXPECT_EQ(moved.axis[2], 0u);
  EXPECT_EQ(moved.axis[3], 65534u);
  EXPECT_EQ(moved.axis[4], 65534u);
  EXPECT_EQ(moved.axis[5], 0u);
}

TEST_F(VirtualPadTest, TheDpadHoldsTheStickAtItsEndsAndTurnsTheHat) {
  const struct {
    PadButton first, second;
    unsigned x, y, hat;
  } ways[] = {
      {PadButton::DpadLeft, PadButton::DpadLeft, 0, 32767, 27000},
      {PadButton::DpadRight, PadButton::DpadRight, 65534, 32767, 9000},
      {PadButton::DpadUp, PadButton::DpadUp, 32767, 0, 0},
      {PadButton::DpadDown, PadButton::DpadDown, 32767, 65534, 18000},
      {PadButton::DpadUp, PadButton::DpadLeft, 0, 0, 31500},
      {PadButton::DpadDown, PadButton::DpadRight, 65534, 65534, 13500},
  };
  // Whatever the stick says: the D-pad wins on the axis it presses.
  SetVirtualPadAxis(pad, PadAxis::LeftX, At(0.3));
  SetVirtualPadAxis(pad, PadAxis::LeftY, At(0.3));
  const unsigned stick = Read().axis[0];
  for (const auto& way : ways) {
    SetVirtualPadButton(pad, way.first, true);
    SetVirtualPadButton(pad, way.second, true);
    const PlatJoyPosition position = Read();
    EXPECT_EQ(position.axis[0], way.x == 32767 ? stick : way.x) << way.hat;
    EXPECT_EQ(position.axis[1], way.y == 32767 ? stick : way.y) << way.hat;
    EXPECT_EQ(position.hat, way.hat);
    EXPECT_EQ(position.buttons, 0u);
    SetVirtualPadButton(pad, way.first, false);
    SetVirtualPadButton(pad, way.second, false);
  }
  EXPECT_EQ(Read().hat, kPlatJoyHatCentred);
}

TEST_F(VirtualPadTest, TheStickRangeEndsAt92PercentOnEveryDirection) {
  EXPECT_EQ(Stick(0, 0), std::make_pair(32767u, 32767u));
  // Straight, at 95 percent and at SDL's own ends.
  EXPECT_EQ(Stick(At(-0.95), 0), std::make_pair(0u, 32767u));
  EXPECT_EQ(Stick(0, At(0.95)), std::make_pair(32767u, 65534u));
  EXPECT_EQ(Stick(-32768, 32767), std::make_pair(0u, 65534u));
  // Diagonal, in a square gate's corner and at a round gate's 45 degrees.
  EXPECT_EQ(Stick(At(0.95), At(-0.95)), std::make_pair(65534u, 0u));
  EXPECT_EQ(Stick(At(-0.95 * 0.7072), At(-0.95 * 0.7072)), std::make_pair(0u, 0u));
  // The end lies between 91 and 93 percent.
  EXPECT_LT(Stick(At(0.91), 0).first, 65534u);
  EXPECT_GT(Stick(At(0.91), 0).first, 65000u);
  EXPECT_EQ(Stick(At(0.93), 0).first, 65534u);
  // Halfway stays well inside, straight and diagonal, and both sides mirror each other.
  const auto half = Stick(At(0.5), 0);
  EXPECT_GT(half.first, 32767u + 16000u);
  EXPECT_LT(half.first, 32767u + 20000u);
  EXPECT_EQ(Stick(At(-0.5), 0).first, 65534u - half.first);
  const auto diagonal = Stick(At(0.5), At(0.5));
  EXPECT_GT(diagonal.first, half.first);
  EXPECT_LT(diagonal.first, 65534u - 5000u);
  EXPECT_EQ(diagonal.second, diagonal.first);
}

TEST(PadHotPlugTest, APadPluggedBackGetsItsNumberAndANewPadTheLowestFree) {
  const int one = PlugVirtualPad("Hot Plug One");
  const int two = PlugVirtualPad("Hot Plug Two");
  ASSERT_GE(one, 0);
  ASSERT_GE(two, 0);
  ASSERT_NE(one, two);
  EXPECT_GT(plat_joy_device_count(), std::max(one, two));

  UnplugVirtualPad(one);
  UnplugVirtualPad(two);
  PlatJoyPosition position;
  PlatJoyCaps caps;
  EXPECT_FALSE(plat_joy_read(one, &position));
  EXPECT_FALSE(plat_joy_caps(two, &caps));

  // Back in the other order: each finds its own number.
  EXPECT_EQ(PlugVirtualPad("Hot Plug Two"), two);
  EXPECT_EQ(PlugVirtualPad("Hot Plug One"), one);
  EXPECT_TRUE(plat_joy_read(one, &position));

  // A pad never seen before takes the lowest free number, even one another pad held.
  UnplugVirtualPad(one);
  const int three = PlugVirtualPad("Hot Plug Three");
  EXPECT_LE(three, one);
  ASSERT_TRUE(plat_joy_caps(three, &caps));
  EXPECT_EQ(caps.name, "Hot Plug Three");
  UnplugVirtualPad(three);
  UnplugVirtualPad(two);
}

namespace {

// Each maker's pad, known by its USB numbers, says whose words its buttons carry; a pad of no
// known make carries the layout's own, and a joystick SDL does not map none.
TEST(PadFamilyTest, EachMakersPadTellsItsFamilyAndARawJoystickNone) {
  struct Make {
    unsigned short vendor, product;
    PlatPadFamily family;
  };
  for (const Make& make :
       {Make{0x045e, 0x028e, PlatPadFamily::kXbox360},
        Make{0x045e, 0x02ea, PlatPadFamily::kXboxOne},
        Make{0x054c, 0x0268, PlatPadFamily::kPlayStation3},
        Make{0x054c, 0x09cc, PlatPadFamily::kPlayStation4},
        Make{0x054c, 0x0ce6, PlatPadFamily::kPlayStation5},
        Make{0x057e, 0x2009, PlatPadFamily::kNintendo}, Make{0, 0, PlatPadFamily::kOther}}) {
    const std::string name = "Family Pad " + std::to_string(make.product);
    const int pad = PlugVirtualPad(name.c_str(), make.vendor, make.product);
    ASSERT_GE(pad, 0);
    PlatJoyCaps caps;
    ASSERT_TRUE(plat_joy_caps(pad, &caps));
    EXPECT_EQ(caps.layout, PlatJoyLayout::Gamepad) << name;
    EXPECT_EQ(caps.family, make.family) << name;
    UnplugVirtualPad(pad);
  }
  const int raw = plat_inject_joystick_attach(2, 4, 0);
  ASSERT_GE(raw, 0);
  PlatJoyCaps caps;
  ASSERT_TRUE(plat_joy_caps(raw, &caps));
  EXPECT_EQ(caps.family, PlatPadFamily::kNone);
  plat_inject_joystick_detach(raw);
}

}  // namespace
