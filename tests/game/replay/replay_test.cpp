// Record and replay: games recorded on the null driver replay on the null driver and on OpenGL to
// the same state (on a clock far from the recording's, so a simulation that read the clock would
// show); an altered replay stops at the first check after the change; a recording keeps games
// only, from their start; a run recorded as the
// program records it (RecordGame) replays game by game, best.replay holds the game that raised
// the best, and no replay writes the player's files; ESC ends a replay in a window, whose side bar
// says it is one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "game/config/colour_mode.h"
#include "game/config/game_files.h"
#include "game/config/settings_store.h"
#include "game/play/scores.h"
#include "game/play/screen_name.h"
#include "game/replay/replay.h"
#include "game/replay/replay_file.h"
#include "game/replay/state_hash.h"
#include "game/replay_run.h"
#include "graphics/draw2d.h"
#include "platform/clock.h"
#include "system/event.h"
#include "tests/game/aim_script.h"
#include "tests/game/file_state.h"
#include "tests/game/game_fixture.h"
#include "tests/game/sanitizer.h"
#include "tests/game/temp_folder.h"

namespace {

constexpr int kFrames = 2100;
constexpr std::int32_t kSeed = 424242;
constexpr int kEsc = 27, kSpace = 32, kF2 = 113, kF4 = 115, kF12 = 123;

struct GameRun {
  int score = 0;
  std::uint64_t hash = 0;  // the state when the run ended
};

std::vector<ReplayFrame> FramesOf(const RecordedGame& game, ReplayFrame* tail = nullptr) {
  std::vector<ReplayFrame> frames;
  ReplayFrame ignored;
  EXPECT_TRUE(DecodeReplayInput(game.input, frames, tail ? *tail : ignored));
  return frames;
}

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

class Replays : public GameTest {
 public:
  HarnessOptions Options(bool null) {
    HarnessOptions options;
    options.folder = folder_.string();
    options.seed = kSeed;
    options.null_graphics = null;
    return options;
  }

  // A run of kFrames frames played by the aiming script (a click on the title starts each game),
  // ended with ESC.
  RecordedRun Record(GameRun& run) {
    StartRecording();
    HarnessStart(Options(true));
    AimScript aim;
    for (int frame = 0; frame < kFrames; ++frame) {
      aim.Step();
      if (!HarnessFrame()) break;
    }
    HarnessTapKey(kEsc);
    EXPECT_FALSE(HarnessFrame());
    RecordedRun recorded = StopRecording();
    run.score = playfield.player->score;
    run.hash = GameStateHash();
    HarnessStop();
    fs::remove(folder_ / "data" / "hiscore.dat");
    return recorded;
  }

  // Plays the journal back on a clock moved far from the recording's; the status at its end.
  ReplayStatus Replay(ReplayJournal journal, bool null, GameRun& run) {
    plat_use_virtual_clock(true);
    plat_advance_clock(9876543);
    StartReplay(std::move(journal));
    HarnessStart(Options(null));
    while (CurrentReplayStatus() == ReplayStatus::kPlaying && HarnessFrame()) {
    }
    const ReplayStatus status = CurrentReplayStatus();
    run.score = playfield.player->score;
    run.hash = GameStateHash();
    EXPECT_TRUE(status != ReplayStatus::kPlaying || ReplayFramesDone());
    StopReplay();
    HarnessStop();
    fs::remove(folder_ / "data" / "hiscore.dat");
    return status;
  }

  void SetUp() override { MakeFolder(); }
  fs::path Folder() const { return folder_; }
};

void RecordAndReplay(Replays& test, bool null) {
  GameRun recorded;
  const RecordedRun run = test.Record(recorded);
  ASSERT_EQ(run.journal.games.size(), 1u);
  EXPECT_GE(run.journal.games[0].frames, static_cast<std::uint32_t>(kFrames - 100));
  EXPECT_EQ(run.journal.games[0].end, GameEnd::kProgramEnd);
  EXPECT_GT(recorded.score, 0);

  // Through the file, as a player's replay would come.
  const std::string path = (test.Folder() / "game.replay").string();
  ASSERT_TRUE(SaveReplay(path, run.journal));
  ReplayJournal loaded;
  ASSERT_EQ(LoadReplay(path, loaded), ReplayError::kNone);
  ASSERT_EQ(loaded, run.journal);

  // The player who replays it has a best score of their own, far above the recording's.
  fs::create_directories(test.Folder() / "data");
  ASSERT_TRUE(writehiscore((test.Folder() / "data" / "hiscore.dat").string(), 987654));
  GameRun replayed;
  EXPECT_EQ(test.Replay(std::move(loaded), null, replayed), ReplayStatus::kPlaying)
      << ReplayDivergence();
  EXPECT_EQ(replayed.score, recorded.score);
  EXPECT_EQ(replayed.hash, recorded.hash);
}

TEST_F(Replays, AGameRecordedOnTheNullDriverReplaysTheSameOnOpenGL) {
  if (kThreadSanitizer) GTEST_SKIP() << "2,100 frames on the software OpenGL: other builds";
  RecordAndReplay(*this, false);
}

TEST_F(Replays, AReplayWhoseInputWasAlteredStopsAtTheFirstCheckAfterTheChange) {
  GameRun recorded;
  RecordedRun run = Record(recorded);
  ASSERT_EQ(run.journal.games.size(), 1u);
  RecordedGame& game = run.journal.games[0];
  ReplayFrame tail;
  std::vector<ReplayFrame> frames = FramesOf(game, &tail);
  // The script holds the ship at y 440 and moves the pointer only in play: a run of frames that
  // each have such a move is play. The pointer is sent 150 pixels aside for 20 of them, from ten
  // frames before a check: the ship follows the pointer, so the state differs at that check.
  const auto played = [&](std::size_t k) {
    for (const ReplayEvent& e : frames[k].events) {
      if (e.event.id == EVENT_MOUSEMOVE && e.event.y == 440) return true;
    }
    return false;
  };
  std::size_t altered = 0;
  for (std::size_t i = 600; i + 70 < frames.size() && altered == 0; ++i) {
    if ((i + 1) % kReplayCheckEvery != kReplayCheckEvery - 10) continue;
    bool all = true;
    for (std::size_t k = i; k < i + 70; ++k) all = all && played(k);
    if (!all) continue;
    altered = i;
    for (std::size_t k = i; k < i + 20; ++k) {
      for (ReplayEvent& e : frames[k].events) {
        if (e.event.id == EVENT_MOUSEMOVE) e.event.x += e.event.x < 320 ? 150 : -150;
      }
    }
  }
  ASSERT_NE(altered, 0u) << "no stretch of play to alter";
  game.input = EncodeReplayInput(frames, tail);
  GameRun replayed;
  ASSERT_EQ(Replay(run.journal, true, replayed), ReplayStatus::kDiverged);
  // Frame numbers count from 1: the altered frame is number altered + 1.
  const int check = static_cast<int>((altered + 1 + kReplayCheckEvery - 1) / kReplayCheckEvery *
                                     kReplayCheckEvery);
  const std::string text = ReplayDivergence();
  EXPECT_NE(text.find("frame " + std::to_string(check) + " (" + GameTimeText(check) + " into"),
            std::string::npos)
      << text << " (altered frame " << altered + 1 << ")";
}

TEST_F(Replays, TitleAndAttractTimeIsNotKeptOnlyTheGamesFromTheirStart) {
  StartRecording();
  HarnessStart(Options(true));
  HarnessRun(3000);  // the title and its attract play, nearly a minute
  EXPECT_EQ(RecordedBytes(), 0u);
  EXPECT_EQ(RecordedFrames(), 0);
  HarnessClick(1);
  HarnessRun(400);
  const std::size_t game = RecordedBytes();
  EXPECT_GT(game, 0u);
  EXPECT_EQ(RecordedFrames(), 399) << "the frames after the one the click started the game in";
  HarnessTapKey(112);  // F1: back to the title
  HarnessRun(3000);
  EXPECT_EQ(RecordedFrames(), 401) << "the game ended with the title's return";
  const std::size_t after = RecordedBytes();
  EXPECT_LT(after, game + 200);
  const RecordedRun run = StopRecording();
  ASSERT_EQ(run.journal.games.size(), 1u);
  EXPECT_EQ(run.journal.games[0].end, GameEnd::kTitle);
  EXPECT_EQ(run.bestgame, -1);
  HarnessStop();

  // That game replays by itself, from the title's state it started with.
  GameRun replayed;
  EXPECT_EQ(Replay(run.journal, true, replayed), ReplayStatus::kDone) << ReplayDivergence();
  EXPECT_EQ(ReplayFramesPlayed(), 401);
}

// A run as the program records it: RecordGame, driven at each flip. Three games: the first is
// played well (with a screenshot, and the colour mode and the music volume changed in a pause)
// and then lost, the second lost at once, the third ended with ESC.
class RecordedRuns : public TempFolderTest {
 protected:
  void TearDown() override {
    HarnessStop();
    ResetSettings();
    SetColourMode(ColourMode::Anaglyph);
    TempFolderTest::TearDown();
  }

  void Drive(int flip) {
    if (CurrentModalScreen() == ModalScreen::Pause) {
      ++pauseflips;
      if (pauseflips == 2) HarnessTapKey(kF4);
      if (pauseflips == 4) HarnessTapKey(kF2);
      if (pauseflips == 6) HarnessTapKey(kSpace);
      return;
    }
    if (CurrentModalScreen() != ModalScreen::None || flip < 2) return;
    if (game_mode.titlemode == 0 && game_mode.getready == 1 && game_mode.seqctr == 1 &&
        playfield.player->wave == 1) {
      ++games;
      playframes = 0;
    }
    if (game_mode.titlemode == 1) {
      if (games == 1 && firstscore < 0) firstscore = playfield.player->score;
      if (games < 3) HarnessClick(1);
      return;
    }
    if (games == 1 && game_mode.getready == 1 && game_mode.seqctr == 50) HarnessTapKey(kF12);
    if (!game_mode.playing) return;
    ++playframes;
    if (games == 1 && playframes == 60) {
      HarnessTapKey(kSpace);
      return;
    }
    if (games == 3 && playframes == 200) {
      HarnessTapKey(kEsc);
      return;
    }
    if ((games == 1 && playframes < 900) || games == 3) {
      aim.Step();
    } else {
      SteerUnderLowestBee();
    }
  }

  AimScript aim;
  int games = 0, playframes = 0, pauseflips = 0, firstscore = -1;
};

TEST_F(RecordedRuns, ReplayGameByGameAndBestReplayHoldsTheGameThatRaisedTheBest) {
  const fs::path data = folder_ / "data", pictures = folder_ / "pictures";
  fs::create_directories(data);
  const fs::path built = fs::read_symlink("/proc/self/exe").parent_path() / "data";
  for (const auto& entry : fs::directory_iterator(built)) {
    if (entry.path().extension() == ".ogg") {
      fs::create_symlink(entry.path(), data / entry.path().filename());
    }
  }
  const ScopedEnv pictures_env("XDG_PICTURES_DIR", pictures.c_str());
  LoadSettings((folder_ / "config" / "settings.ini").string());
  aim.restart = false;
  HarnessOptions options;
  options.folder = folder_.string();
  options.null_graphics = true;
  HarnessPrepare(options);
  HarnessOnFlip([this] { Drive(HarnessFlips()); });
  const std::string recording = (folder_ / "run.replay").string();
  const GameRunResult recorded = RecordGame(recording, 31337, (data / "best.replay").string());
  const std::uint64_t end = GameStateHash();
  HarnessOnFlip(nullptr);
  ASSERT_EQ(games, 3);
  EXPECT_EQ(recorded.games, 3);
  EXPECT_TRUE(recorded.new_best);
  ASSERT_GT(firstscore, 0);
  ASSERT_LT(recorded.score, firstscore) << "the third game must not raise the best";
  // What the recorded run wrote: the best score, best.replay, the settings and a screenshot.
  ASSERT_TRUE(fs::exists(data / "hiscore.dat"));
  ASSERT_TRUE(fs::exists(data / "best.replay"));
  ASSERT_TRUE(fs::exists(folder_ / "config" / "settings.ini"));
  ASSERT_EQ(std::distance(fs::directory_iterator(pictures), fs::directory_iterator()), 1);
  fs::remove_all(pictures);
  const FileState score = StateOf(data / "hiscore.dat"), best = StateOf(data / "best.replay"),
                  settings = StateOf(folder_ / "config" / "settings.ini");

  // The run's games, one after another, to the last one's score and state.
  HarnessPrepare(options);
  GameRunResult replayed = ReplayGame(recording, true);
  EXPECT_EQ(replayed.ExitCode(), 0) << replayed.message;
  EXPECT_EQ(replayed.games, 3);
  EXPECT_EQ(replayed.score, recorded.score);
  EXPECT_EQ(replayed.frames, recorded.frames);
  EXPECT_EQ(GameStateHash(), end);

  // best.replay: the first game alone, to its final score.
  ReplayJournal journal;
  ASSERT_EQ(LoadReplay((data / "best.replay").string(), journal), ReplayError::kNone);
  EXPECT_EQ(journal.games.size(), 1u);
  HarnessPrepare(options);
  replayed = ReplayGame((data / "best.replay").string(), true);
  EXPECT_EQ(replayed.ExitCode(), 0) << replayed.message;
  EXPECT_EQ(replayed.score, firstscore);

  // Neither replay touched the player's files, though the games pressed F12, F4 and F2 and the
  // first raised the best.
  EXPECT_EQ(StateOf(data / "hiscore.dat"), score);
  EXPECT_EQ(StateOf(data / "best.replay"), best);
  EXPECT_EQ(StateOf(folder_ / "config" / "settings.ini"), settings);
  EXPECT_FALSE(fs::exists(pictures)) << "a replay saved a screenshot";
  EXPECT_TRUE(WritesPlayerFiles()) << "the switch is the replay's alone";
}

// How many pixels of the left side bar, around the replay caption, are lit.
int LitCaptionPixels() {
  Ref<TPixmap> bar = GrabPixmap(0, 200, 80, 60);
  int lit = 0;
  for (int y = 0; y < bar->height; ++y) {
    for (int x = 0; x < bar->width; ++x) lit += (bar->ReadPixel(x, y) & 0xFFFFFF) != 0;
  }
  return lit;
}

TEST_F(Replays, EscEndsAReplayInAWindowWhoseSideBarSaysItIsOne) {
  // Recorded on OpenGL, with the side bar looked at in play.
  const bool gl = !kThreadSanitizer;  // too slow there; the null driver stops alike
  StartRecording();
  HarnessStart(Options(!gl));
  HarnessClick(1);
  RunUntil([] { return game_mode.playing == 1; }, 400);
  int unlit = 0;
  // Read at a flip, before the frame is shown: afterwards the picture is undefined.
  HarnessOnFlip([&] { unlit = gl ? LitCaptionPixels() : 0; });
  HarnessRun(1);
  HarnessOnFlip(nullptr);
  HarnessRun(100);
  HarnessTapKey(kEsc);
  HarnessFrame();
  const RecordedRun run = StopRecording();
  HarnessStop();
  EXPECT_EQ(unlit, 0) << "the side bar is black in play";
  const std::string path = (folder_ / "game.replay").string();
  ASSERT_TRUE(SaveReplay(path, run.journal));

  int lit = 0, flips = 0;
  HarnessOptions options = Options(!gl);
  HarnessPrepare(options);
  HarnessOnFlip([&] {
    if (CurrentModalScreen() != ModalScreen::None) return;
    ++flips;
    if (flips == 150 && gl) lit = LitCaptionPixels();
    if (flips == 200) HarnessTapKey(kEsc);
  });
  const GameRunResult result = ReplayGame(path, false);
  HarnessOnFlip(nullptr);
  EXPECT_EQ(result.ExitCode(), 0) << result.message;
  EXPECT_TRUE(result.stopped);
  EXPECT_LT(result.frames, static_cast<int>(run.journal.games[0].frames));
  EXPECT_NE(result.message.find("stopped at frame"), std::string::npos) << result.message;
  if (gl) {
    EXPECT_GT(lit, 50) << "no caption in the side bar";
  }
}

}  // namespace
