// Taking over a film: the best game watched from the title and taken over with T at a moment is
// played on as a practice game, recorded as one by --record and replayed to its score and frames;
// scoring above the best it leaves the best score, best.replay and the hall of fame as they were,
// and the title gives back the player's keys and best.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "game/config/key_bindings.h"
#include "game/play/practice_game.h"
#include "game/play/screen_name.h"
#include "game/replay/best_game.h"
#include "game/replay/replay.h"
#include "game/replay/replay_file.h"
#include "game/replay_run.h"
#include "game/watch/best_game_watch.h"
#include "harness/harness.h"
#include "tests/game/aim_script.h"
#include "tests/game/file_state.h"
#include "tests/game/temp_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kSeed = 4242;
constexpr int kEsc = 27, kF1 = 112, kW = 'W', kT = 'T';
constexpr int kBestFrames = 600;       // frames of play in the game that sets the best
constexpr int kTakeOverFrame = 400;    // the film's frame at which T is pressed (in play)
constexpr int kPracticeFrames = 2400;  // frames of the practice game before its ESC

class TakeOver : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    fs::create_directories(folder_ / "data");
  }
  void TearDown() override {
    HarnessStop();
    UseInputChoices(InputChoices{});
    UseBestReplay("");
    TempFolderTest::TearDown();
  }

  // A run of the program driven at each of its flips past the splash.
  GameRunResult Run(const std::function<void()>& drive, const std::string& record = "") {
    HarnessOptions options;
    options.folder = folder_.string();
    options.null_graphics = true;
    options.seed = kSeed;
    HarnessPrepare(options);
    HarnessOnFlip([&] {
      if (CurrentModalScreen() != ModalScreen::Startup &&
          CurrentModalScreen() != ModalScreen::Splash) {
        drive();
      }
    });
    const GameRunResult result =
        RecordGame(record, kSeed, (folder_ / "data" / "best.replay").string());
    HarnessOnFlip(nullptr);
    return result;
  }

  // Every file the game keeps in its folder (the best score, best.replay, the hall of fame).
  std::map<std::string, FileState> Kept() const {
    std::map<std::string, FileState> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder_ / "data")) {
      if (entry.is_regular_file()) files[entry.path().string()] = StateOf(entry.path());
    }
    return files;
  }
};

TEST_F(TakeOver, APracticeGameIsRecordedReplaysToItsScoreAndChangesNoBestOrTable) {
  // A first run's game sets the best, which the hall of fame and best.replay keep.
  AimScript aim;
  aim.restart = false;
  int played = 0, titles = 0;
  const GameRunResult first = Run([&] {
    if (game_mode.titlemode == 1) {
      if (played > 0) HarnessTapKey(kEsc);
      if (played == 0 && ++titles == 5) HarnessClick(1);
      return;
    }
    if (game_mode.playing != 1) return;
    if (++played == kBestFrames) HarnessTapKey(kF1);
    if (played < kBestFrames) aim.Step();
  });
  ASSERT_TRUE(first.new_best);
  ASSERT_GT(first.score, 0);
  // Recorded with no quit key: ESC ends the practice game only with the player's own keys.
  const std::string best = (folder_ / "data" / "best.replay").string();
  ReplayJournal recorded;
  ASSERT_EQ(LoadReplay(best, recorded), ReplayError::kNone);
  recorded.games[0].choices.bindings.keys[static_cast<int>(GameAction::kQuit)] = kNoKey;
  ASSERT_TRUE(SaveReplay(best, recorded));
  const std::map<std::string, FileState> kept = Kept();

  // The next run watches it, takes it over at a frame and plays on past its score; ESC ends the
  // practice game on the title, and a second ESC there ends the run.
  const fs::path record = folder_ / "practice.replay";
  AimScript practice;
  practice.restart = false;
  int watched = 0, practised = 0, score = 0, best_after = -1, practice_best = -1;
  bool asked = false, ended = false, caption = false, keys = false, best_rose = false;
  std::string names, after;
  const GameRunResult second = Run(
      [&] {
        const ModalScreen screen = CurrentModalScreen();
        if (screen == ModalScreen::BestGame) {
          if (++watched == kTakeOverFrame) HarnessTapKey(kT);
          return;
        }
        if (screen != ModalScreen::None) return;
        if (game_mode.titlemode == 1) {
          if (!asked) HarnessTapKey(kW);
          asked = true;
          // Back from the watching that the practice game ended.
          if (!LastBestGameWatch().watched) return;
          if (after.empty()) {
            after = CurrentScreenName();
            best_after = playfield.player->hscore;
            keys = ActiveInputChoices() == InputChoices{};
          }
          HarnessTapKey(kEsc);
          return;
        }
        if (!LastBestGameWatch().watched && watched > 0) {
          // In the practice game, as the frame loop's own.
          if (names.find(CurrentScreenName()) == std::string::npos) {
            names += std::string(CurrentScreenName()) + " ";
          }
          caption = caption || (PracticeGame() && ReplayCaption().title.empty());
          score = playfield.player->score;
          if (practice_best < 0) practice_best = playfield.player->hscore;
          best_rose = best_rose || playfield.player->hscore != practice_best;
          if (game_mode.playing == 1 && ++practised == kPracticeFrames) {
            HarnessTapKey(kEsc);
            ended = true;
          }
          if (!ended) practice.Step();
        }
      },
      record.string());
  const BestGameWatch& watch = LastBestGameWatch();
  ASSERT_TRUE(watch.practised);
  EXPECT_EQ(watch.frames, kTakeOverFrame - 1) << "the film's frame at the take-over";
  EXPECT_EQ(names, "practice ");
  EXPECT_TRUE(caption);
  EXPECT_EQ(watch.practice_score, score);
  ASSERT_GT(watch.practice_score, first.score) << "the practice game did not pass the best";
  EXPECT_FALSE(best_rose) << "the HUD's best rose in the practice game";
  EXPECT_EQ(after, "title") << "ESC in the practice game ended the run, not the game";
  EXPECT_EQ(best_after, first.score) << "the title shows a best the practice game made";
  EXPECT_TRUE(keys) << "the player's own keys are not in force";
  EXPECT_FALSE(PracticeGame());
  EXPECT_FALSE(second.new_best);
  EXPECT_EQ(Kept(), kept) << "the practice run changed the best score, best.replay or the hall";

  // The recording keeps it as a practice game, which replays to its score and frames.
  ReplayJournal journal;
  ASSERT_EQ(LoadReplay(record.string(), journal), ReplayError::kNone);
  ASSERT_EQ(journal.games.size(), 1u);
  EXPECT_TRUE(journal.games[0].practice);
  EXPECT_EQ(journal.games[0].score, watch.practice_score);
  HarnessOptions options;
  options.folder = folder_.string();
  options.null_graphics = true;
  HarnessPrepare(options);
  const GameRunResult replayed = ReplayGame(record.string(), true);
  EXPECT_EQ(replayed.exit, ReplayExit::kOk) << replayed.message;
  EXPECT_EQ(replayed.score, watch.practice_score);
  EXPECT_EQ(replayed.frames, static_cast<int>(journal.games[0].frames));
  EXPECT_EQ(Kept(), kept);
}

}  // namespace
