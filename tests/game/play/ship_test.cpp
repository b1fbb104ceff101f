// Tests of the ship, its laser shots, the stars, joystick steering and the ship's destruction.
#include <vector>

#include "system/polled_input.h"
#include "tests/game/game_fixture.h"

namespace {

std::vector<lazershot_tag*> Shots() {
  std::vector<lazershot_tag*> shots;
  WalkList<lazershot_tag>(*playfield.shotlist, [&](lazershot_tag* s) { shots.push_back(s); });
  return shots;
}

int MovingShots() {
  int n = 0;
  for (auto* s : Shots()) n += s->tracer == 0;
  return n;
}

}  // namespace

TEST_F(GameTest, JoystickSteersOnlyAtFullDeflection) {
  Start();
  EnterPlay();
  HarnessJoyAxis(0, -32768);
  HarnessRun(2);
  const int x = playfield.player->x;
  HarnessRun(5);
  EXPECT_EQ(playfield.player->x, x - 30);
  HarnessJoyAxis(0, -32440);  // about -0.99
  HarnessRun(2);
  const int held = playfield.player->x;
  HarnessRun(5);
  EXPECT_EQ(playfield.player->x, held);
  HarnessJoyAxis(1, 32767);
  HarnessRun(1);
  const int y = playfield.player->y;
  HarnessRun(3);
  EXPECT_EQ(playfield.player->y, y + 18);
}

TEST_F(GameTest, ShotsAtMostEvery8FramesWithPressesInTheCoolDownLost) {
  Start();
  EnterPlay();
  // Fire on every frame: one shot per 8 frames.
  for (int i = 0; i < 24; ++i) {
    HarnessClick(1);
    HarnessRun(1);
  }
  EXPECT_EQ(MovingShots(), 3);
  clearentities();
  HarnessRun(10);  // cool-down over
  HarnessClick(1);
  HarnessRun(1);
  ASSERT_EQ(MovingShots(), 1);
  HarnessClick(1);  // in the cool-down: consumed and lost, not kept for later
  HarnessRun(1);
  HarnessRun(10);
  EXPECT_EQ(MovingShots(), 1);
  // Left Control fires too.
  HarnessTapKey(162);
  HarnessRun(1);
  EXPECT_EQ(MovingShots(), 2);
}

TEST_F(GameTest, ShotLeavesTenFadingTracersAndLeavesAboveY10) {
  Start();
  EnterPlay();
  HarnessClick(1);
  HarnessRun(1);  // fired at (320, 400); first moved next frame
  HarnessRun(15);
  std::vector<lazershot_tag*> shots = Shots();
  ASSERT_EQ(shots.size(), 10u);  // the shot and nine tracers; the oldest went in its tenth update
  EXPECT_EQ(shots[0]->tracer, 0);
  EXPECT_EQ(shots[0]->y, 400 - 15 * 8);
  // Below the shot, ten tracers 8 pixels apart, each fainter than the one above.
  for (std::size_t i = 1; i < shots.size(); ++i) {
    EXPECT_EQ(shots[i]->tracer, 1);
    EXPECT_EQ(shots[i]->x, 320);
  }
  std::sort(shots.begin() + 1, shots.end(), [](auto* a, auto* b) { return a->y < b->y; });
  for (std::size_t i = 1; i < shots.size(); ++i) {
    EXPECT_EQ(shots[i]->y, shots[0]->y + 8 * static_cast<int>(i - 1));
    if (i > 1) {
      EXPECT_LT(shots[i]->alpha, shots[i - 1]->alpha);
    }
  }
  // 400 - 8k < 10 first for k = 49: the shot is gone then, its trail a few frames later.
  HarnessRun(48 - 15);
  EXPECT_EQ(MovingShots(), 1);
  HarnessRun(1);
  EXPECT_EQ(MovingShots(), 0);
  HarnessRun(10);
  EXPECT_TRUE(playfield.shotlist->IsEmpty());
}

TEST_F(GameTest, ShipClampedToItsZoneWithThePointerPutBack) {
  Start();
  EnterPlay();
  HarnessMoveMouse(30, 100);
  HarnessRun(1);
  EXPECT_EQ(playfield.player->x, 95);
  EXPECT_EQ(playfield.player->y, 280);
  EXPECT_EQ(MousePosX(), 95);
  EXPECT_EQ(MousePosY(), 280);
  HarnessMoveMouse(600, 470);
  HarnessRun(1);
  EXPECT_EQ(playfield.player->x, 545);
  EXPECT_EQ(playfield.player->y, 460);
  // With controls off the ship stays put.
  game_mode.playing = 0;
  HarnessMoveMouse(200, 300);
  HarnessRun(2);
  EXPECT_EQ(playfield.player->x, 545);
}

TEST_F(GameTest, HyperspaceIsTranslucentFor100FramesAndCannotBeRetriggered) {
  Start();
  EnterPlay();
  HarnessClick(2);
  HarnessRun(1);
  ASSERT_EQ(playfield.player->hyperctr, 100);
  int translucent = 0;
  for (int i = 0; i < 120; ++i) {
    if (i == 10) HarnessClick(2);  // ignored while the jump lasts
    const bool drawnfaint = playfield.player->hyperctr > 0;
    HarnessRun(1);
    translucent += drawnfaint;
  }
  EXPECT_EQ(translucent, 100);
  EXPECT_EQ(playfield.player->hyperctr, 0);
}

TEST_F(GameTest, StarsWrapPastTheBottomWithANewColumn) {
  Start();
  auto* star = dynamic_cast<starfield_tag*>(playfield.starlist->First());
  ASSERT_NE(star, nullptr);
  EXPECT_EQ(playfield.starlist->Count(), 300);
  star->size = 0;
  star->y = 479;
  HarnessRun(1);
  EXPECT_EQ(star->y, 482);  // not yet beyond 482
  HarnessRun(1);
  EXPECT_EQ(star->y, -3);
  EXPECT_GE(star->x, 80);
  EXPECT_LT(star->x, 560);
}

TEST_F(GameTest, ShipDestroyedLeavesOneSplatAnd80ParticlesAndStopsTheMusic) {
  Start();
  EnterPlay();
  HarnessClick(1);
  HarnessRun(3);
  ASSERT_FALSE(playfield.shotlist->IsEmpty());
  destroyship();
  EXPECT_TRUE(playfield.shotlist->IsEmpty());
  EXPECT_TRUE(playfield.beelist->IsEmpty());
  EXPECT_EQ(playfield.splatlist->Count(), 1);
  EXPECT_EQ(playfield.particlelist->Count(), 80);
  EXPECT_EQ(playfield.starlist->Count(), 300);
  EXPECT_EQ(playfield.player->dead, 1);
  EXPECT_EQ(game_mode.playing, 0);
  EXPECT_EQ(game_mode.gameover, 1);
  EXPECT_FALSE(IsChannelPlaying(program.musicchannel));
  // The game-over caption fades after 120 frames, by 0.006 a frame: the title is back after 287.
  const int frames = RunUntil([] { return game_mode.titlemode == 1; }, 400);
  EXPECT_EQ(frames, 287);
  EXPECT_EQ(playfield.player->dead, 0);
  EXPECT_TRUE(IsChannelPlaying(program.musicchannel));
}

// Joystick steering in the directions the other tests leave out: full right and full up move the
// pointer, and with it the ship, 6 pixels a frame; both axes at once move it diagonally.

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
