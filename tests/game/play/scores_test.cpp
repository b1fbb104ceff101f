// The best-score file: its four-byte format, reading short, missing and odd files, saving without
// ever losing the stored score (the higher of this run's and the file's at save time, through a
// symbolic link, never over a FIFO), and the best score following the running score.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/scores.h"
#include "tests/game/counting_sound.h"
#include "tests/game/game_fixture.h"

namespace {

namespace fs = std::filesystem;

class ScoreFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("zx_scores_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "data");
    path_ = (folder_ / "data" / "hiscore.dat").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  void WriteBytes(const std::vector<unsigned char>& bytes) {
    std::ofstream out(path_, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
  }
  std::vector<unsigned char> ReadBytes() {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path folder_;
  std::string path_;
};

TEST_F(ScoreFileTest, TheFileIsExactlyFourLittleEndianBytesAndReadsBack) {
  ASSERT_TRUE(writehiscore(path_, 0x01020304));
  EXPECT_EQ(ReadBytes(), (std::vector<unsigned char>{4, 3, 2, 1}));
  EXPECT_EQ(readhiscore(path_), 0x01020304);
  ASSERT_TRUE(writehiscore(path_, -2));  // stored and used unchanged
  EXPECT_EQ(ReadBytes().size(), 4u);
  EXPECT_EQ(readhiscore(path_), -2);
  EXPECT_FALSE(fs::exists(path_ + ".new"));
}

TEST_F(ScoreFileTest, MissingShortLongAndFolderPathsReadAsFarAsTheyGo) {
  EXPECT_EQ(readhiscore(path_), 0);
  WriteBytes({0x34, 0x12});
  EXPECT_EQ(readhiscore(path_), 0x1234);
  WriteBytes({});
  EXPECT_EQ(readhiscore(path_), 0);
  WriteBytes({1, 0, 0, 0, 9, 9, 9});
  EXPECT_EQ(readhiscore(path_), 1);
  fs::remove(path_);
  fs::create_directory(path_);
  testing::internal::CaptureStderr();
  EXPECT_EQ(readhiscore(path_), 0);
  EXPECT_NE(testing::internal::GetCapturedStderr(), "");
}

TEST_F(ScoreFileTest, TheBackslashPathOfTheGameNamesTheFileInItsDataFolder) {
  fs::path here = fs::current_path();
  fs::current_path(folder_);
  player_tag p;
  player_tag* saved = playfield.player;
  playfield.player = &p;
  p.hscore = 4321;
  savehiscore();
  p.hscore = 0;
  loadhiscore();
  playfield.player = saved;
  fs::current_path(here);
  EXPECT_EQ(p.hscore, 4321);
  EXPECT_EQ(ReadBytes(), (std::vector<unsigned char>{0xE1, 0x10, 0, 0}));
}

TEST_F(ScoreFileTest, AFailedSaveKeepsTheStoredScoreAndSaysSoInOneLine) {
  ASSERT_TRUE(writehiscore(path_, 777));
  // Something in the way of the new file: the save fails before the old file is touched.
  fs::create_directory(path_ + ".new");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(writehiscore(path_, 999));
  std::string message = testing::internal::GetCapturedStderr();
  EXPECT_EQ(readhiscore(path_), 777);
  EXPECT_NE(message.find("hiscore.dat"), std::string::npos);
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1);

  // A folder that does not exist cannot be written either; nothing is thrown.
  testing::internal::CaptureStderr();
  EXPECT_FALSE(writehiscore((folder_ / "nowhere" / "hiscore.dat").string(), 5));
  message = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1);
}

TEST_F(ScoreFileTest, ALeftOverPartFileFromAKilledSaveIsReplacedAndTheScoreKept) {
  ASSERT_TRUE(writehiscore(path_, 12345));
  {
    std::ofstream torn(path_ + ".new", std::ios::binary);
    torn << "\x07";
  }
  EXPECT_EQ(readhiscore(path_), 12345);
  ASSERT_TRUE(writehiscore(path_, 23456));
  EXPECT_EQ(readhiscore(path_), 23456);
  EXPECT_FALSE(fs::exists(path_ + ".new"));
}

// Root reads through any permissions, so the stored file is made unopenable by leaving the
// process no free descriptor while the game reads it: an open that fails like any I/O error.
TEST_F(ScoreFileTest, AStoredScoreThatCannotBeReadIsLeftUntouchedAtExit) {
  ASSERT_TRUE(writehiscore(path_, 50000));
  fs::path here = fs::current_path();
  fs::current_path(folder_);
  player_tag p;
  player_tag* saved = playfield.player;
  playfield.player = &p;
  p.hscore = -1;

  testing::internal::CaptureStderr();
  struct rlimit limit;
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
  const int lowest = open("/dev/null", O_RDONLY);
  ASSERT_GE(lowest, 0);
  close(lowest);
  struct rlimit none = limit;
  none.rlim_cur = static_cast<rlim_t>(lowest);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
  loadhiscore();
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
  const int read = p.hscore;

  p.hscore = 1200;  // this run's best, lower than the stored one
  savehiscore();
  const std::string message = testing::internal::GetCapturedStderr();
  playfield.player = saved;
  fs::current_path(here);

  EXPECT_EQ(read, 0);
  EXPECT_EQ(readhiscore(path_), 50000) << "the stored best score was overwritten";
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
  EXPECT_NE(message.find("hiscore.dat"), std::string::npos) << message;
}

// Loads and saves with the game's files in `folder` (data/hiscore.dat beside the game).
class SavedScoreTest : public ScoreFileTest {
 protected:
  void SetUp() override {
    ScoreFileTest::SetUp();
    here_ = fs::current_path();
    fs::current_path(folder_);
    saved_ = playfield.player;
    playfield.player = &p_;
  }
  void TearDown() override {
    playfield.player = saved_;
    fs::current_path(here_);
    ScoreFileTest::TearDown();
  }
  player_tag p_;
  player_tag* saved_ = nullptr;
  fs::path here_;
};

TEST_F(SavedScoreTest, ASaveKeepsTheHigherOfThisRunsBestAndTheFilesAsItIsThen) {
  loadhiscore();                         // no file: 0
  ASSERT_TRUE(writehiscore(path_, 50));  // another copy of the game saved meanwhile
  p_.hscore = 30;
  savehiscore();
  EXPECT_EQ(readhiscore(path_), 50);
  EXPECT_EQ(p_.hscore, 50);
  p_.hscore = 70;
  savehiscore();
  EXPECT_EQ(readhiscore(path_), 70);
}

TEST_F(SavedScoreTest, ASymbolicLinkIsWrittenThroughAndAFifoIsLeftAlone) {
  const fs::path real = folder_ / "elsewhere" / "best.dat";
  fs::create_directories(real.parent_path());
  ASSERT_TRUE(writehiscore(real.string(), 10));
  fs::create_symlink("../elsewhere/best.dat", path_);
  loadhiscore();
  EXPECT_EQ(p_.hscore, 10);
  p_.hscore = 20;
  savehiscore();
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(readhiscore(real.string()), 20);

  fs::remove(path_);
  ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
  testing::internal::CaptureStderr();
  loadhiscore();  // would wait for a writer if opened
  p_.hscore = 30;
  savehiscore();
  const std::string message = testing::internal::GetCapturedStderr();
  EXPECT_EQ(fs::status(path_).type(), fs::file_type::fifo);
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
  EXPECT_NE(message.find("not a file"), std::string::npos) << message;
}

}  // namespace

// The best-score jingle: once in a game, the first time the score passes the best, however many
// frames the score then stays above it and however often it rises; again in the next game.

namespace {

constexpr int kF1 = 112;

using BestScoreJingle = GameTest;

TEST_F(BestScoreJingle, SoundsOncePerGameWhileTheScoreStaysAboveTheBest) {
  Start();
  Ref<CountingSound> jingle = New<CountingSound>();
  assets.snd_hscore = jingle;
  for (int game = 1; game <= 3; ++game) {
    SCOPED_TRACE(::testing::Message() << "game " << game);
    HarnessClick(1);
    HarnessRun(1);  // the game starts: the HUD runs from now on, get-ready included
    ASSERT_EQ(game_mode.getready, 1);
    playfield.player->hscore = 1000 * game;
    playfield.player->score = 1000 * game - 500;
    HarnessRun(20);
    EXPECT_EQ(jingle->starts, game - 1) << "below the best: no jingle";
    playfield.player->score = 1000 * game + 1;
    HarnessRun(1);
    EXPECT_EQ(jingle->starts, game) << "the best is passed";
    HarnessRun(30);  // the score stays above the best it raised
    for (int rise = 0; rise < 10; ++rise) {
      playfield.player->score += 250;
      HarnessRun(3);
    }
    EXPECT_EQ(jingle->starts, game) << "still once in this game";
    EXPECT_EQ(playfield.player->hscore, playfield.player->score);
    HarnessTapKey(kF1);  // back to the title for the next game
    HarnessRun(3);
    ASSERT_EQ(game_mode.titlemode, 1);
    HarnessRun(10);  // the title screen shows the best; nothing sounds
    EXPECT_EQ(jingle->starts, game);
  }
}

}  // namespace
