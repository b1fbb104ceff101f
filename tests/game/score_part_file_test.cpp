// A best-score save that fails after its part file was made removes the part file and leaves
// whatever is in the way untouched.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "game/scores.h"

namespace {

namespace fs = std::filesystem;

class ScorePartFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("zx_partfile_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    path_ = (folder_ / "hiscore.dat").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path folder_;
  std::string path_;
};

TEST_F(ScorePartFile, AFailedRenameRemovesThePartFile) {
  // A folder where the file should be: the part file is written, then cannot take its place.
  for (bool empty : {true, false}) {
    SCOPED_TRACE(empty ? "empty folder in the way" : "folder with a file in the way");
    fs::create_directory(path_);
    if (!empty) std::ofstream(fs::path(path_) / "keep.txt") << "kept";
    testing::internal::CaptureStderr();
    EXPECT_FALSE(writehiscore(path_, 4321));
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(fs::exists(path_ + ".new")) << "the part file was left behind";
    EXPECT_TRUE(fs::is_directory(path_));
    if (!empty) {
      EXPECT_TRUE(fs::exists(fs::path(path_) / "keep.txt"));
    }
    fs::remove_all(path_);
  }
  // The folder holds nothing else afterwards, and a later save succeeds.
  EXPECT_TRUE(fs::is_empty(folder_));
  EXPECT_TRUE(writehiscore(path_, 99));
  EXPECT_EQ(readhiscore(path_), 99);
  EXPECT_FALSE(fs::exists(path_ + ".new"));
}

}  // namespace
