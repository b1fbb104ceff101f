// Seeking a replay: a seek to any frame, back or ahead of what was played, reaches the state that
// playing to that frame reached, and keyframes stay within their memory bound; a replay started at
// a moment (--from) ends as the whole one does, its frame log following the replay's frame.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "game/config/command_line.h"
#include "game/frame_log.h"
#include "game/replay/replay.h"
#include "game/replay/replay_file.h"
#include "game/replay/replay_seek.h"
#include "game/replay/state_hash.h"
#include "game/replay_run.h"
#include "tests/game/aim_script.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr int kFrames = 2100;

class ReplaySeeks : public GameTest {
 protected:
  HarnessOptions Options() {
    HarnessOptions options;
    options.folder = folder_.string();
    options.seed = 5150;
    options.null_graphics = true;
    return options;
  }

  // A game played by the aiming script, recorded.
  ReplayJournal Record() {
    MakeFolder();
    StartRecording();
    HarnessStart(Options());
    AimScript aim;
    for (int frame = 0; frame < kFrames && HarnessFrame(); ++frame) aim.Step();
    HarnessTapKey(27);
    HarnessFrame();
    ReplayJournal journal = StopRecording().journal;
    HarnessStop();
    return journal;
  }

  // Starts the replay and plays `frames` frames of it straight, noting the state at each.
  void Play(ReplayJournal journal, int frames) {
    StartReplay(std::move(journal));
    HarnessStart(Options());
    while (ReplayFramesPlayed() < frames) {
      KeepReplayKeyframe();
      hashes_[ReplayFramesPlayed()] = GameStateHash();
      ASSERT_TRUE(HarnessFrame());
      ASSERT_EQ(CurrentReplayStatus(), ReplayStatus::kPlaying) << ReplayDivergence();
    }
  }

  void TearDown() override {
    StopReplay();
    GameTest::TearDown();
  }

  std::map<int, std::uint64_t> hashes_;  // the state at the top of each frame played straight
};

TEST_F(ReplaySeeks, ASeekToAnyFrameReachesTheStatePlayingThereReached) {
  ReplayJournal journal = Record();
  ASSERT_GE(journal.games.at(0).frames, static_cast<std::uint32_t>(kFrames - 100));
  Play(std::move(journal), kFrames - 200);
  for (const int frame : {1500, 0, 1, 179, 180, 181, 777, 1899, 1234, 360, 1500, 1899}) {
    EXPECT_EQ(SeekReplay(frame, HarnessFrame), frame);
    EXPECT_EQ(GameStateHash(), hashes_[frame]) << "after a seek to frame " << frame;
  }
  // Back from there and ahead again: the same state each time; ahead of all that was played, on
  // to the replay's end, with the checks of the recording holding all the way.
  EXPECT_EQ(SeekReplay(600, HarnessFrame), 600);
  EXPECT_EQ(SeekReplay(1234, HarnessFrame), 1234);
  EXPECT_EQ(GameStateHash(), hashes_[1234]);
  EXPECT_EQ(SeekReplay(ReplayLength(), HarnessFrame), ReplayLength());
  EXPECT_TRUE(ReplayFramesDone());
  EXPECT_NE(CurrentReplayStatus(), ReplayStatus::kDiverged) << ReplayDivergence();
  // A keyframe every three seconds of game: at most 32 MB an hour.
  const double hours = ReplayLength() / (60.0 * 60 * 60);
  EXPECT_LT(ReplayKeyframeBytes() / hours, 32e6);
}

TEST_F(ReplaySeeks, FromAMomentTheReplayEndsAsTheWholeOneAndTheFrameLogFollowsIt) {
  const std::string file = (folder_ / "game.zxreplay").string();
  ASSERT_TRUE(SaveReplay(file, Record()));
  const GameRunResult whole = ReplayGame(file, true);
  ASSERT_EQ(whole.exit, ReplayExit::kOk) << whole.message;

  EXPECT_EQ(ReplayTimeFrame("0:20"), 1200);
  EXPECT_EQ(ReplayTimeFrame("0:20.5"), 1230);
  for (const char* bad : {"1:5", "0:60", "x", "-1", "1:00:00", ""}) {
    EXPECT_EQ(ReplayTimeFrame(bad), -1) << bad;
  }
  const std::string log = (folder_ / "frames.log").string();
  std::string problem;
  ASSERT_TRUE(StartFrameLog(log, &problem)) << problem;
  const GameRunResult part = ReplayGame(file, true, false, 1200);
  StopFrameLog();
  EXPECT_EQ(part.exit, ReplayExit::kOk) << part.message;
  EXPECT_EQ(part.score, whole.score);
  EXPECT_EQ(part.frames, whole.frames);

  // Each line of play names the screen, then the replay's frame: the first is the one after the
  // moment asked for (the frames before it are computed unseen), the last the replay's last.
  std::ifstream lines(log);
  std::string line;
  int first = -1, last = -1;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string frame, flip, work, wait, screen;
    int replay_frame = -1;
    if (!(words >> frame >> flip >> work >> wait >> screen >> replay_frame)) continue;
    if (screen != "replay") continue;
    if (first < 0) first = replay_frame;
    last = replay_frame;
  }
  EXPECT_EQ(first, 1201);
  EXPECT_EQ(last, whole.frames);
}

}  // namespace
