// Tests of the frame loop's states: get-ready, pause, F1, quitting and the best score at exit.
#include <fstream>

#include "audio/razidazir_driver.h"
#include "game/frame_loop.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr int kSpace = 32, kEsc = 27, kF1 = 112, kF2 = 113, kF3 = 114;

// Flips during one pass of the frame loop: more than one means an inner loop ran.
int FlipsOfOneFrame(bool* ended = nullptr) {
  const int before = HarnessFlips();
  const bool more = HarnessFrame();
  if (ended) *ended = !more;
  return HarnessFlips() - before;
}

std::int64_t MusicPosition() {
  auto* channel = dynamic_cast<TRaziDazirChannel*>(program.musicchannel.get());
  return channel ? channel->Position() : -1;
}

}  // namespace

TEST_F(GameTest, PlayStartsWith267thFrameOfGetReadyAndEveryGetReadyRestartsItsTrack) {
  Start();
  EXPECT_EQ(game_mode.titlemode, 1);
  for (int game = 0; game < 2; ++game) {
    HarnessRun(3);
    Ref<TChannel> before = program.musicchannel;
    HarnessClick(1);
    HarnessRun(1);  // the click starts the game and runs the sequence's first frame
    ASSERT_EQ(game_mode.getready, 1);
    EXPECT_NE(program.musicchannel.get(), before.get()) << "game " << game;
    EXPECT_FALSE(IsChannelPlaying(before));
    EXPECT_TRUE(IsChannelPlaying(program.musicchannel));
    // Started from its beginning: well under the second a stale voice would have played.
    EXPECT_LT(MusicPosition(), 44100) << "game " << game;
    const int frames = 1 + RunUntil([] { return game_mode.playing == 1; }, 400);
    EXPECT_EQ(frames, 267);
    EXPECT_EQ(game_mode.getready, 0);
    HarnessTapKey(kF1);  // back to the title for the next game
    HarnessRun(2);
    ASSERT_EQ(game_mode.titlemode, 1);
  }
}

TEST_F(GameTest, SpacePausesOnlyWhilePlayingJoystickButton2InAnyState) {
  Start();
  HarnessTapKey(kSpace);
  EXPECT_EQ(FlipsOfOneFrame(), 1) << "Space paused the title screen";
  HarnessOnFlip([] {
    static int n = 0;
    if (++n == 3) HarnessTapJoyButton(2);  // the pause ends three flips in
  });
  HarnessTapJoyButton(2);
  EXPECT_GT(FlipsOfOneFrame(), 2) << "joystick button 2 did not pause the title screen";
  HarnessOnFlip(nullptr);

  EnterPlay();
  HarnessTapKey(kSpace);
  HarnessOnFlip([] {
    static int n = 0;
    if (++n == 5) HarnessTapKey(kSpace);
  });
  EXPECT_EQ(FlipsOfOneFrame(), 6);  // entry flip, four passes, the pass that sees Space, the frame
}

// Space counts only while playing: pressed during the get-ready or the fly-away sequence it is
// used up there, and the first frame of play does not pause.
TEST_F(GameTest, SpaceDuringGetReadyOrFlyAwayDoesNotPauseTheFirstFrameOfPlay) {
  Start();
  // A pause would last until a click: one at every flip ends it at once.
  HarnessOnFlip([] { HarnessClick(1); });
  auto pausesUntilPlay = [] {
    int pauses = 0;
    for (int i = 0; i < 800 && game_mode.playing == 0; ++i) pauses += FlipsOfOneFrame() > 1;
    EXPECT_EQ(game_mode.playing, 1);
    for (int i = 0; i < 3; ++i) pauses += FlipsOfOneFrame() > 1;
    return pauses;
  };
  HarnessRun(2);  // the click starts a game
  ASSERT_EQ(game_mode.getready, 1);
  HarnessTapKey(kSpace);
  HarnessRun(1);
  EXPECT_EQ(pausesUntilPlay(), 0) << "Space in the get-ready sequence paused play";

  wave_counts.swarmskilled = progress.swarmsperwave;  // the wave ends
  HarnessRun(1);
  ASSERT_EQ(game_mode.waveend, 1);
  HarnessTapKey(kSpace);
  HarnessRun(1);
  EXPECT_EQ(pausesUntilPlay(), 0) << "Space in the fly-away sequence paused play";
}

TEST_F(GameTest, EscInPauseEndsPauseAndProgramInTheSameFrame) {
  Start();
  EnterPlay();
  playfield.player->hscore = 4321;
  HarnessTapKey(kSpace);
  HarnessOnFlip([] {
    static int n = 0;
    if (++n == 4) HarnessKey(kEsc, true);
  });
  bool ended = false;
  EXPECT_EQ(FlipsOfOneFrame(&ended), 5);
  EXPECT_TRUE(ended);
  HarnessKey(kEsc, false);
  HarnessStop();
  std::ifstream file("data/hiscore.dat", std::ios::binary);
  unsigned char bytes[8] = {};
  file.read(reinterpret_cast<char*>(bytes), sizeof bytes);
  ASSERT_EQ(file.gcount(), 4);
  EXPECT_EQ(bytes[0] | bytes[1] << 8, 4321);
}

TEST_F(GameTest, F1InPauseReturnsToTitleInTheSameFrame) {
  Start();
  EnterPlay();
  HarnessTapKey(kSpace);
  HarnessOnFlip([] {
    static int n = 0;
    if (++n == 2) HarnessKey(kF1, true);
  });
  bool ended = false;
  FlipsOfOneFrame(&ended);
  HarnessKey(kF1, false);
  EXPECT_FALSE(ended);
  EXPECT_EQ(game_mode.titlemode, 1);
  EXPECT_EQ(game_mode.playing, 0);
  EXPECT_EQ(playfield.player->x, 320);
  EXPECT_EQ(playfield.player->y, 400);
}

// F1 ends whatever sequence runs with the game: no get-ready starts over the title afterwards,
// and the escaped bees do not carry into the next game.
TEST_F(GameTest, F1EndsFlyAwayAndGameOverAndClearsEscapedBees) {
  Start();
  EnterPlay();
  game_mode.playing = 0;
  game_mode.waveend = 1;
  progress.escaped = 2;
  HarnessTapKey(kF1);
  HarnessRun(1);
  EXPECT_EQ(game_mode.waveend, 0);
  EXPECT_EQ(progress.escaped, 0);
  HarnessRun(20);
  EXPECT_EQ(game_mode.getready, 0);
  EXPECT_EQ(game_mode.titlemode, 1);

  EnterPlay();
  destroyship();
  HarnessTapKey(kF1);
  HarnessRun(1);
  EXPECT_EQ(game_mode.gameover, 0);
  EXPECT_EQ(playfield.player->dead, 0);
}

TEST_F(GameTest, VolumeStepsWrapToOffAndBackInThePauseScreen) {
  Start();
  EnterPlay();
  HarnessTapKey(kSpace);
  HarnessOnFlip([] {
    static int n = 0;
    ++n;
    if (n == 2) HarnessTapKey(kF2);
    if (n == 3) {
      EXPECT_EQ(volumelabels[program.musicstep], "(off)");
    }
    if (n >= 4 && n < 14) HarnessTapKey(kF2);
    if (n >= 14 && n < 20) HarnessTapKey(kF3);
    if (n == 22) HarnessTapKey(kSpace);
  });
  HarnessRun(1);
  EXPECT_EQ(volumelabels[program.musicstep], "(100%)");
  EXPECT_NEAR(program.musicvol, 1.0f, 1e-5f);
  EXPECT_EQ(volumelabels[program.sfxstep], "(off)");  // 5 + 6 steps: past 100% to off
  EXPECT_EQ(program.sfxvol, 0.0f);
}

TEST_F(GameTest, CloseRequestInAnyStateEndsTheGameAndSavesTheBestScore) {
  // During the splash screen, on the title, in the pause screen, and in the background.
  for (int state = 0; state < 4; ++state) {
    HarnessOptions options;
    options.full_splash = state == 0;
    if (state == 0) {
      // No file yet: the best score read is 0, and the exit must write it all the same.
      HarnessOnFlip([] {
        if (HarnessFlips() == 5) HarnessCloseWindow();
      });
      Start(options);
      EXPECT_EQ(HarnessFlips(), 5) << "the splash went on after the close request";
      EXPECT_FALSE(HarnessFrame());
    } else if (state == 1) {
      Start(options);
      playfield.player->hscore = 1000 + state;
      HarnessRun(2);
      HarnessCloseWindow();
      EXPECT_EQ(HarnessRun(5), 1);
    } else if (state == 3) {
      Start(options);
      playfield.player->hscore = 1000 + state;
      HarnessRun(2);
      HarnessOnFlip([] {
        HarnessFocus(false);
        HarnessCloseWindow();
      });
      EXPECT_FALSE(HarnessFrame()) << "the close request was lost while suspended";
    } else {
      Start(options);
      playfield.player->hscore = 1000 + state;
      EnterPlay();
      HarnessTapKey(kSpace);
      HarnessOnFlip([] {
        static int n = 0;
        if (++n == 3) HarnessCloseWindow();
      });
      EXPECT_FALSE(HarnessFrame());
    }
    HarnessStop();
    std::ifstream file("data/hiscore.dat", std::ios::binary);
    unsigned char bytes[4] = {};
    file.read(reinterpret_cast<char*>(bytes), 4);
    ASSERT_EQ(file.gcount(), 4) << "state " << state;
    EXPECT_EQ(bytes[0] | bytes[1] << 8, state == 0 ? 0 : 1000 + state) << "state " << state;
  }
}
