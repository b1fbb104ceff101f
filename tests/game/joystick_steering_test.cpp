// Joystick steering in the directions the other tests leave out: full right and full up move the
// pointer, and with it the ship, 6 pixels a frame; both axes at once move it diagonally.
#include "tests/game/game_fixture.h"

TEST_F(GameTest, JoystickFullRightAndFullUpSteerSixPixelsAFrame) {
  Start();
  EnterPlay();
  HarnessJoyAxis(0, 32767);
  HarnessRun(2);
  const int x = playfield.player->x;
  HarnessRun(5);
  EXPECT_EQ(playfield.player->x, x + 30);

  HarnessJoyAxis(0, 0);
  HarnessJoyAxis(1, 32767);  // down first, so that there is room to go up
  HarnessRun(6);
  HarnessJoyAxis(1, -32768);
  HarnessRun(2);
  const int y = playfield.player->y;
  HarnessRun(3);
  EXPECT_EQ(playfield.player->y, y - 18);

  HarnessJoyAxis(0, -32768);
  HarnessJoyAxis(1, 32767);
  HarnessRun(2);
  const int dx = playfield.player->x, dy = playfield.player->y;
  HarnessRun(2);
  EXPECT_EQ(playfield.player->x, dx - 12);
  EXPECT_EQ(playfield.player->y, dy + 12);
}
