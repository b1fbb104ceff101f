// A whole game on the headless harness: a fixed seed and the aiming script play two swarm waves
// and a bonus round into the next cycle, then let the ship be hit. Checked along the way: the
// difficulty of each wave, the spawn cadence, the wave bonus paid once per swarm wave, the wave
// counter, the bonus round ending on its third escaped bee, the music of each phase, the best
// score passed once, the ship's death and the return to the title screen.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/audio_driver.h"
#include "core/app.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "harness/harness.h"
#include "tests/game/aim_script.h"
#include "tests/game/sanitizer.h"

namespace {

namespace fs = std::filesystem;

// A scratch folder whose data/ links every built sound but the three play tracks, so that the
// title track is the only music that loads (musicchannel is null while the others "play") and
// each play track names itself on stderr the first time it is asked for. The stored best is 300.
fs::path ScratchFolder() {
  EnterAppDir(nullptr);
  const fs::path built = fs::path(AppDir()) / "data";
  const fs::path folder = fs::temp_directory_path() / ("zx_scripted_" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder / "data");
  for (const auto& entry : fs::directory_iterator(built)) {
    std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".ogg") continue;
    if (name == "techno1.ogg" || name == "techno2.ogg" || name == "techno4.ogg") continue;
    fs::create_symlink(entry.path(), folder / "data" / name);
  }
  std::ofstream(folder / "data" / "hiscore.dat", std::ios::binary).write("\x2c\x01\0\0", 4);
  return folder;
}

struct WaveRecord {
  int phase = 0, swarmsperwave = 0, spawnrate = 0;
  int wave = 0;                  // the HUD's wave counter while it was played
  bool music = false;            // whether a track was loaded for it
  int frames = 0;                // frames of play
  std::vector<int> spawnframes;  // frames of play at which a swarm or a bonus bee came
  int maxescaped = 0;
  int flyawayscore = 0;  // points added during the fly-away that followed
};

// Each frame: the lowest merged bee's x, to put the ship in its way.
void SteerUnderLowestBee() {
  float x = -1, y = -1000;
  WalkList<starbee_tag>(*playfield.beelist, [&](starbee_tag* bee) {
    if (bee->btype == 0 && bee->y > y) {
      x = bee->x;
      y = bee->y;
    }
  });
  if (x >= 0) HarnessMoveMouse(static_cast<int>(x), 440);
}

TEST(ScriptedGame, TwoSwarmWavesAndABonusRoundThenTheShipIsHitAndTheTitleReturns) {
  const fs::path folder = ScratchFolder();
  testing::internal::CaptureStderr();
  HarnessOptions options;
  options.folder = folder.string();
  options.seed = 4242;
  // The software OpenGL is too slow under the thread sanitizer; the null driver plays the same
  // game there, so the music and audio threads are still checked over a whole game.
  options.null_graphics = kThreadSanitizer;
  HarnessStart(options);
  ASSERT_EQ(game_mode.titlemode, 1);
  EXPECT_TRUE(program.musicchannel) << "the title track plays";
  EXPECT_EQ(playfield.player->hscore, 300);

  AimScript aim;
  aim.restart = false;
  HarnessClick(1);
  HarnessRun(1);
  ASSERT_EQ(game_mode.getready, 1);

  std::vector<WaveRecord> waves;
  int newhschanges = 0;
  for (int frame = 0; frame < 30000; ++frame) {
    const int wasphase = progress.phase, waswaveend = game_mode.waveend;
    const int wasplaying = game_mode.playing, made = wave_counts.swarmsmade,
              score = playfield.player->score, newhs = playfield.player->newhs;
    aim.Step();
    ASSERT_TRUE(HarnessFrame());
    ASSERT_EQ(game_mode.gameover, 0) << "the ship was hit in wave " << waves.size();
    if (playfield.player->newhs != newhs) {
      ++newhschanges;
      EXPECT_GT(playfield.player->score, 300);
      EXPECT_LE(score, 300);
    }
    if (!wasplaying && game_mode.playing) {
      WaveRecord started;
      started.phase = progress.phase;
      started.swarmsperwave = progress.swarmsperwave;
      started.spawnrate = progress.spawnrate;
      started.wave = playfield.player->wave;
      started.music = static_cast<bool>(program.musicchannel);
      waves.push_back(started);
    }
    if (waves.empty()) continue;
    WaveRecord& wave = waves.back();
    if (wasplaying) {  // the spawner ran in this frame
      ++wave.frames;
      bool spawned = wasphase == 2 ? wave_counts.spawnctr == 0 && !game_mode.waveend
                                   : wave_counts.swarmsmade > made;
      if (spawned) wave.spawnframes.push_back(wave.frames);
      if (progress.escaped > wave.maxescaped) wave.maxescaped = progress.escaped;
    }
    if (waswaveend) wave.flyawayscore += playfield.player->score - score;
    if (waves.size() == 4 && wave.spawnframes.size() >= 2) break;
  }
  ASSERT_EQ(waves.size(), 4u) << "the script did not get through the first cycle";

  struct Expected {
    int phase, swarms, rate, wave, spawns, interval, flyawayscore;
  };
  const Expected expected[] = {{0, 10, 120, 1, 10, 120, 2000},
                               {1, 20, 110, 2, 20, 110, 2000},
                               {2, 20 + 10, 110 - 10, 3, -1, 140, 0},
                               {0, 30, 100, 3, -1, 100, 0}};
  for (int i = 0; i < 4; ++i) {
    const WaveRecord& wave = waves[i];
    const Expected& want = expected[i];
    SCOPED_TRACE("wave " + std::to_string(i));
    EXPECT_EQ(wave.phase, want.phase);
    EXPECT_EQ(wave.swarmsperwave, want.swarms);
    EXPECT_EQ(wave.spawnrate, want.rate);
    EXPECT_EQ(wave.wave, want.wave);
    EXPECT_FALSE(wave.music) << "only the title track loads in this folder";
    if (want.spawns >= 0) {
      EXPECT_EQ(static_cast<int>(wave.spawnframes.size()), want.spawns);
    }
    ASSERT_FALSE(wave.spawnframes.empty());
    EXPECT_EQ(wave.spawnframes[0], want.interval) << "the first comes one interval into play";
    for (std::size_t k = 1; k < wave.spawnframes.size(); ++k) {
      EXPECT_EQ(wave.spawnframes[k] - wave.spawnframes[k - 1], want.interval);
    }
    if (i < 3) {
      EXPECT_EQ(wave.flyawayscore, want.flyawayscore);
    }
  }
  EXPECT_EQ(waves[2].maxescaped, 2) << "the round ended on the third escape";
  EXPECT_EQ(newhschanges, 1) << "the best score is passed once a game";
  EXPECT_EQ(playfield.player->hscore, playfield.player->score);

  // Now the ship stops shooting and goes under the lowest merged bee.
  int frames = 0;
  while (!game_mode.gameover && frames < 20000) {
    SteerUnderLowestBee();
    ASSERT_TRUE(HarnessFrame());
    ++frames;
  }
  ASSERT_EQ(game_mode.gameover, 1);
  EXPECT_EQ(playfield.player->dead, 1);
  EXPECT_EQ(playfield.splatlist->Count(), 1);
  EXPECT_EQ(playfield.particlelist->Count(), 80);
  EXPECT_EQ(playfield.beelist->Count(), 0);
  EXPECT_EQ(playfield.beeshotlist->Count(), 0);
  EXPECT_EQ(playfield.pointslist->Count(), 0);
  EXPECT_FALSE(program.musicchannel && IsChannelPlaying(program.musicchannel));
  frames = HarnessRunUntil([] { return game_mode.titlemode == 1; }, 1000);
  EXPECT_LT(frames, 1000);
  EXPECT_EQ(game_mode.gameover, 0);
  EXPECT_TRUE(program.musicchannel) << "the title track again";
  HarnessStop();

  const std::string log = testing::internal::GetCapturedStderr();
  std::size_t t1 = log.find("techno1.ogg"), t4 = log.find("techno4.ogg"),
              t2 = log.find("techno2.ogg");
  ASSERT_NE(t1, std::string::npos);
  ASSERT_NE(t4, std::string::npos);
  ASSERT_NE(t2, std::string::npos);
  EXPECT_LT(t1, t4) << "the first swarm wave plays techno1, the second techno4";
  EXPECT_LT(t4, t2) << "then the bonus round techno2";
  EXPECT_EQ(log.find("techno3.ogg"), std::string::npos);
  fs::remove_all(folder);
}

}  // namespace
