// A run recorded the way the program records every run (RecordGame, as --record and a plain
// launch call it), saved, read back from its file and replayed headless to the same score, frame
// count and state: with a pad in use, with no pad plugged in at all, and with the pad pulled out
// in play (which pauses the game). A pad records only the reads whose answer changed, an absent
// one none. Each recording is replayed twice, with no pad and with another
// pad plugged in: the viewer's pads play no part.
#include <gtest/gtest.h>

#include <string>

#include "game/config/settings_store.h"
#include "game/play/screen_name.h"
#include "game/replay/replay.h"
#include "game/replay/replay_file.h"
#include "game/replay/state_hash.h"
#include "game/replay_run.h"
#include "platform/virtual_pad.h"
#include "tests/game/aim_script.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr int kEsc = 27, kSpace = 32;
constexpr int kPlayFrames = 900, kPullAt = 300;

enum class PadPlay { kInUse, kNone, kPulledOut };

int JoystickChanges(const ReplayJournal& journal) {
  int changes = 0;
  for (const RecordedGame& game : journal.games) {
    std::vector<ReplayFrame> frames;
    ReplayFrame tail;
    EXPECT_TRUE(DecodeReplayInput(game.input, frames, tail));
    for (const ReplayFrame& frame : frames) changes += static_cast<int>(frame.joystick.size());
  }
  return changes;
}

class RecordedRunPads : public GameTest, public ::testing::WithParamInterface<PadPlay> {
 protected:
  void TearDown() override {
    GameTest::TearDown();
    UnplugVirtualPad(pad);
    UnplugVirtualPad(viewer_pad);
    ResetSettings();
  }

  HarnessOptions Options() const {
    HarnessOptions options;
    options.folder = folder_.string();
    options.null_graphics = true;
    options.joystick = false;  // the pads here are the test's own
    return options;
  }

  // At each flip of the recorded run: a click on the title starts the game, the aiming script
  // plays it with the mouse, the pad's stick sways the ship and its A button fires; a pause is
  // ended with Space; ESC ends the run after kPlayFrames frames of play or when the game is over.
  void Drive() {
    if (CurrentModalScreen() == ModalScreen::Pause) {
      if (++pauseflips % 10 == 0) HarnessTapKey(kSpace);
      return;
    }
    if (CurrentModalScreen() != ModalScreen::None) return;
    if (game_mode.titlemode && !game_mode.getready) {
      if (started) {
        HarnessTapKey(kEsc);
      } else {
        HarnessClick(1);
        started = true;
      }
      return;
    }
    if (!game_mode.playing) return;
    ++playframes;
    if (playframes == kPlayFrames) {
      HarnessTapKey(kEsc);
      return;
    }
    if (pad >= 0) {
      SetVirtualPadAxis(pad, PadAxis::LeftX, (playframes / 45) % 2 ? 32000 : -32000);
      SetVirtualPadButton(pad, PadButton::A, playframes % 20 < 2);
      if (GetParam() == PadPlay::kPulledOut && playframes == kPullAt) {
        UnplugVirtualPad(pad);
        pad = -1;
      }
    }
    aim.Step();
  }

  AimScript aim;
  bool started = false;
  int playframes = 0, pauseflips = 0;
  int pad = -1, viewer_pad = -1;
};

TEST_P(RecordedRunPads, ReplaysFromItsFileToTheSameScoreAndState) {
  MakeFolder();
  aim.restart = false;
  HarnessPrepare(Options());
  if (GetParam() != PadPlay::kNone) {
    pad = PlugVirtualPad("Recording Pad");
    ASSERT_GE(pad, 0);
  }
  HarnessOnFlip([this] { Drive(); });
  const std::string path = (folder_ / "run.replay").string();
  const GameRunResult recorded = RecordGame(path, 5150);
  const std::uint64_t end = GameStateHash();
  HarnessOnFlip(nullptr);
  ASSERT_TRUE(recorded.message.empty()) << recorded.message;
  ASSERT_EQ(recorded.games, 1);
  EXPECT_GE(playframes, kPullAt + 100) << "the game ended before the pad was pulled";
  EXPECT_GT(recorded.score, 0);
  EXPECT_EQ(pauseflips > 0, GetParam() == PadPlay::kPulledOut) << pauseflips << " paused flips";

  ReplayJournal journal;
  ASSERT_EQ(LoadReplay(path, journal), ReplayError::kNone);
  ASSERT_EQ(journal.games.size(), 1u);
  EXPECT_EQ(static_cast<int>(journal.games[0].frames), recorded.frames);
  const int changes = JoystickChanges(journal);
  if (GetParam() == PadPlay::kNone) {
    EXPECT_EQ(changes, 0) << "a pad that is not there recorded reads";
  } else {
    EXPECT_GT(changes, 10) << "the pad's stick and button were not recorded";
    // Only the reads whose answer changed: the stick's swings and the button's presses.
    EXPECT_LE(changes, kPlayFrames / 45 + kPlayFrames / 10 + 4);
  }

  UnplugVirtualPad(pad);
  pad = -1;
  for (const bool viewer_has_pad : {false, true}) {
    SCOPED_TRACE(viewer_has_pad ? "replayed with a pad plugged in" : "replayed without a pad");
    if (viewer_has_pad) {
      viewer_pad = PlugVirtualPad("Viewer Pad");
      ASSERT_GE(viewer_pad, 0);
    }
    HarnessPrepare(Options());
    const GameRunResult replayed = ReplayGame(path, true);
    EXPECT_EQ(replayed.ExitCode(), 0) << replayed.message;
    EXPECT_EQ(replayed.score, recorded.score);
    EXPECT_EQ(replayed.frames, recorded.frames);
    EXPECT_EQ(GameStateHash(), end);
    HarnessStop();
  }
}

std::string PadPlayName(const ::testing::TestParamInfo<PadPlay>& info) {
  switch (info.param) {
    case PadPlay::kInUse:
      return "PadInUse";
    case PadPlay::kNone:
      return "NoPad";
    case PadPlay::kPulledOut:
      return "PadPulledOut";
  }
  return "";
}

INSTANTIATE_TEST_SUITE_P(Pads, RecordedRunPads,
                         ::testing::Values(PadPlay::kInUse, PadPlay::kNone, PadPlay::kPulledOut),
                         PadPlayName);

}  // namespace
