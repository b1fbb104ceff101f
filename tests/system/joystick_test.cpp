// Joystick ports read through SDL virtual devices: raw joysticks and mapped pads.
#include "system/joystick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/inject.h"
#include "platform/virtual_pad.h"

TEST(JoystickAxisTest, TheFormulaReachesTheEndsExactly) {
  EXPECT_EQ(JoyAxisValue(0, 0, 65535), -1.0f);
  EXPECT_EQ(JoyAxisValue(65535, 0, 65535), 1.0f);
  EXPECT_NEAR(JoyAxisValue(32768, 0, 65535), 0.0f, 1e-4f);
  EXPECT_EQ(JoyAxisValue(100, 100, 300), -1.0f);  // the minimum counts from where it is
  EXPECT_EQ(JoyAxisValue(1234, 0, 0), 0.0f);      // an axis the device lacks
}

class VirtualJoystickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device = plat_inject_joystick_attach(2, 4, 1);
    ASSERT_GE(device, 0);
    int count = JoystickCount();
    ASSERT_GE(count, 1);
    port = count - 1;  // a virtual device comes after any real one
    ASSERT_LT(port, kJoyPorts);
  }
  void TearDown() override { plat_inject_joystick_detach(device); }

  int device = -1;
  int port = 0;
};

TEST_F(VirtualJoystickTest, FullDeflectionReadsExactlyMinusOneAndOne) {
  EXPECT_FALSE(JoystickName(port).empty());
  plat_inject_joystick_axis(device, 0, -32768);
  plat_inject_joystick_axis(device, 1, 32767);
  EXPECT_EQ(JoyAxisX(port), -1.0f);
  EXPECT_EQ(JoyAxisY(port), 1.0f);
  plat_inject_joystick_axis(device, 0, 0);
  EXPECT_NEAR(JoyAxisX(port), 0.0f, 1e-4f);
  EXPECT_EQ(JoyAxisZ(port), 0.0f);  // two axes only
}

TEST_F(VirtualJoystickTest, ButtonsCountOneHitPerPressEachOnItsOwn) {
  plat_inject_joystick_button(device, 0, true);
  EXPECT_EQ(JoyButtonHits(1, port), 0);  // reading button 1 does not use up button 0's hit
  EXPECT_EQ(IsJoyButtonDown(0, port), 1);
  EXPECT_EQ(JoyButtonHits(0, port), 1);
  EXPECT_EQ(JoyButtonHits(0, port), 0);  // held across reads: still the one hit

  plat_inject_joystick_button(device, 0, false);
  EXPECT_EQ(IsJoyButtonDown(0, port), 0);
  plat_inject_joystick_button(device, 0, true);
  plat_inject_joystick_button(device, 3, true);
  EXPECT_EQ(IsJoyButtonDown(3, port), 1);
  EXPECT_EQ(JoyButtonHits(0, port), 1);
  EXPECT_EQ(JoyButtonHits(3, port), 1);

  // Pressed and released between two reads: never seen.
  plat_inject_joystick_button(device, 2, true);
  plat_inject_joystick_button(device, 2, false);
  EXPECT_EQ(JoyButtonHits(2, port), 0);
  EXPECT_EQ(JoyButtonHits(16, port), 0);
  EXPECT_EQ(JoyButtonHits(-1, port), 0);
}

TEST_F(VirtualJoystickTest, TheHatReadsAFractionOfATurnOrMinusOneCentred) {
  EXPECT_EQ(JoyHat(port), -1.0f);
  plat_inject_joystick_hat(device, 0, 2);  // right
  EXPECT_EQ(JoyHat(port), 0.25f);
  plat_inject_joystick_hat(device, 0, 4 | 8);  // back and left
  EXPECT_EQ(JoyHat(port), 0.625f);
  plat_inject_joystick_hat(device, 0, 1);
  EXPECT_EQ(JoyHat(port), 0.0f);
}

TEST_F(VirtualJoystickTest, AnUnpluggedDeviceReadsCentredWithNothingHeld) {
  plat_inject_joystick_axis(device, 0, 32767);
  plat_inject_joystick_button(device, 1, true);
  plat_inject_joystick_hat(device, 0, 2);
  EXPECT_EQ(JoyAxisX(port), 1.0f);
  EXPECT_EQ(JoyButtonHits(1, port), 1);
  EXPECT_EQ(JoyUnplugHits(port), 0);
  plat_inject_joystick_detach(device);
  device = -1;
  EXPECT_EQ(JoyAxisX(port), 0.0f);
  EXPECT_EQ(IsJoyButtonDown(1, port), 0);
  EXPECT_EQ(JoyHat(port), -1.0f);
  EXPECT_EQ(JoyButtonHits(1, port), 0);
  EXPECT_EQ(JoyUnplugHits(port), 1);
  EXPECT_EQ(JoyUnplugHits(port), 0);  // counted once, however often the port is read
}

// A mapped pad on a port: the same layout whatever its make, the D-pad and the calibrated stick.
class VirtualPadPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device = PlugVirtualPad("System Test Pad");
    ASSERT_GE(device, 0);
    int count = JoystickCount();
    while (port < count && JoystickName(port) != "System Test Pad") ++port;
    ASSERT_LT(port, std::min(count, kJoyPorts));
  }
  void TearDown() override { UnplugVirtualPad(device); }

  // Both axes' readings with the left stick held at fractions of its range.
  std::pair<float, float> Stick(double x, double y) {
    SetVirtualPadAxis(device, PadAxis::LeftX, static_cast<int>(x * 32767));
    SetVirtualPadAxis(device, PadAxis::LeftY, static_cast<int>(y * 32767));
    return {JoyAxisX(port), JoyAxisY(port)};
  }

  int device = -1;
  int port = 0;
};

TEST_F(VirtualPadPortTest, AFireHyperspacePauseAndBackQuitButYQuitsNothing) {
  const struct {
    PadButton button;
    int port_button;  // -1: none of the four the game reads
  } layout[] = {
      {PadButton::A, 0},      {PadButton::B, 1},    {PadButton::X, 2},
      {PadButton::Start, -1}, {PadButton::Back, 3}, {PadButton::Y, -1},
  };
  for (const auto& control : layout) {
    SetVirtualPadButton(device, control.button, true);
    for (int b = 0; b < 4; ++b) {
      EXPECT_EQ(JoyButtonHits(b, port), b == control.port_button ? 1 : 0)
          << "pad button " << static_cast<int>(control.button) << ", port button " << b;
    }
    SetVirtualPadButton(device, control.button, false);
    EXPECT_EQ(IsJoyButtonDown(control.port_button < 0 ? 4 : control.port_button, port), 0);
  }
}

TEST_F(VirtualPadPortTest, TheStickAtItsGateAndTheDpadReadFullDeflection) {
  EXPECT_EQ(Stick(0, 0), std::make_pair(0.0f, 0.0f));
  EXPECT_EQ(Stick(-0.95, 0), std::make_pair(-1.0f, 0.0f));
  EXPECT_EQ(Stick(0, 0.95), std::make_pair(0.0f, 1.0f));
  EXPECT_EQ(Stick(0.95, -0.95), std::make_pair(1.0f, -1.0f));
  EXPECT_EQ(Stick(-0.95 * 0.7072, 0.95 * 0.7072), std::make_pair(-1.0f, 1.0f));  // a round gate
  const auto half = Stick(0.5, -0.5);
  EXPECT_GT(half.first, 0.5f);
  EXPECT_LT(half.first, 0.9f);
  EXPECT_EQ(half.second, -half.first);

  Stick(0.3, 0.3);
  SetVirtualPadButton(device, PadButton::DpadLeft, true);
  EXPECT_EQ(JoyAxisX(port), -1.0f);
  SetVirtualPadButton(device, PadButton::DpadLeft, false);
  SetVirtualPadButton(device, PadButton::DpadDown, true);
  EXPECT_EQ(JoyAxisY(port), 1.0f);
  EXPECT_EQ(JoyHat(port), 0.5f);
  SetVirtualPadButton(device, PadButton::DpadDown, false);
  SetVirtualPadButton(device, PadButton::DpadUp, true);
  SetVirtualPadButton(device, PadButton::DpadRight, true);
  EXPECT_EQ(JoyAxisX(port), 1.0f);
  EXPECT_EQ(JoyAxisY(port), -1.0f);
}

TEST_F(VirtualPadPortTest, PulledMidPressItReadsCentredAndPluggedBackItReadsOnItsPort) {
  SetVirtualPadButton(device, PadButton::A, true);
  SetVirtualPadAxis(device, PadAxis::LeftX, 32767);
  EXPECT_EQ(JoyButtonHits(0, port), 1);
  EXPECT_EQ(JoyAxisX(port), 1.0f);
  UnplugVirtualPad(device);
  EXPECT_EQ(IsJoyButtonDown(0, port), 0);
  EXPECT_EQ(JoyAxisX(port), 0.0f);
  EXPECT_EQ(JoyUnplugHits(port), 1);

  device = PlugVirtualPad("System Test Pad");
  ASSERT_GE(device, 0);
  EXPECT_EQ(JoystickName(port), "System Test Pad");
  SetVirtualPadButton(device, PadButton::A, true);
  EXPECT_EQ(JoyButtonHits(0, port), 1);
  EXPECT_EQ(JoyUnplugHits(port), 0);

  // Pulled again, with another pad plugged in instead: the stand-in plays on the port.
  UnplugVirtualPad(device);
  device = PlugVirtualPad("Stand-in System Test Pad");
  EXPECT_EQ(JoystickName(port), "Stand-in System Test Pad");
  SetVirtualPadButton(device, PadButton::B, true);
  EXPECT_EQ(JoyButtonHits(1, port), 1);
}

TEST(PadPluggedLaterTest, WithNoDeviceAtTheCountPort0ReadsTheFirstPadPluggedIn) {
  if (JoystickCount() != 0) GTEST_SKIP() << "a joystick is plugged in";
  EXPECT_EQ(IsJoyButtonDown(0, 0), 0);
  const int device = PlugVirtualPad("Late System Test Pad");
  ASSERT_GE(device, 0);
  SetVirtualPadButton(device, PadButton::A, true);
  EXPECT_EQ(JoyButtonHits(0, 0), 1);
  EXPECT_EQ(JoystickName(0), "Late System Test Pad");
  UnplugVirtualPad(device);
}

TEST(NoJoystickTest, EveryReadIsQuietlyZero) {
  if (JoystickCount() != 0) GTEST_SKIP() << "a joystick is plugged in";
  // Ports no other test reads, so that a run of all tests in one process agrees.
  for (int port : {3, 15, 16, -1}) {
    EXPECT_EQ(JoyAxisX(port), 0.0f);
    EXPECT_EQ(JoyAxisY(port), 0.0f);
    EXPECT_EQ(JoyButtonHits(0, port), 0);
    EXPECT_EQ(IsJoyButtonDown(3, port), 0);
    EXPECT_EQ(JoyHat(port), 0.0f);
  }
  EXPECT_EQ(JoystickName(0), "");
  EXPECT_EQ(JoystickName(300), "");
}
