// The core's file helpers for the player's files: saving through symbolic links (chains,
// relative and dangling ones, loops) with the file's permissions kept, reading only regular
// files and never blocking on a FIFO, and the pictures folder by the XDG rules and the desktop's
// user-dirs.dirs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/atomic_file.h"
#include "core/regular_file.h"
#include "core/user_folders.h"

namespace {

namespace fs = std::filesystem;

class PlayerFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zx_player_files_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path dir_;
};

TEST_F(PlayerFilesTest, ASaveGoesThroughAChainOfLinksAndKeepsTheFilesPermissions) {
  fs::create_directories(dir_ / "real");
  fs::create_directories(dir_ / "links");
  ASSERT_TRUE(WriteFileAtomically(Path("real/file"), "old"));
  ::chmod(Path("real/file").c_str(), 0600);
  fs::create_symlink("../real/file", dir_ / "links" / "second");  // relative to its folder
  fs::create_symlink(dir_ / "links" / "second", dir_ / "first");  // absolute
  EXPECT_EQ(FollowLinks(Path("first")), Path("links/../real/file"));

  ASSERT_TRUE(WriteFileAtomically(Path("first"), "new"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "first"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "links" / "second"));
  EXPECT_EQ(Read(Path("real/file")), "new");
  EXPECT_EQ(fs::status(dir_ / "real" / "file").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_FALSE(fs::exists(Path("first.new")));
  EXPECT_FALSE(fs::exists(Path("real/file.new")));

  // A link to a file not made yet makes it; links in a loop are refused, and nothing is left.
  fs::create_symlink("later", dir_ / "dangling");
  ASSERT_TRUE(WriteFileAtomically(Path("dangling"), "made"));
  EXPECT_EQ(Read(Path("later")), "made");
  fs::create_symlink("loop_b", dir_ / "loop_a");
  fs::create_symlink("loop_a", dir_ / "loop_b");
  EXPECT_EQ(FollowLinks(Path("loop_a")), "");
  EXPECT_FALSE(WriteFileAtomically(Path("loop_a"), "x"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "loop_a"));
}

TEST_F(PlayerFilesTest, OnlyARegularFileWithinTheLimitIsReadAndAFifoNeverBlocks) {
  std::string text = "stale";
  EXPECT_EQ(ReadRegularFile(Path("none"), 100, text), FileRead::Missing);
  EXPECT_EQ(text, "");
  ASSERT_TRUE(WriteFileAtomically(Path("small"), "12345"));
  EXPECT_EQ(ReadRegularFile(Path("small"), 5, text), FileRead::Read);
  EXPECT_EQ(text, "12345");
  EXPECT_EQ(ReadRegularFile(Path("small"), 4, text), FileRead::TooLarge);
  EXPECT_EQ(text, "");
  EXPECT_EQ(ReadRegularFile(dir_.string(), 100, text), FileRead::NotAFile);
  // No writer: opening for reading would wait for one.
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  EXPECT_EQ(ReadRegularFile(Path("fifo"), 100, text), FileRead::NotAFile);
  EXPECT_EQ(ReadRegularFile("/dev/zero", 100, text), FileRead::NotAFile);
}

// Sets or unsets environment variables for one scope.
class Env {
 public:
  Env(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    if (old) old_ = old, had_ = true;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~Env() { had_ ? ::setenv(name_.c_str(), old_.c_str(), 1) : ::unsetenv(name_.c_str()); }

 private:
  std::string name_, old_;
  bool had_ = false;
};

TEST_F(PlayerFilesTest, ThePicturesFolderFollowsTheVariableThenUserDirsThenHome) {
  const std::string home = Path("home");
  Env h("HOME", home.c_str());
  Env c("XDG_CONFIG_HOME", nullptr);
  {
    Env p("XDG_PICTURES_DIR", Path("shots/").c_str());
    EXPECT_EQ(UserPicturesFolder(), Path("shots"));
  }
  Env p("XDG_PICTURES_DIR", "relative/shots");  // not absolute: ignored, as the rules say
  EXPECT_EQ(UserPicturesFolder(), home + "/Pictures");
  fs::create_directories(dir_ / "home" / ".config");
  std::ofstream(Path("home/.config/user-dirs.dirs")) << "# written by xdg-user-dirs-update\n"
                                                        "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                                        "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
  EXPECT_EQ(UserPicturesFolder(), home + "/Bilder");

  EXPECT_EQ(UserDirsEntry("XDG_PICTURES_DIR=\"/srv/pics/\"\n", "XDG_PICTURES_DIR", "/h"),
            "/srv/pics");
  EXPECT_EQ(UserDirsEntry("XDG_PICTURES_DIR=$HOME/My\\ Pics\r\n", "XDG_PICTURES_DIR", "/h"),
            "/h/My Pics");
  EXPECT_EQ(UserDirsEntry("XDG_PICTURES_DIR=\"$HOME/\"\n", "XDG_PICTURES_DIR", "/h"), "/h");
  // Neither "$HOME/..." nor absolute, commented out, or another name: no folder.
  EXPECT_EQ(UserDirsEntry("XDG_PICTURES_DIR=\"Pictures\"\n", "XDG_PICTURES_DIR", "/h"), "");
  EXPECT_EQ(UserDirsEntry("#XDG_PICTURES_DIR=\"/x\"\n", "XDG_PICTURES_DIR", "/h"), "");
  EXPECT_EQ(UserDirsEntry("XDG_PICTURES_DIRS=\"/x\"\n", "XDG_PICTURES_DIR", "/h"), "");
  // The last line wins, as when a shell sources the file.
  EXPECT_EQ(UserDirsEntry("XDG_PICTURES_DIR=/a\nXDG_PICTURES_DIR=/b\n", "XDG_PICTURES_DIR", "/h"),
            "/b");
}

}  // namespace
