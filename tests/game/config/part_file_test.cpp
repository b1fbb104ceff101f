// Saving beside the target: every writer of the program's files (the atomic writer itself, and
// the best score, the settings and replays through it) writes over a part file a killed save
// left behind, however much longer that one is, so that the saved file holds exactly the new
// bytes and no part file stays. A save whose part file cannot take the target's place removes it
// and leaves what is in the way untouched. A save through a symbolic link keeps the link.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#include "core/atomic_file.h"
#include "game/config/colour_mode.h"
#include "game/config/settings_store.h"
#include "game/play/scores.h"
#include "game/replay/replay_file.h"
#include "tests/game/temp_folder.h"

namespace {

namespace fs = std::filesystem;

struct Writer {
  const char* name;
  const char* file;
  std::function<bool(const std::string& path)> save;
  // False for the settings, which take a folder for no file of theirs and have nothing to save.
  bool folder_fails = true;
};

void PrintTo(const Writer& writer, std::ostream* os) { *os << writer.name; }

ReplayJournal SmallJournal() {
  ReplayJournal journal;
  RecordedGame game;
  game.snapshot.assign(40, 7);
  game.frames = 12;
  game.input.assign(30, 1);
  journal.games.push_back(game);
  return journal;
}

const Writer kWriters[] = {
    {"AtomicWriter", "plain.txt",
     [](const std::string& path) { return WriteFileAtomically(path, "the new contents\n"); }},
    {"BestScore", "hiscore.dat", [](const std::string& path) { return writehiscore(path, 4321); }},
    {"Settings", "settings.ini",
     [](const std::string& path) {
       LoadSettings(path);
       ChangeSettings([](Settings& s) { s.colours = ColourMode::Flat; });
       const bool saved = SaveSettings();
       ResetSettings();
       return saved;
     },
     false},
    {"Replay", "game.replay",
     [](const std::string& path) { return SaveReplay(path, SmallJournal()); }},
};

class PartFile : public TempFolderTest, public ::testing::WithParamInterface<Writer> {
 protected:
  void TearDown() override {
    ResetSettings();
    TempFolderTest::TearDown();
  }
  // What the writer saves into a folder that holds nothing yet.
  std::string CleanSave() {
    const fs::path path = folder_ / "clean" / GetParam().file;
    fs::create_directories(path.parent_path());
    EXPECT_TRUE(GetParam().save(path.string()));
    return ReadText(path);
  }
};

TEST_P(PartFile, ASaveOverALongerLeftoverPartFileHoldsExactlyTheNewBytes) {
  const std::string want = CleanSave();
  ASSERT_FALSE(want.empty());
  for (const bool old_file : {false, true}) {
    SCOPED_TRACE(old_file ? "an old file beside it" : "no old file");
    const fs::path path = folder_ / (old_file ? "over" : "fresh") / GetParam().file;
    const std::string leftover(64 * 1024 + 3, '\xAA');
    WriteText(path.string() + ".new", leftover);
    if (old_file) WriteText(path, "");  // empty: the settings keep what an old file holds
    ASSERT_TRUE(GetParam().save(path.string()));
    const std::string got = ReadText(path);
    EXPECT_EQ(got.size(), want.size());
    EXPECT_TRUE(got == want) << "the saved file differs from a clean save";
    EXPECT_FALSE(fs::exists(path.string() + ".new")) << "the part file stayed";
  }
}

// A folder where the file should be: the part file is written, then cannot take its place.
TEST_P(PartFile, AFailedRenameRemovesThePartFileAndLeavesWhatIsInTheWay) {
  const fs::path path = folder_ / GetParam().file;
  for (const bool empty : {true, false}) {
    SCOPED_TRACE(empty ? "empty folder in the way" : "folder with a file in the way");
    fs::create_directory(path);
    if (!empty) WriteText(path / "keep.txt", "kept");
    testing::internal::CaptureStderr();
    EXPECT_EQ(GetParam().save(path.string()), !GetParam().folder_fails);
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(fs::exists(path.string() + ".new")) << "the part file was left behind";
    EXPECT_TRUE(fs::is_directory(path));
    if (!empty) {
      EXPECT_EQ(ReadText(path / "keep.txt"), "kept");
    }
    fs::remove_all(path);
  }
  EXPECT_TRUE(fs::is_empty(folder_));
}

// A symbolic link in the file's place (a player's best.replay, hiscore.dat or settings.ini kept in
// a shared folder): the save writes the file the link names and leaves the link a link.
TEST_P(PartFile, ASaveThroughASymbolicLinkWritesTheLinkedFileAndKeepsTheLink) {
  const std::string want = CleanSave();
  const fs::path real = folder_ / "elsewhere" / GetParam().file;
  const fs::path link = folder_ / "linked" / GetParam().file;
  fs::create_directories(real.parent_path());
  fs::create_directories(link.parent_path());
  WriteText(real, "");
  fs::create_symlink(fs::path("..") / "elsewhere" / GetParam().file, link);
  ASSERT_TRUE(GetParam().save(link.string()));
  EXPECT_TRUE(fs::is_symlink(link)) << "the link was replaced by a file";
  EXPECT_TRUE(ReadText(real) == want) << "the linked file does not hold the save";
}

INSTANTIATE_TEST_SUITE_P(Writers, PartFile, ::testing::ValuesIn(kWriters),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
