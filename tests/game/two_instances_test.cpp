// Two copies of the game sharing the player's files: the one started first but ended last must
// not lower the best score the other saved, nor put its own unchanged settings over the other's
// change. The other copy is a real second process (forked) with its own state.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "game/config/game_files.h"
#include "game/config/settings_store.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/scores.h"
#include "tests/game/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class TwoInstancesTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    saved_files_ = CurrentGameFiles();
    files_.data = {(folder_ / "data").string(), DataLocation::Installed};
    files_.scorefile = (folder_ / "xdata" / "zumbrix" / "hiscore.dat").string();
    files_.peruserscore = true;
    files_.settingsfile = (folder_ / "xconfig" / "zumbrix" / "settings.ini").string();
    saved_player_ = playfield.player;
    playfield.player = &p_;
  }
  void TearDown() override {
    playfield.player = saved_player_;
    UseGameFiles(saved_files_);
    ResetSettings();
    TempFolderTest::TearDown();
  }

  // Start-up's share of the files: the settings, then the best score.
  void Start() {
    UseGameFiles(files_);
    LoadSettings(files_.settingsfile);
    loadhiscore();
  }
  // The exit's share.
  static void Exit() {
    savehiscore();
    SaveSettings();
  }

  // Runs a whole second copy of the game in a child process: start, `play`, exit.
  void OtherCopy(void (*play)()) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      Start();
      play();
      Exit();
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  static ino_t Inode(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
  }

  GameFiles files_, saved_files_;
  player_tag p_;
  player_tag* saved_player_ = nullptr;
};

TEST_F(TwoInstancesTest, TheCopyEndingLastKeepsTheOthersBestAndItsChangedSettings) {
  WriteText(files_.settingsfile, "# mine\ncolours = anaglyph\n");
  Start();  // B starts: best 0
  EXPECT_EQ(p_.hscore, 0);
  OtherCopy([] {
    // A scores 50, switches to the window (Alt+Enter) and quits.
    playfield.player->hscore = 50;
    ChangeSettings([](Settings& s) { s.display = DisplayMode::Window; });
  });
  ASSERT_EQ(readhiscore(files_.scorefile), 50);
  // B played on at best 20 and switched to flat colours (F4), then quits after A.
  p_.hscore = 20;
  ChangeSettings([](Settings& s) { s.colours = ColourMode::Flat; });
  Exit();
  EXPECT_EQ(readhiscore(files_.scorefile), 50);
  const std::string text = ReadText(files_.settingsfile);
  EXPECT_NE(text.find("display = window\n"), std::string::npos) << text;
  EXPECT_NE(text.find("colours = flat\n"), std::string::npos) << text;
  EXPECT_EQ(text.rfind("# mine\n", 0), 0u) << text;

  // A copy that changed nothing and did not beat the best writes neither file (a save would
  // put a new file, with a new inode, in the old one's place).
  const ino_t score = Inode(files_.scorefile), settings = Inode(files_.settingsfile);
  OtherCopy([] {});
  EXPECT_EQ(Inode(files_.scorefile), score);
  EXPECT_EQ(Inode(files_.settingsfile), settings);
}

}  // namespace
