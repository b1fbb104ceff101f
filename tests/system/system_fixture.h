// system_fixture.h - a window whose messages go through the translator, with polled input on.
//
// Input is injected through SDL's queue (platform/inject.h), so every test runs the real path:
// SDL event -> message -> window procedure -> translator -> event chain -> polled input.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/inject.h"
#include "platform/video.h"
#include "platform/window.h"
#include "system/polled_input.h"
#include "system/system_driver.h"
#include "system/translator.h"

class SystemWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(plat_video_init(&error)) << error;
    window = plat_window_create(PlatWindowSpec{320, 240, "test"}, &error);
    ASSERT_NE(window, 0u) << error;
    plat_window_set_procedure(window, TranslatingWindowProcedure, nullptr);
    StartSystem();
    PumpEvents();  // whatever the window's creation said goes before the test starts
    StartPolledInput(nullptr);
    AppCloseRequested();  // a request left over from an earlier test
  }

  void TearDown() override {
    StopPolledInput();
    plat_window_destroy(window);
  }

  void Press(int vkey) {
    plat_inject_key(window, vkey, true);
    plat_inject_key(window, vkey, false);
  }

  std::uint32_t window = 0;
};
