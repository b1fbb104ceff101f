// The best-score jingle: once in a game, the first time the score passes the best, however many
// frames the score then stays above it and however often it rises; again in the next game.
#include "tests/game/counting_sound.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr int kF1 = 112;

using BestScoreJingle = GameTest;

TEST_F(BestScoreJingle, SoundsOncePerGameWhileTheScoreStaysAboveTheBest) {
  Start();
  Ref<CountingSound> jingle = New<CountingSound>();
  assets.snd_hscore = jingle;
  for (int game = 1; game <= 3; ++game) {
    SCOPED_TRACE(::testing::Message() << "game " << game);
    HarnessClick(1);
    HarnessRun(1);  // the game starts: the HUD runs from now on, get-ready included
    ASSERT_EQ(game_mode.getready, 1);
    playfield.player->hscore = 1000 * game;
    playfield.player->score = 1000 * game - 500;
    HarnessRun(20);
    EXPECT_EQ(jingle->starts, game - 1) << "below the best: no jingle";
    playfield.player->score = 1000 * game + 1;
    HarnessRun(1);
    EXPECT_EQ(jingle->starts, game) << "the best is passed";
    HarnessRun(30);  // the score stays above the best it raised
    for (int rise = 0; rise < 10; ++rise) {
      playfield.player->score += 250;
      HarnessRun(3);
    }
    EXPECT_EQ(jingle->starts, game) << "still once in this game";
    EXPECT_EQ(playfield.player->hscore, playfield.player->score);
    HarnessTapKey(kF1);  // back to the title for the next game
    HarnessRun(3);
    ASSERT_EQ(game_mode.titlemode, 1);
    HarnessRun(10);  // the title screen shows the best; nothing sounds
    EXPECT_EQ(jingle->starts, game);
  }
}

}  // namespace
