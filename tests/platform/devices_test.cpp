// Joystick reads in multimedia style, and what happens when a device is missing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/inject.h"
#include "platform/joystick.h"
#include "platform/video.h"
#include "platform/window.h"

TEST(PlatformJoystickTest, PositionsSpanTheCapabilityRangeEndToEnd) {
  int device = plat_inject_joystick_attach(3, 5, 1);
  ASSERT_GE(device, 0);
  ASSERT_GT(plat_joy_device_count(), device);
  PlatJoyCaps caps;
  ASSERT_TRUE(plat_joy_caps(device, &caps));
  EXPECT_EQ(caps.buttons, 5);
  EXPECT_TRUE(caps.has_hat);
  EXPECT_EQ(caps.axis_min[0], 0u);
  EXPECT_EQ(caps.axis_max[0], 65535u);
  EXPECT_EQ(caps.axis_max[2], 65535u);
  EXPECT_EQ(caps.axis_max[3], 0u);  // no rudder

  plat_inject_joystick_axis(device, 0, -32768);
  plat_inject_joystick_axis(device, 1, 32767);
  plat_inject_joystick_button(device, 0, true);
  plat_inject_joystick_button(device, 4, true);
  plat_inject_joystick_hat(device, 0, 8);
  PlatJoyPosition position;
  ASSERT_TRUE(plat_joy_read(device, &position));
  EXPECT_EQ(position.axis[0], 0u);
  EXPECT_EQ(position.axis[1], 65535u);
  EXPECT_EQ(position.axis[2], 32768u);
  EXPECT_EQ(position.buttons, 0x11u);
  EXPECT_EQ(position.hat, 27000u);

  plat_inject_joystick_detach(device);
  EXPECT_FALSE(plat_joy_read(device, &position));
  EXPECT_FALSE(plat_joy_caps(device, &caps));
  EXPECT_FALSE(plat_joy_read(-1, &position));
  EXPECT_FALSE(plat_joy_read(99, &position));
}

TEST(NoDisplayTest, VideoFailsWithASentenceAndWindowsAreRefused) {
  if (plat_video_running()) GTEST_SKIP() << "video already started in this process";
  const char* old = std::getenv("SDL_VIDEODRIVER");
  std::string saved = old ? old : "";
  setenv("SDL_VIDEODRIVER", "no-such-display", 1);
  std::string error;
  EXPECT_FALSE(plat_video_init(&error));
  EXPECT_NE(error.find("No display available"), std::string::npos) << error;
  EXPECT_NE(error.find("no-such-display"), std::string::npos) << error;

  std::string why;
  EXPECT_EQ(plat_window_create(PlatWindowOptions{}, &why), 0u);
  EXPECT_FALSE(why.empty());
  if (old) {
    setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
  } else {
    unsetenv("SDL_VIDEODRIVER");
  }
}

// Keeps an environment variable's value across a test that changes it.
class SavedVariable {
 public:
  explicit SavedVariable(const char* name) : name_(name) {
    const char* value = std::getenv(name);
    had_ = value != nullptr;
    if (had_) value_ = value;
  }
  ~SavedVariable() {
    if (had_) {
      setenv(name_, value_.c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  bool had_ = false;
  std::string value_;
};

// With no X server and no Wayland socket SDL falls back to its offscreen driver on its own, and a
// program would run unseen. Only a program that names the offscreen driver gets it.
TEST(NoDisplayTest, TheOffscreenFallbackIsRefusedUnlessAskedForByName) {
  if (plat_video_running()) GTEST_SKIP() << "video already started in this process";
  SavedVariable display("DISPLAY"), wayland("WAYLAND_DISPLAY"), driver("SDL_VIDEODRIVER");
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("SDL_VIDEODRIVER");
  std::string error;
  EXPECT_FALSE(plat_video_init(&error));
  EXPECT_FALSE(plat_video_running());
  EXPECT_EQ(error.rfind("No display available", 0), 0u) << error;
  plat_video_quit();

  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  EXPECT_TRUE(plat_video_init(&error)) << error;
  plat_video_quit();
}
