// Where the game finds its data and keeps the best score: beside the executable before an
// installed tree, an installed tree found from wherever it was moved, the score beside a writable
// game and in the player's XDG data folder otherwise, and the XDG fallbacks.
#include <sys/stat.h>
#include <unistd.h>

#include "game/config/game_files.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/scores.h"
#include "tests/game/temp_folder.h"

namespace {

namespace fs = std::filesystem;

using GameFilesTest = TempFolderTest;

TEST_F(GameFilesTest, DataBesideTheExecutableIsPreferredOverAnInstalledTree) {
  const fs::path prefix = folder_ / "usr";
  fs::create_directories(prefix / "games" / "data");
  fs::create_directories(prefix / "share" / "games" / "zumbrix" / "data");
  DataFolder found = FindDataFolder((prefix / "games").string());
  EXPECT_EQ(found.location, DataLocation::Beside);
  EXPECT_EQ(found.path, (prefix / "games" / "data").string());

  fs::remove(prefix / "games" / "data");
  found = FindDataFolder((prefix / "games").string());
  EXPECT_EQ(found.location, DataLocation::Installed);
  EXPECT_EQ(fs::path(found.path), prefix / "share" / "games" / "zumbrix" / "data");
}

TEST_F(GameFilesTest, AnInstalledTreeIsFoundFromWhereverItWasMoved) {
  // A bin/ layout (any prefix but /usr), then the whole tree moved elsewhere.
  fs::create_directories(folder_ / "opt" / "bin");
  fs::create_directories(folder_ / "opt" / "share" / "zumbrix" / "data");
  fs::rename(folder_ / "opt", folder_ / "moved");
  DataFolder found = FindDataFolder((folder_ / "moved" / "bin").string());
  EXPECT_EQ(found.location, DataLocation::Installed);
  EXPECT_EQ(fs::path(found.path), folder_ / "moved" / "share" / "zumbrix" / "data");

  // Nothing at all: the data is missing, named where it was looked for first.
  fs::remove_all(folder_ / "moved" / "share");
  found = FindDataFolder((folder_ / "moved" / "bin").string());
  EXPECT_EQ(found.location, DataLocation::Missing);
  EXPECT_EQ(fs::path(found.path), folder_ / "moved" / "bin" / "data");
}

TEST_F(GameFilesTest, TheScoreStaysBesideAWritableGameAndGoesToThePlayerOtherwise) {
  const DataFolder beside{"/games/zx/data", DataLocation::Beside};
  const DataFolder installed{"/usr/share/games/zumbrix/data", DataLocation::Installed};
  EXPECT_EQ(ChooseScoreFile(beside, true, "/home/p/.local/share"), "/games/zx/data/hiscore.dat");
  EXPECT_EQ(ChooseScoreFile(beside, false, "/home/p/.local/share"),
            "/home/p/.local/share/zumbrix/hiscore.dat");
  // Installed: never under the prefix, even when it could be written (a root player).
  EXPECT_EQ(ChooseScoreFile(installed, true, "/x"), "/x/zumbrix/hiscore.dat");
  EXPECT_EQ(ChooseScoreFile(installed, true, ""), "");
}

TEST_F(GameFilesTest, TheXdgFoldersFallBackToTheHomeWhenUnsetEmptyOrRelative) {
  fs::create_directories(folder_ / "games" / "data");
  const std::string home = (folder_ / "home").string();
  ScopedEnv h("HOME", home.c_str());
  const std::string exe = (folder_ / "bin").string();  // no data anywhere: the score is per player
  {
    ScopedEnv d("XDG_DATA_HOME", (folder_ / "xdata").c_str());
    ScopedEnv c("XDG_CONFIG_HOME", (folder_ / "xconfig").c_str());
    GameFiles files = LocateGameFiles(exe);
    EXPECT_EQ(fs::path(files.scorefile), folder_ / "xdata" / "zumbrix" / "hiscore.dat");
    EXPECT_EQ(fs::path(files.settingsfile), folder_ / "xconfig" / "zumbrix" / "settings.ini");
    EXPECT_TRUE(files.peruserscore);
  }
  for (const char* value : {static_cast<const char*>(nullptr), "", "relative/data"}) {
    ScopedEnv d("XDG_DATA_HOME", value);
    ScopedEnv c("XDG_CONFIG_HOME", value);
    GameFiles files = LocateGameFiles(exe);
    EXPECT_EQ(files.scorefile, home + "/.local/share/zumbrix/hiscore.dat") << value;
    EXPECT_EQ(files.settingsfile, home + "/.config/zumbrix/settings.ini") << value;
  }
  // A game in its own writable folder keeps the score there.
  GameFiles own = LocateGameFiles((folder_ / "games").string());
  EXPECT_EQ(fs::path(own.scorefile), folder_ / "games" / "data" / "hiscore.dat");
  EXPECT_FALSE(own.peruserscore);
}

TEST_F(GameFilesTest, AReadOnlyGameFolderSendsTheScoreToThePlayersFolder) {
  if (::geteuid() == 0) GTEST_SKIP() << "every folder is writable to root";
  fs::create_directories(folder_ / "games" / "data");
  ::chmod((folder_ / "games" / "data").c_str(), 0555);
  ScopedEnv d("XDG_DATA_HOME", (folder_ / "xdata").c_str());
  GameFiles files = LocateGameFiles((folder_ / "games").string());
  ::chmod((folder_ / "games" / "data").c_str(), 0755);
  EXPECT_EQ(files.data.location, DataLocation::Beside);
  EXPECT_EQ(fs::path(files.scorefile), folder_ / "xdata" / "zumbrix" / "hiscore.dat");
  EXPECT_EQ(fs::path(files.gamescorefile), folder_ / "games" / "data" / "hiscore.dat");
}

TEST_F(GameFilesTest, AnInstalledGamesOwnScoreIsReadButNeverWritten) {
  fs::create_directories(folder_ / "opt" / "bin");
  fs::create_directories(folder_ / "opt" / "share" / "zumbrix" / "data");
  ScopedEnv d("XDG_DATA_HOME", (folder_ / "xdata").c_str());
  GameFiles files = LocateGameFiles((folder_ / "opt" / "bin").string());
  EXPECT_TRUE(files.peruserscore);
  EXPECT_EQ(fs::path(files.gamescorefile),
            folder_ / "opt" / "share" / "zumbrix" / "data" / "hiscore.dat");
  // A game keeping its score in its own folder has no second one.
  fs::create_directories(folder_ / "games" / "data");
  EXPECT_EQ(LocateGameFiles((folder_ / "games").string()).gamescorefile, "");
}

// The best stored beside a game whose folder cannot be written: shown, and carried to the
// player's own file by the next save, the higher of the two winning.
TEST_F(GameFilesTest, AReadOnlyGameFoldersBestIsShownAndCarriedToThePlayersFile) {
  const fs::path data = folder_ / "games" / "data";
  GameFiles files;
  files.data = {data.string(), DataLocation::Beside};
  files.scorefile = (folder_ / "xdata" / "zumbrix" / "hiscore.dat").string();
  files.peruserscore = true;
  files.gamescorefile = (data / "hiscore.dat").string();
  WriteText(data / "hiscore.dat", std::string("\xBC\x02\0\0", 4));  // 700
  const GameFiles saved = CurrentGameFiles();
  UseGameFiles(files);
  player_tag p;
  player_tag* before = playfield.player;
  playfield.player = &p;
  loadhiscore();  // the player has no file yet
  const int shown = p.hscore;
  savehiscore();
  const int carried = readhiscore(files.scorefile);
  WriteText(files.scorefile, std::string("\x84\x03\0\0", 4));  // 900, above the game's
  loadhiscore();
  const int higher = p.hscore;
  playfield.player = before;
  UseGameFiles(saved);
  EXPECT_EQ(shown, 700);
  EXPECT_EQ(carried, 700);
  EXPECT_EQ(higher, 900);
  EXPECT_EQ(ReadText(data / "hiscore.dat"), std::string("\xBC\x02\0\0", 4));
}

TEST_F(GameFilesTest, APerPlayerScoreMakesItsFolderAndNothingElseIsWritten) {
  const fs::path data = folder_ / "usr" / "share" / "games" / "zumbrix" / "data";
  fs::create_directories(data);
  GameFiles files;
  files.data = {data.string(), DataLocation::Installed};
  files.scorefile = (folder_ / "xdata" / "zumbrix" / "hiscore.dat").string();
  files.peruserscore = true;
  const GameFiles saved = CurrentGameFiles();
  UseGameFiles(files);
  player_tag p;
  player_tag* before = playfield.player;
  playfield.player = &p;
  p.hscore = 0;
  loadhiscore();  // no file yet
  EXPECT_EQ(p.hscore, 0);
  p.hscore = 0x01020304;
  savehiscore();
  p.hscore = 0;
  loadhiscore();
  playfield.player = before;
  UseGameFiles(saved);
  EXPECT_EQ(p.hscore, 0x01020304);
  EXPECT_EQ(ReadText(files.scorefile), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(fs::status(folder_ / "xdata" / "zumbrix").permissions() & fs::perms::all,
            fs::perms::owner_all);
  EXPECT_TRUE(fs::is_empty(data));
}

}  // namespace
