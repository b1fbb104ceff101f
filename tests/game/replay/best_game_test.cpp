// The best game inside the game: watched from the title it plays to its recorded score and hands
// back the title, a key or a pad button ends it early, and nothing is saved or recorded while it
// plays; a damaged or older best.replay is named and the title goes on; the ghost of a game
// played as the best one covers the ship frame by frame and changes nothing of the game.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "game/best_game_watch.h"
#include "game/config/settings_store.h"
#include "game/play/screen_name.h"
#include "game/replay/best_game.h"
#include "game/replay/ghost.h"
#include "game/replay/replay.h"
#include "game/replay/replay_file.h"
#include "game/replay/state_hash.h"
#include "game/replay_run.h"
#include "graphics/draw2d.h"
#include "graphics/pixmap.h"
#include "harness/harness.h"
#include "tests/game/aim_script.h"
#include "tests/game/file_state.h"
#include "tests/game/temp_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kSeed = 31337;
constexpr int kEsc = 27, kF1 = 112, kW = 'W', kA = 'A';
constexpr int kPlayFrames = 700;

// Counts a game's moments as the ghost does: the frame loop's flips since the game's start.
struct Moments {
  bool titleseen = true, ingame = false;
  std::size_t moment = 0;
  // At a flip: true while a game is under way; `before` is the moment of the pass just drawn.
  bool At(std::size_t* before) {
    const bool title = game_mode.titlemode == 1;
    bool counted = false;
    if (ingame) {
      if (title) {
        ingame = false;
      } else {
        *before = moment++;
        counted = true;
      }
    } else if (!title && titleseen) {
      ingame = true;
      moment = 0;
    }
    titleseen = title;
    return counted || (ingame && moment == 0);
  }
};

class BestGames : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    fs::create_directories(folder_ / "data");
  }
  void TearDown() override {
    HarnessStop();
    ResetSettings();
    UseBestReplay("");
    TempFolderTest::TearDown();
  }

  fs::path Data(const char* name) const { return folder_ / "data" / name; }

  // A run of the program (RecordGame) driven at each flip by `drive`, which is called for the
  // frame loop's own flips with the count of them.
  GameRunResult Run(const std::function<void(int)>& drive, const std::string& record = "") {
    HarnessOptions options;
    options.folder = folder_.string();
    options.nullgraphics = true;
    options.seed = kSeed;
    HarnessPrepare(options);
    int flips = 0;
    HarnessOnFlip([&] {
      if (CurrentModalScreen() == ModalScreen::Startup ||
          CurrentModalScreen() == ModalScreen::Splash)
        return;
      drive(++flips);
    });
    const GameRunResult result = RecordGame(record, kSeed, Data("best.replay").string());
    HarnessOnFlip(nullptr);
    return result;
  }

  // One game played by the aiming script and abandoned with F1, then ESC on the title. Each
  // flip of the game, `each` sees the moment of the pass just drawn.
  GameRunResult PlayOneGame(const std::function<void(std::size_t)>& each = nullptr) {
    AimScript aim;
    aim.restart = false;
    Moments moments;
    int played = 0;
    bool started = false, ended = false;
    return Run([&](int flip) {
      if (CurrentModalScreen() != ModalScreen::None) return;
      std::size_t before = 0;
      if (moments.At(&before) && each) each(moments.moment == 0 ? 0 : before + 1);
      if (game_mode.titlemode == 1) {
        if (!started && flip > 5) {
          HarnessClick(1);
          started = true;
        } else if (started && ended) {
          HarnessTapKey(kEsc);
        }
        return;
      }
      if (!game_mode.playing) return;
      if (++played == kPlayFrames) {
        HarnessTapKey(kF1);
        ended = true;
        return;
      }
      aim.Step();
    });
  }
};

TEST_F(BestGames, WatchingPlaysToTheRecordedScoreReturnsToTheTitleAndSavesNothing) {
  const GameRunResult first = PlayOneGame();
  ASSERT_TRUE(first.new_best);
  ASSERT_GT(first.score, 0);
  ASSERT_TRUE(fs::exists(Data("best.replay")));

  // The next run offers it on the title and plays it on W; the run goes on recording.
  const fs::path record = folder_ / "second.replay";
  const FileState score = StateOf(Data("hiscore.dat")), best = StateOf(Data("best.replay"));
  std::string line, during, after;
  bool filesheld = false;
  int back = 0, played = 0;
  const GameRunResult second = Run(
      [&](int flip) {
        const ModalScreen screen = CurrentModalScreen();
        if (screen == ModalScreen::BestGame) {
          if (during.empty()) during = CurrentScreenName();
          return;
        }
        if (screen != ModalScreen::None) return;
        if (flip == 10) {
          line = BestGameLine();
          HarnessTapKey(kW);
        }
        if (LastBestGameWatch().watched && ++back == 1) {
          after = CurrentScreenName();
          filesheld = StateOf(Data("hiscore.dat")) == score &&
                      StateOf(Data("best.replay")) == best && !fs::exists(folder_ / "pictures");
        }
        // Then a game of the player's own, which the run records.
        if (back == 20) HarnessClick(1);
        if (game_mode.playing == 1 && ++played == 100) HarnessTapKey(kF1);
        if (played >= 100 && game_mode.titlemode == 1) HarnessTapKey(kEsc);
      },
      record.string());
  EXPECT_EQ(line, "W = Watch Best Game (" + std::to_string(first.score) + ")");
  EXPECT_EQ(during, "bestgame");
  const BestGameWatch& watch = LastBestGameWatch();
  ASSERT_TRUE(watch.watched);
  EXPECT_EQ(watch.status, ReplayStatus::kDone) << watch.problem;
  EXPECT_EQ(watch.score, first.score);
  EXPECT_EQ(watch.frames, first.frames);
  EXPECT_EQ(after, "title");
  EXPECT_TRUE(filesheld) << "a file was written while watching";
  EXPECT_EQ(second.games, 1) << "the watched game was recorded, or the player's was not";
  ReplayJournal recorded;
  ASSERT_EQ(LoadReplay(record.string(), recorded), ReplayError::kNone);
  ASSERT_EQ(recorded.games.size(), 1u);
  EXPECT_LT(recorded.games[0].frames, static_cast<std::uint32_t>(first.frames));
  EXPECT_FALSE(second.new_best);
  EXPECT_EQ(StateOf(Data("best.replay")), best);
}

TEST_F(BestGames, AKeyOrAPadButtonEndsTheWatchingAndAClickOnItsLineStartsIt) {
  ASSERT_TRUE(PlayOneGame().new_best);
  const FileState best = StateOf(Data("best.replay"));
  std::vector<BestGameWatch> watches;
  bool inwatch = false;
  int watchflips = 0, titleflips = 0;
  const GameRunResult run = Run([&](int) {
    const ModalScreen screen = CurrentModalScreen();
    if (screen == ModalScreen::BestGame) {
      if (!inwatch) watchflips = 0;
      inwatch = true;
      ++watchflips;
      // The viewer's key in the first watching, the pad's fire button in the second.
      if (watchflips == 100 && watches.empty()) HarnessTapKey(kA);
      if (watchflips == 250 && watches.size() == 1) HarnessTapJoyButton(0);
      return;
    }
    if (screen != ModalScreen::None) return;
    if (inwatch) {
      inwatch = false;
      watches.push_back(LastBestGameWatch());
      titleflips = 0;
    }
    ++titleflips;
    if (titleflips == 10 && watches.empty()) HarnessTapKey(kW);
    if (titleflips == 10 && watches.size() == 1) {
      HarnessMoveMouse(320, 442);
      HarnessClick(1);
    }
    if (titleflips == 10 && watches.size() == 2) HarnessTapKey(kEsc);
  });
  ASSERT_EQ(watches.size(), 2u);
  EXPECT_TRUE(watches[0].stopped);
  EXPECT_TRUE(watches[1].stopped);
  // The pass in which the key is read is played before the watching ends.
  EXPECT_NEAR(watches[0].frames, 100, 2) << "the key ended it at once";
  EXPECT_NEAR(watches[1].frames, 250, 2) << "the click on the line started it, the pad ended it";
  EXPECT_EQ(run.games, 0) << "the click on the line started no game";
  EXPECT_EQ(StateOf(Data("best.replay")), best);
}

TEST_F(BestGames, ADamagedOrOlderBestReplayIsNamedAndTheTitleGoesOn) {
  ASSERT_TRUE(PlayOneGame().new_best);
  std::vector<char> bytes;
  {
    std::ifstream in(Data("best.replay"), std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  ASSERT_GT(bytes.size(), 100u);
  std::vector<char> damaged = bytes, older = bytes;
  damaged[bytes.size() / 2] ^= 0x21;
  older[8] = 3;  // the format number, after the magic
  struct Case {
    std::vector<char> bytes;
    std::string screen, stderr_says;
  };
  for (const Case& c :
       {Case{damaged, "best.replay cannot be watched: damaged", "damaged"},
        Case{older, "best.replay cannot be watched: made by an older version", "older version"}}) {
    std::ofstream(Data("best.replay"), std::ios::binary)
        .write(c.bytes.data(), static_cast<long>(c.bytes.size()));
    std::string line, screen;
    bool watched = false;
    ::testing::internal::CaptureStderr();
    const GameRunResult run = Run([&](int flip) {
      watched = watched || CurrentModalScreen() == ModalScreen::BestGame;
      if (CurrentModalScreen() != ModalScreen::None) return;
      if (flip == 10) {
        line = BestGameLine();
        HarnessTapKey(kW);
      }
      if (flip == 40) screen = CurrentScreenName();
      if (flip == 41) HarnessTapKey(kEsc);
    });
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(line, c.screen);
    EXPECT_EQ(screen, "title");
    EXPECT_FALSE(watched);
    // One line names the file and why (the sounds this folder lacks are named too).
    int lines = 0;
    std::size_t at = 0;
    for (std::size_t end; (end = said.find('\n', at)) != std::string::npos; at = end + 1) {
      const std::string text = said.substr(at, end - at);
      if (text.find("best.replay") == std::string::npos) continue;
      ++lines;
      EXPECT_NE(text.find(c.stderr_says), std::string::npos) << text;
    }
    EXPECT_EQ(lines, 1) << said;
    EXPECT_EQ(run.games, 0);
  }
}

TEST_F(BestGames, TheGhostOfTheSameGameCoversTheShipAndChangesNothing) {
  // The best game, with the ship's place after every frame of it.
  std::vector<ShipPoint> ship;
  ASSERT_TRUE(PlayOneGame([&](std::size_t moment) {
                ship.resize(moment + 1);
                ship[moment] = ShipPointNow();
              }).new_best);
  ASSERT_GT(ship.size(), static_cast<std::size_t>(kPlayFrames));

  // The same game again with the ghost on: in each frame it is where the best game's ship was.
  OverrideSettings({{"ghost", "on"}});
  int compared = 0, differed = 0;
  bool lead = false, tied = true;
  int ties = 0;
  PlayOneGame([&](std::size_t moment) {
    if (moment == 0) return;
    const std::optional<ShipPoint> ghost = GhostPoint();
    const ShipPoint& recorded = ship[moment - 1];
    if (!recorded.shown) {
      differed += ghost.has_value();
      return;
    }
    ++compared;
    differed += !ghost || ghost->x != recorded.x || ghost->y != recorded.y;
    const GhostCaptionText caption = GhostCaption();
    lead = lead || caption.title == "Best game";
    // The same game scores as the best game did: a tie (no difference shown), in words no one
    // takes for a level of the game.
    if (caption.title.empty() || !caption.difference.empty()) return;
    ++ties;
    tied = tied && caption.lead == "tied";
  });
  const std::uint64_t with = GameStateHash();
  EXPECT_GT(compared, kPlayFrames);
  EXPECT_EQ(differed, 0);
  EXPECT_TRUE(lead) << "the side bar showed no score of the best game";
  EXPECT_GT(ties, kPlayFrames / 2);
  EXPECT_TRUE(tied) << "the side bar said other than tied for a tie";

  // And with it off, from the same files, the game ends in the same state.
  ResetSettings();
  PlayOneGame();
  EXPECT_EQ(GameStateHash(), with);
}

// The ghost follows what the recorded ship showed: full while it flies, faint in hyperspace,
// nothing while it is destroyed; once the best game's track has ended, its final score stays.
// The same run with the ghost off shows what the ghost alone adds.
TEST_F(BestGames, TheGhostIsFaintInHyperspaceHiddenWhileDeadAndKeepsTheFinalScore) {
  constexpr int kX = 500, kY = 120, kSegment = 20, kParts = 4;
  std::vector<ShipPoint> track(kParts * kSegment);
  for (std::size_t i = 0; i < track.size(); ++i) {
    track[i] = {kX, kY, true, false, static_cast<int>(i) * 10};
    if (i / kSegment == 1) track[i].hyper = true;
    if (i / kSegment == 2) track[i].shown = false;
  }
  GhostCaptionText caption;
  bool shown_after = true;
  // The picture around the ghost's place at the middle of each part of the track.
  auto run = [&](const char* ghost) {
    UseGhostTrack(track);
    OverrideSettings({{"ghost", ghost}});
    HarnessOptions options;
    options.folder = folder_.string();
    options.seed = kSeed;
    HarnessStart(options);
    HarnessRun(5);
    std::vector<Ref<TPixmap>> squares;
    int flips = 0;  // of the game, the first the flip it started at (the ghost's moment 0 next)
    HarnessOnFlip([&] {
      if (game_mode.titlemode == 1 || CurrentModalScreen() != ModalScreen::None) return;
      if (flips++ % kSegment == kSegment / 2 + 1)
        squares.push_back(GrabPixmap(kX - 24, kY - 24, 48, 48));
    });
    HarnessClick(1);
    HarnessRun(static_cast<int>(track.size()) + 10);
    caption = GhostCaption();
    shown_after = GhostPoint().has_value();
    HarnessStop();
    ResetSettings();
    UseGhostTrack({});
    return squares;
  };
  const std::vector<Ref<TPixmap>> off = run("off");
  const std::vector<Ref<TPixmap>> on = run("on");
  ASSERT_GE(on.size(), static_cast<std::size_t>(kParts));
  ASSERT_EQ(on.size(), off.size());
  std::vector<long> added;  // the light the ghost adds in each part
  for (int part = 0; part < kParts; ++part) {
    long sum = 0;
    for (int y = 0; y < 48; ++y) {
      for (int x = 0; x < 48; ++x) {
        const std::uint32_t a = on[part]->ReadPixel(x, y), b = off[part]->ReadPixel(x, y);
        for (int shift : {0, 8, 16}) {
          sum +=
              std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255));
        }
      }
    }
    added.push_back(sum);
  }
  EXPECT_GT(added[0], 3 * added[1]) << "not faint in hyperspace";
  EXPECT_GT(added[1], 0) << "not drawn in hyperspace";
  EXPECT_EQ(added[2], 0) << "drawn while destroyed";
  EXPECT_GT(added[3], 3 * added[1]);
  EXPECT_FALSE(shown_after);
  EXPECT_EQ(caption.title, "Best game");
  EXPECT_EQ(caption.score, std::to_string(10 * (track.size() - 1)));
  EXPECT_EQ(caption.lead, "behind");
}

TEST_F(BestGames, TheWindowClosedWhileTheBestGameIsWatchedEndsTheProgram) {
  ASSERT_TRUE(PlayOneGame().new_best);
  int watched = 0, titles_after = 0;
  const GameRunResult run = Run([&](int flip) {
    if (CurrentModalScreen() == ModalScreen::BestGame) {
      if (++watched == 50) HarnessCloseWindow();
      return;
    }
    if (CurrentModalScreen() != ModalScreen::None) return;
    if (watched == 0 && flip == 10) HarnessTapKey(kW);
    // A run that goes on is ended, so that the test does not wait for ever.
    if (watched > 0 && ++titles_after == 30) HarnessTapKey(kEsc);
  });
  EXPECT_GE(watched, 50);
  EXPECT_LT(watched, 55) << "the watching went on after the close";
  EXPECT_EQ(titles_after, 0) << "the title came back";
  EXPECT_EQ(run.games, 0);
}

}  // namespace
