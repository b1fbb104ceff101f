// The program's replay options as a player meets them: a --record file that cannot be written is
// refused before play, and --replay of a folder or a device is refused at once, each with exit
// status 2 and a message.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/game/temp_folder.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
  std::string out, err;
  int status = -1;
};

class ReplayProgram : public TempFolderTest {
 protected:
  // Runs the program with `args`, with no display (so that a run that got as far as playing
  // would end with 1, "No display") and a home of its own.
  Outcome Run(const std::string& args) {
    const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "zumbrix";
    const fs::path out = folder_ / "out.txt", err = folder_ / "err.txt";
    const std::string command =
        "cd '" + folder_.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
        "-u XDG_CONFIG_HOME HOME='" + (folder_ / "home").string() + "' '" + program.string() +
        "' " + args + " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    Outcome run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadText(out);
    run.err = ReadText(err);
    return run;
  }
};

TEST_F(ReplayProgram, ARecordFileThatCannotBeWrittenIsRefusedBeforePlay) {
  for (const std::string& file :
       {(folder_ / "missing" / "game.replay").string(), folder_.string()}) {
    const Outcome run = Run("--record '" + file + "'");
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("zumbrix: cannot record to " + file), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("display"), std::string::npos) << "it tried to play: " << run.err;
  }
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

TEST_F(ReplayProgram, AFolderOrADeviceGivenAsTheReplayIsRefusedAtOnce) {
  const struct {
    std::string file, words;
  } cases[] = {{"/", "that is a folder, not a replay file"},
               {"/dev/zero", "the file is not a Zumbrix replay"}};
  for (const auto& c : cases) {
    const Outcome run = Run("--replay " + c.file + " --headless");
    EXPECT_EQ(run.status, 2) << c.file << ": " << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("zumbrix: " + c.file + ": " + c.words), std::string::npos) << run.err;
  }
}

}  // namespace
