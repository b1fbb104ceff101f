// game_fixture.h - a harness run per test, in a scratch folder whose data/ links to the built
// sounds, so that the best-score file a run writes never touches the build's own.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "game/play/entities.h"
#include "game/play/globals.h"
#include "harness/harness.h"

namespace fs = std::filesystem;

class GameTest : public ::testing::Test {
 protected:
  // The folder of the test executable holds the built data/.
  static fs::path BuiltData() { return fs::read_symlink("/proc/self/exe").parent_path() / "data"; }

  // A scratch folder with data/ holding links to every built sound except those in `skip`.
  fs::path MakeFolder(std::initializer_list<std::string> skip = {}, bool withdata = true) {
    const fs::path source = BuiltData();
    folder_ = fs::temp_directory_path() /
              ("zumbrix_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    if (withdata) {
      fs::create_directories(folder_ / "data");
      for (const auto& entry : fs::directory_iterator(source)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".ogg") continue;
        if (std::find(skip.begin(), skip.end(), name) != skip.end()) continue;
        fs::create_symlink(entry.path(), folder_ / "data" / name);
      }
    }
    return folder_;
  }

  void Start(HarnessOptions options = {}) {
    if (options.folder.empty()) options.folder = MakeFolder().string();
    HarnessStart(options);
  }

  // Straight into play, skipping the 267 frames of the get-ready sequence.
  static void EnterPlay() {
    game_mode.titlemode = 0;
    game_mode.playing = 1;
    playfield.player->reset();
    HarnessRun(1);
  }

  // Passes of the frame loop until the predicate holds; fails the test after `limit`.
  static int RunUntil(const std::function<bool()>& done, int limit) {
    int frames = HarnessRunUntil(done, limit);
    EXPECT_TRUE(done()) << "not reached in " << limit << " frames";
    return frames;
  }

  void TearDown() override {
    HarnessStop();
    if (!folder_.empty()) fs::remove_all(folder_);
  }

  fs::path folder_;
};
