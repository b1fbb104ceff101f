// The wave cycle: the spawner's cadence, the end of a wave and the difficulty steps, and the
// fly-away sequence that pays the wave bonus once.
#include "game/play/waves.h"
#include "tests/game/playfield_fixture.h"

namespace {

class WaveTest : public PlayfieldTest {
 protected:
  void SetUp() override {
    PlayfieldTest::SetUp();
    progress.spawnrate = 120;
    progress.swarmsperwave = 10;
  }
  // Ends the current wave and plays its fly-away sequence to the end; returns its frames.
  static int FinishWave() {
    if (progress.phase == 2) {
      progress.escaped = 3;
    } else {
      wave_counts.swarmskilled = progress.swarmsperwave;
    }
    checkwaveend();
    EXPECT_EQ(game_mode.waveend, 1);
    int frames = 0;
    while (game_mode.waveend && frames < 1000) {
      flyaway();
      ++frames;
    }
    EXPECT_EQ(game_mode.getready, 1);
    // What the get-ready sequence does before play resumes.
    game_mode.getready = 0;
    game_mode.playing = 1;
    playfield.player->reset();
    return frames;
  }
};

TEST_F(WaveTest, TheFirstSwarmComesAfterOneIntervalAndAFullWaveOnlyAdvancesTheId) {
  for (int frame = 1; frame < 120; ++frame) spawner();
  EXPECT_EQ(playfield.beelist->Count(), 0);
  spawner();
  EXPECT_EQ(playfield.beelist->Count(), 8);
  EXPECT_EQ(wave_counts.swarmid, 1);
  EXPECT_EQ(wave_counts.swarmsmade, 1);
  EXPECT_EQ(static_cast<starbee_tag*>(playfield.beelist->First())->spawnid, 1);

  wave_counts.swarmsmade = progress.swarmsperwave;
  wave_counts.swarmid = 150;
  for (int frame = 0; frame < 120; ++frame) spawner();
  EXPECT_EQ(wave_counts.swarmid, 0) << "the id runs 1 .. 150, then 0";
  EXPECT_EQ(playfield.beelist->Count(), 8);
}

TEST_F(WaveTest, TheBonusRoundReleasesABonusBeeEvery140FramesAndEndsOnTheThirdEscape) {
  progress.phase = 2;
  for (int frame = 1; frame <= 280; ++frame) spawner();
  auto bees = All<starbee_tag>(playfield.beelist);
  ASSERT_EQ(bees.size(), 2u);
  EXPECT_EQ(bees[0]->btype, 1);
  EXPECT_EQ(wave_counts.swarmsmade, 0);

  playfield.player->score = 5000;  // scored bees do not keep the round going
  progress.escaped = 2;
  checkwaveend();
  EXPECT_EQ(game_mode.waveend, 0);
  progress.escaped = 3;
  checkwaveend();
  EXPECT_EQ(game_mode.waveend, 1);
  EXPECT_EQ(playfield.beelist->Count(), 0);
  EXPECT_EQ(progress.escaped, 0);
}

TEST_F(WaveTest, SwarmWavesGetLongerAndFasterWhileBonusRoundsChangeNothing) {
  struct Step {
    int phase, swarms, rate;
  };
  // The values each wave is played with: 10 every 120, 20 every 110, bonus, 30 every 100 ...
  const Step expected[] = {{1, 20, 110}, {2, 30, 100}, {0, 30, 100}, {1, 40, 90},
                           {2, 50, 80},  {0, 50, 80},  {1, 60, 70}};
  for (const Step& step : expected) {
    FinishWave();
    EXPECT_EQ(progress.phase, step.phase);
    EXPECT_EQ(progress.swarmsperwave, step.swarms);
    EXPECT_EQ(progress.spawnrate, step.rate);
    EXPECT_EQ(wave_counts.swarmskilled, 0);
    EXPECT_EQ(wave_counts.swarmsmade, 0);
    EXPECT_EQ(wave_counts.swarmid, 0);
  }
  EXPECT_EQ(playfield.player->wave, 1 + 5) << "only swarm waves count";
  EXPECT_EQ(playfield.player->score, 5 * 2000);
  for (int wave = 0; wave < 30; ++wave) {
    progress.phase = 0;
    FinishWave();
  }
  EXPECT_EQ(progress.spawnrate, 20);
}

TEST_F(WaveTest, AWaveEndsOnlyWhilePlayingWhenEveryMergedBeeIsDown) {
  wave_counts.swarmskilled = 9;
  checkwaveend();
  EXPECT_EQ(game_mode.waveend, 0);
  wave_counts.swarmskilled = 10;
  game_mode.playing = 0;
  checkwaveend();
  EXPECT_EQ(game_mode.waveend, 0);
  game_mode.playing = 1;
  starbee_tag::Create(2, 0, 0, 0, 1, 0);
  checkwaveend();
  EXPECT_EQ(game_mode.waveend, 1);
  EXPECT_EQ(game_mode.playing, 0);
  EXPECT_EQ(playfield.beelist->Count(), 0);
  EXPECT_EQ(game_mode.seqctr, -1);
}

TEST_F(WaveTest, TheWaveBonusIsPaidOnceInTheFrameTheShipFirstRisesAboveTheTop) {
  wave_counts.swarmskilled = progress.swarmsperwave;
  checkwaveend();
  int frame = 0;
  int paidat = 0;
  while (game_mode.waveend && frame < 1000) {
    int before = playfield.player->score;
    flyaway();
    ++frame;
    if (playfield.player->score != before) {
      EXPECT_EQ(paidat, 0) << "paid twice";
      EXPECT_EQ(playfield.player->score - before, 2000);
      paidat = frame;
      EXPECT_LT(playfield.player->y, -30);
      EXPECT_GE(playfield.player->y + 6, -30);
    }
  }
  EXPECT_EQ(paidat, 72);  // from y = 400, 6 pixels a frame
  EXPECT_EQ(playfield.player->wave, 2);
  EXPECT_NEAR(frame, 330, 3);
  EXPECT_EQ(game_mode.getready, 1);
  EXPECT_EQ(game_mode.seqctr, 0);
  EXPECT_FLOAT_EQ(game_mode.fade, 1.0f);
}

TEST_F(WaveTest, AfterTheBonusRoundTheShipLeavesWithoutCaptionOrBonus) {
  progress.phase = 2;
  int frames = FinishWave();
  EXPECT_EQ(frames, 117);
  EXPECT_EQ(playfield.player->score, 0);
  EXPECT_EQ(playfield.player->wave, 1);
  EXPECT_EQ(progress.phase, 0);
  EXPECT_FALSE(game_mode.cycledone);
}

}  // namespace
