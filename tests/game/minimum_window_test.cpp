// The window can be made no smaller than the 640x480 picture: below it the pointer's way to the
// picture and back skips pixels, so the ship could sit outside its zone and joystick steps would
// not be 6 pixels.
#include "graphics/display_mode.h"
#include "graphics/gl_graphics.h"
#include "platform/gl_window.h"
#include "platform/inject.h"
#include "system/polled_input.h"
#include "tests/game/game_fixture.h"

namespace {

TEST_F(GameTest, TheWindowStaysAtLeastThePicturesSizeAndTheShipInItsZone) {
  plat_inject_desktop_size(1920, 1080);
  SetDisplayMode(DisplayMode::Window);
  Start();
  GLContextRecord* r = CurrentGLContext();
  ASSERT_NE(r, nullptr);
  // The player drags the window's corner in to 320x240.
  plat_gl_window_set_style(r->window, PlatWindowStyle::kResizable, 320, 240);
  HarnessRun(1);
  int w = 0, h = 0;
  plat_gl_window_client_size(r->window, &w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  EXPECT_EQ(r->view_width, 640);
  EXPECT_EQ(r->view_height, 480);

  // At the limits of the zone the pointer placed back over the ship reads as the ship's place.
  EnterPlay();
  HarnessMoveMouse(639, 479);
  HarnessRun(2);
  EXPECT_EQ(playfield.player->x, 545);
  EXPECT_EQ(playfield.player->y, 460);
  EXPECT_EQ(MousePosX(), 545);
  EXPECT_EQ(MousePosY(), 460);
  SetDisplayMode(DisplayMode::Fullscreen);
}

}  // namespace
