// The best game inside the game: watched from the title it plays to its recorded score and hands
// back the title with the player's own keys, a key or a pad button ends it early, and nothing is
// saved or recorded while it plays, yet a display lost meanwhile still saves the run's best; a
// damaged, older or FIFO best.replay is named and the title goes on, and so is one whose track
// leaves its game; best.replay keeps the better of two copies' games; the ghost of a game played
// as the best one covers the ship frame by frame and changes nothing of the game.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "game/config/key_bindings.h"
#include "game/config/player_name.h"
#include "game/config/settings_store.h"
#include "game/play/scores.h"
#include "game/play/screen_name.h"
#include "game/replay/best_game.h"
#include "game/replay/ghost.h"
#include "game/replay/hall_of_fame.h"
#include "game/replay/replay.h"
#include "game/replay/replay_file.h"
#include "game/replay/state_hash.h"
#include "game/replay_run.h"
#include "game/watch/best_game_watch.h"
#include "graphics/draw2d.h"
#include "graphics/pixmap.h"
#include "harness/harness.h"
#include "platform/display_lost.h"
#include "tests/game/aim_script.h"
#include "tests/game/child_game.h"
#include "tests/game/file_state.h"
#include "tests/game/held_fifo.h"
#include "tests/game/temp_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kSeed = 31337;
constexpr int kEsc = 27, kF1 = 112, kW = 'W', kA = 'A', kP = 'P', kQ = 'Q';
constexpr int kPlayFrames = 700;
constexpr char kLostDisplayChild[] = "ZX_WATCH_LOST_DISPLAY_CHILD";

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
    UseInputChoices(InputChoices{});
    UseBestReplay("");
    TempFolderTest::TearDown();
  }

  // best.replay's one game, changed by `change` and written back.
  void ChangeBestGame(const std::function<void(RecordedGame&)>& change) {
    ReplayJournal journal;
    ASSERT_EQ(LoadReplay(Data("best.replay").string(), journal), ReplayError::kNone);
    ASSERT_EQ(journal.games.size(), 1u);
    change(journal.games[0]);
    ASSERT_TRUE(SaveReplay(Data("best.replay").string(), journal));
  }
  // Its track's points changed by `change` (the bytes written anew).
  void ChangeBestTrack(const std::function<void(std::vector<ShipPoint>&)>& change) {
    ChangeBestGame([&](RecordedGame& game) {
      std::vector<ShipPoint> points;
      ASSERT_TRUE(DecodeShipTrack(game.track, points));
      change(points);
      ShipTrackWriter writer;
      for (const ShipPoint& point : points) writer.Add(point);
      game.track = writer.TakeBytes();
    });
  }
  // The final score best.replay's track claims; -1 when it cannot be read.
  int BestFileScore() const {
    ReplayJournal journal;
    std::vector<ShipPoint> points;
    if (LoadReplay(Data("best.replay").string(), journal) != ReplayError::kNone ||
        journal.games.size() != 1 || !DecodeShipTrack(journal.games[0].track, points) ||
        points.empty())
      return -1;
    return points.back().score;
  }

  fs::path Data(const char* name) const { return folder_ / "data" / name; }

  // A run of the program (RecordGame) driven at each flip by `drive`, which is called for the
  // frame loop's own flips with the count of them.
  GameRunResult Run(const std::function<void(int)>& drive, const std::string& record = "") {
    HarnessOptions options;
    options.folder = folder_.string();
    options.null_graphics = true;
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

  // One game played by the aiming script and abandoned with F1 after `frames` of play, then ESC
  // on the title. Each flip of the game, `each` sees the moment of the pass just drawn; `during`
  // is called in each frame of play.
  GameRunResult PlayOneGame(const std::function<void(std::size_t)>& each = nullptr,
                            int frames = kPlayFrames,
                            const std::function<void()>& during = nullptr) {
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
      if (during) during();
      if (++played == frames) {
        HarnessTapKey(kF1);
        ended = true;
        return;
      }
      aim.Step();
    });
  }

  // A run whose game raises the best and is then watched from the title; the display goes in
  // the middle of the watching. Never returns: the program ends.
  void WatchUntilTheDisplayGoes() {
    AimScript aim;
    aim.restart = false;
    int played = 0, watched = 0;
    bool started = false, asked = false;
    Run([&](int flip) {
      if (CurrentModalScreen() == ModalScreen::BestGame) {
        if (++watched == 200) plat_display_connection_broken();
        return;
      }
      if (CurrentModalScreen() != ModalScreen::None) return;
      if (game_mode.titlemode == 1) {
        if (!started && flip > 5) {
          HarnessClick(1);
          started = true;
        } else if (played >= kPlayFrames && !asked) {
          HarnessTapKey(kW);
          asked = true;
        }
        return;
      }
      if (!game_mode.playing || played >= kPlayFrames) return;
      if (++played == kPlayFrames) {
        HarnessTapKey(kF1);
        return;
      }
      aim.Step();
    });
  }

  // The line the title offers at its 10th flip, and how the watching it starts there ends; the
  // title's line after it.
  struct Watched {
    std::string before, after;
    BestGameWatch watch;
  };
  Watched WatchOnce() {
    Watched seen;
    bool back = false, inwatch = false;
    Run([&](int flip) {
      inwatch = inwatch || CurrentModalScreen() == ModalScreen::BestGame;
      if (CurrentModalScreen() != ModalScreen::None) return;
      if (flip == 10) {
        seen.before = BestGameLine();
        HarnessTapKey(kW);
      } else if ((inwatch || flip > 40) && !back) {
        back = true;
        seen.after = BestGameLine();
        HarnessTapKey(kEsc);
      }
    });
    seen.watch = LastBestGameWatch();
    return seen;
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
  EXPECT_EQ(line, "W = Watch Best Game (" + std::to_string(first.score) + ")  V = Video");
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

TEST_F(BestGames, EscOrThePadsBEndsTheWatchingAndAClickOnItsLineStartsIt) {
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
      // Another key changes nothing; ESC ends the first watching, the pad's B the second.
      if (watchflips == 50 && watches.empty()) HarnessTapKey(kA);
      if (watchflips == 100 && watches.empty()) HarnessTapKey(kEsc);
      if (watchflips == 250 && watches.size() == 1) HarnessTapJoyButton(1);
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
    lead = lead || caption.title == PlayerName();
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

TEST_F(BestGames, ADroppedReplayIsWatchedGRacesItsTrackAndTheHallOfFameHoldsTheBest) {
  const GameRunResult first = PlayOneGame();
  ASSERT_TRUE(first.new_best);
  // Each game entered the hall of fame as it ended; the best score is its top.
  const std::vector<HallEntry> table = ReadHallOfFame(Data("halloffame").string(), true);
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(table[0].score, first.score);
  EXPECT_EQ(table[0].player, PlayerName());
  EXPECT_EQ(readhiscore(Data("hiscore.dat").string()), table[0].score);

  // Another player's game, dropped on the window while the title shows.
  ReplayJournal rival;
  ASSERT_EQ(LoadReplay(Data("best.replay").string(), rival), ReplayError::kNone);
  rival.player = "Rival";
  const fs::path dropped = folder_ / "rival.zxreplay";
  ASSERT_TRUE(SaveReplay(dropped.string(), rival));
  std::vector<ShipPoint> track;
  ASSERT_TRUE(DecodeShipTrack(rival.games[0].track, track));

  std::string screen, caption, title;
  int watched = 0, compared = 0, differed = 0, played = 0;
  bool raced = false, named = false;
  Moments moments;
  Run([&](int flip) {
    if (CurrentModalScreen() == ModalScreen::Replay) {
      screen = CurrentScreenName();
      caption = ReplayCaption().player;
      title = ReplayCaption().title;
      if (++watched == 60) HarnessTapKey('G');
      return;
    }
    if (CurrentModalScreen() != ModalScreen::None) return;
    if (flip == 10) HarnessDropFile(dropped.string());
    std::size_t before = 0;
    if (moments.At(&before) && moments.moment > 1) {
      raced = true;
      const ShipPoint& recorded = track[before];
      const std::optional<ShipPoint> ghost = GhostPoint();
      if (recorded.shown) {
        ++compared;
        differed += !ghost || ghost->x != recorded.x || ghost->y != recorded.y;
      }
      named = named || GhostCaption().title == "Rival";
    }
    if (game_mode.playing == 1 && ++played == 300) HarnessTapKey(kF1);
    if ((played >= 300 || flip > 3000) && game_mode.titlemode == 1) HarnessTapKey(kEsc);
    if (flip > 4000) HarnessCloseWindow();
  });
  EXPECT_EQ(screen, "replay");
  EXPECT_EQ(caption, "Rival");
  EXPECT_EQ(title, "Replay") << "the side bar names the player twice";
  EXPECT_NEAR(watched, 60, 2);
  EXPECT_TRUE(raced) << "G started no game";
  EXPECT_GT(compared, 200);
  EXPECT_EQ(differed, 0) << "the ghost left the recorded track";
  EXPECT_TRUE(named) << "the ghost's side bar did not name its player";
}

TEST_F(BestGames, AfterWatchingThePlayersOwnKeysAreInForceWhateverTheGameWasRecordedWith) {
  ASSERT_TRUE(PlayOneGame().new_best);
  // Recorded with no key to quit or to pause: it plays the same, as it pressed neither.
  ChangeBestGame([](RecordedGame& game) {
    game.choices.bindings.keys[static_cast<int>(GameAction::kQuit)] = kNoKey;
    game.choices.bindings.keys[static_cast<int>(GameAction::kPause)] = kNoKey;
  });
  // The player quits with Q and pauses with P.
  ASSERT_TRUE(OverrideSettings({{"key_quit", "Q"}, {"key_pause", "P"}}));
  UseRunInputChoices();
  const InputChoices mine{RunSettings().bindings, RunSettings().pause_on_focus_loss};
  InputChoices after;
  int flips = 0, played = 0, pauseflips = 0;
  bool inwatch = false, watched = false, stuck = false;
  Run([&](int flip) {
    const ModalScreen screen = CurrentModalScreen();
    if (flip == 10) HarnessTapKey(kW);
    inwatch = inwatch || screen == ModalScreen::BestGame;
    if (screen == ModalScreen::BestGame || !inwatch) return;
    // Back on the title: a game, paused and carried on with P, abandoned, then Q.
    if (!watched) {
      watched = true;
      after = ActiveInputChoices();
      HarnessClick(1);
    }
    if (++flips > 2000) {
      stuck = true;
      program.quitflag = 1;
    }
    if (screen == ModalScreen::Pause) {
      if (++pauseflips == 10) HarnessTapKey(kP);
      return;
    }
    if (game_mode.playing == 1 && ++played == 30) HarnessTapKey(kP);
    if (pauseflips > 0 && game_mode.playing == 1 && played == 60) HarnessTapKey(kF1);
    if (played >= 60 && game_mode.titlemode == 1) HarnessTapKey(kQ);
  });
  EXPECT_EQ(LastBestGameWatch().status, ReplayStatus::kDone) << LastBestGameWatch().problem;
  EXPECT_TRUE(after == mine) << "the recorded keys stayed in force";
  EXPECT_GE(pauseflips, 10) << "P did not pause";
  EXPECT_FALSE(stuck) << "Q did not quit";
  EXPECT_TRUE(StoredSettings().bindings == kDefaultBindings);
}

// Run as the child of the next test, in that test's folder.
TEST_F(BestGames, DISABLED_WatchesUntilTheDisplayGoes) {
  const char* folder = std::getenv(kLostDisplayChild);
  if (!folder) GTEST_SKIP() << "run by another test, as its child";
  fs::remove_all(folder_);
  folder_ = folder;
  WatchUntilTheDisplayGoes();
}

TEST_F(BestGames, TheDisplayLostWhileWatchingSavesTheRunsBestAndItsGame) {
  child_game::Child child;
  fs::current_path(folder_);  // the runs before may have left the process in a folder now gone
  child.Start("BestGames.DISABLED_WatchesUntilTheDisplayGoes",
              {std::string(kLostDisplayChild) + "=" + folder_.string()}, folder_ / "stderr.txt");
  const int status = child.Wait(120);
  const std::string said = ReadText(folder_ / "stderr.txt");
  ASSERT_TRUE(WIFEXITED(status)) << "status " << status << "\n" << said;
  EXPECT_EQ(WEXITSTATUS(status), 1) << said;
  EXPECT_NE(said.find(": saved, and ending"), std::string::npos) << said;
  const std::string score = ReadText(Data("hiscore.dat"));
  ASSERT_EQ(score.size(), 4u) << "the run's best was not saved\n" << said;
  const int best = static_cast<unsigned char>(score[0]) |
                   static_cast<unsigned char>(score[1]) << 8 |
                   static_cast<unsigned char>(score[2]) << 16;
  EXPECT_GT(best, 0);
  EXPECT_EQ(BestFileScore(), best) << "best.replay does not hold the game that set the best";
}

TEST_F(BestGames, BestReplayIsReplacedOnlyByAGameScoringMoreThanTheFileAsItIsAtTheEnd) {
  // Two copies of the game at once: each finds, when it ends, what the other saved meanwhile.
  const int shorter = 250;
  ASSERT_TRUE(PlayOneGame(nullptr, shorter).new_best);
  const std::string less = ReadText(Data("best.replay"));
  const int low = BestFileScore();
  fs::remove(Data("best.replay"));
  fs::remove(Data("hiscore.dat"));
  ASSERT_GT(low, 0);

  // The better game ends after the other copy saved its lesser one: it replaces it.
  bool saved = false;
  const auto other_saves = [&](const std::string& bytes) {
    return [&saved, &bytes, this] {
      if (!saved) WriteText(Data("best.replay"), bytes);
      saved = true;
    };
  };
  const GameRunResult better = PlayOneGame(nullptr, kPlayFrames, other_saves(less));
  ASSERT_TRUE(better.new_best);
  ASSERT_GT(better.score, low);
  EXPECT_EQ(BestFileScore(), better.score);
  const std::string more = ReadText(Data("best.replay"));
  fs::remove(Data("hiscore.dat"));

  // The lesser game ends after the other copy saved its better one: it leaves it.
  saved = false;
  fs::remove(Data("best.replay"));
  const GameRunResult worse = PlayOneGame(nullptr, shorter, other_saves(more));
  ASSERT_TRUE(worse.new_best);
  EXPECT_EQ(worse.score, low);
  EXPECT_TRUE(ReadText(Data("best.replay")) == more) << "the better game was written over";
}

TEST_F(BestGames, ATrackThatClaimsWhatItsGameNeverDidIsTakenAsDamaged) {
  ASSERT_TRUE(PlayOneGame().new_best);
  const std::string recorded = ReadText(Data("best.replay"));
  const int score = BestFileScore();
  ASSERT_GT(score, 0);

  // Reaching 2147483647 at its end, in steps the track's bytes allow: refused when read.
  ChangeBestTrack([](std::vector<ShipPoint>& points) {
    const std::size_t from = points.size() - 200;
    for (std::size_t i = from; i < points.size(); ++i) {
      points[i].score = static_cast<int>(std::min<long long>(
          points[i].score + static_cast<long long>(i - from + 1) * 12000000, INT32_MAX));
    }
  });
  ::testing::internal::CaptureStderr();
  UseBestReplay(Data("best.replay").string());
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(BestGameLine(), "best.replay cannot be watched: damaged");
  EXPECT_NE(said.find("damaged"), std::string::npos) << said;
  UseBestReplay("");

  // Tracks a read cannot tell from their game's: 25 more from the middle on, and one cut short.
  // The watching stops where the game leaves them and names the file as damaged; the title
  // offers it no more, nor does the ghost fly it.
  struct Case {
    std::function<void(std::vector<ShipPoint>&)> change;
    int offered;
    std::string why;
  };
  std::size_t middle = 0, cut = 0;
  const Case cases[] = {
      {[&](std::vector<ShipPoint>& points) {
         middle = points.size() / 2;
         for (std::size_t i = middle; i < points.size(); ++i) points[i].score += 25;
       },
       score + 25, "its ship track is not where its game went"},
      {[&](std::vector<ShipPoint>& points) {
         points.resize(points.size() - 20);
         cut = points.size();
       },
       -1, "the game goes on after its ship track"},
  };
  for (const Case& c : cases) {
    WriteText(Data("best.replay"), recorded);
    ChangeBestTrack(c.change);
    ::testing::internal::CaptureStderr();
    const Watched seen = WatchOnce();
    const std::string said = ::testing::internal::GetCapturedStderr();
    if (c.offered >= 0) {
      EXPECT_EQ(seen.before.rfind("W = Watch Best Game (" + std::to_string(c.offered) + ")", 0), 0u)
          << seen.before;
    }
    EXPECT_TRUE(seen.watch.damaged) << seen.watch.problem;
    const std::size_t at = c.offered >= 0 ? middle : cut;
    EXPECT_NE(seen.watch.problem.find("replay damaged at frame " + std::to_string(at) + " "),
              std::string::npos)
        << seen.watch.problem;
    EXPECT_NE(seen.watch.problem.find(c.why), std::string::npos) << seen.watch.problem;
    EXPECT_NE(said.find(seen.watch.problem), std::string::npos) << said;
    EXPECT_EQ(seen.after, "best.replay cannot be watched: damaged");
    EXPECT_TRUE(BestGameTrack().empty()) << "the ghost would fly it";
  }
}

TEST_F(BestGames, ABestReplayThatIsAFifoHeldOpenIsRefusedAtOnceAndLeftAlone) {
  const std::string path = Data("best.replay").string();
  // A writer that never writes: were the FIFO read, the start would wait for ever.
  HeldFifo fifo(path, "");
  ASSERT_TRUE(fifo.Made());
  std::string said;
  const bool unread = fifo.EndsWithoutReading([&] {
    ::testing::internal::CaptureStderr();
    UseBestReplay(path);
    said = ::testing::internal::GetCapturedStderr();
  });
  EXPECT_TRUE(unread) << "reading the FIFO blocked";
  EXPECT_EQ(BestGameLine(), "best.replay cannot be watched: not a replay");
  EXPECT_NE(said.find("not a regular file"), std::string::npos) << said;
  // Nor is a best game written over it at the end.
  ReplayJournal one;
  one.games.emplace_back();
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(KeepBestGame(path, one));
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(fs::status(path).type(), fs::file_type::fifo);
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
