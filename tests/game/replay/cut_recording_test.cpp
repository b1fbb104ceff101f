// A recording cut short in the middle of a frame: the display went away under the game, which
// saved its replay with a close request where it stopped. The replayed game takes that close
// where the recording did and then finishes the frame, with one or two flips the recording never
// saw (two when it was paused: the pause screen's and the frame's own). Those flips are the
// game's end, not a divergence: the replay ends with every recorded frame played.
#include <gtest/gtest.h>

#include "game/play/screen_name.h"
#include "game/replay/replay.h"
#include "system/key_codes.h"
#include "system/polled_input.h"
#include "tests/game/aim_script.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr std::int32_t kSeed = 8086;

class CutRecording : public GameTest {
 public:
  HarnessOptions Options() {
    HarnessOptions options;
    options.folder = folder_.string();
    options.seed = kSeed;
    options.null_graphics = true;
    return options;
  }

  // What the lost display's save does to the recording: a close request, then its end.
  static ReplayJournal CutHere() {
    NoteCloseRequest();
    return StopRecording().journal;
  }

  // Plays `journal` back to its end; the status then, and whether the game itself ended.
  ReplayStatus Replay(const ReplayJournal& journal, bool* ended) {
    StartReplay(journal);
    HarnessStart(Options());
    *ended = false;
    while (CurrentReplayStatus() == ReplayStatus::kPlaying) {
      if (!HarnessFrame()) {
        *ended = true;
        break;
      }
    }
    const ReplayStatus status = CurrentReplayStatus();
    EXPECT_TRUE(ReplayFramesDone()) << ReplayFramesPlayed() << " frames played";
    StopReplay();
    HarnessStop();
    AppCloseRequested();  // the close requests fed at the replay's end stay with it
    return status;
  }

  void SetUp() override { MakeFolder(); }
};

TEST_F(CutRecording, CutBetweenFramesOrInThePauseScreenReplaysToItsEnd) {
  AimScript aim;
  bool ended = false;
  {
    // In play, cut at the first query of a frame: the replayed game draws and flips that frame.
    SCOPED_TRACE("between frames");
    StartRecording();
    HarnessStart(Options());
    RunUntil(
        [&] {
          aim.Step();
          return game_mode.playing == 1 && HarnessFlips() > 600;
        },
        3000);
    ReplayJournal journal = CutHere();
    EXPECT_FALSE(HarnessFrame());  // the recorded game, had it gone on, ends at the request
    HarnessStop();
    EXPECT_EQ(Replay(journal, &ended), ReplayStatus::kPlaying) << ReplayDivergence();
    EXPECT_TRUE(ended);
  }

  // Paused, cut inside the pause screen's flip.
  SCOPED_TRACE("paused");
  ReplayJournal journal;
  StartRecording();
  HarnessStart(Options());
  RunUntil(
      [&] {
        aim.Step();
        return game_mode.playing == 1 && HarnessFlips() > 600;
      },
      3000);
  int paused_flips = 0;
  HarnessOnFlip([&] {
    if (CurrentModalScreen() == ModalScreen::Pause && ++paused_flips == 10) journal = CutHere();
  });
  HarnessTapKey(Key(KeyCode::kSpace));
  HarnessRun(1);  // the pause screen, until the close request ends it
  HarnessOnFlip(nullptr);
  ASSERT_EQ(paused_flips, 10);
  HarnessStop();
  EXPECT_EQ(Replay(journal, &ended), ReplayStatus::kPlaying) << ReplayDivergence();
  EXPECT_TRUE(ended);
}

}  // namespace
