// The game's threads together: a scripted game of a few thousand frames on the null driver, with
// every music track streaming in on its worker while the mixer plays on the audio thread, and
// tracks replaced before they are decoded whole (abandoning a game every 700 frames switches to
// the title track, and the next game's get-ready to the play track). Small enough to run under
// the thread sanitizer, which is what it is for.
#include <gtest/gtest.h>

#include "game/play/music_stream.h"
#include "game/replay/state_hash.h"
#include "tests/game/aim_script.h"
#include "tests/game/game_fixture.h"

namespace {

class ThreadedGame : public GameTest {};

TEST_F(ThreadedGame, ScriptedPlayWithMusicStreamingAndReplacedOnTheNullDriver) {
  HarnessOptions options;
  options.folder = MakeFolder().string();
  options.null_graphics = true;
  HarnessStart(options);
  AimScript aim;
  TChannel* last = program.musicchannel.get();
  int replaced = 0, games = 0;
  for (int frame = 1; frame <= 3500; ++frame) {
    if (frame % 700 == 0) HarnessTapKey(112);  // F1: back to the title, its track restarts
    const int wasplaying = game_mode.playing;
    aim.Step();
    ASSERT_TRUE(HarnessFrame());
    games += !wasplaying && game_mode.playing;
    if (program.musicchannel.get() != last) {
      last = program.musicchannel.get();
      ++replaced;
    }
  }
  EXPECT_GE(games, 4);
  EXPECT_GE(replaced, 8);
  EXPECT_NE(GameStateHash(), 0u);
  FinishMusicStreams();
}

}  // namespace
