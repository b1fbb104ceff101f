// Joystick ports read through SDL virtual devices.
#include "system/joystick.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/inject.h"

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

TEST_F(VirtualJoystickTest, AnUnpluggedDeviceKeepsItsLastValues) {
  plat_inject_joystick_axis(device, 0, 32767);
  plat_inject_joystick_button(device, 1, true);
  EXPECT_EQ(JoyAxisX(port), 1.0f);
  EXPECT_EQ(JoyButtonHits(1, port), 1);
  plat_inject_joystick_detach(device);
  device = -1;
  EXPECT_EQ(JoyAxisX(port), 1.0f);
  EXPECT_EQ(IsJoyButtonDown(1, port), 1);
  EXPECT_EQ(JoyButtonHits(1, port), 0);
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
