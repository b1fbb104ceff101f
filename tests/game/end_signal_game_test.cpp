// A logout or Ctrl+C during play: the game ends as ESC ends it. A child process plays until its
// best score has risen, then gets SIGTERM or SIGHUP; the best score, best.replay and the settings
// must be on disk afterwards, and the exit status must be 128 + the signal. The child is the
// program's own run (RecordGame and the settings' save, under RunApplication's handlers) driven by
// the harness, since the real signal path needs nothing but a process that plays and a signal.
#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "game/replay/replay_file.h"
#include "tests/game/child_game.h"

namespace {

constexpr char kChildVariable[] = "ZX_END_SIGNAL_CHILD";

TEST(EndSignalChild, DISABLED_PlaysUntilSignalled) { child_game::RunChildIfAsked(kChildVariable); }

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(EndSignalGame, SigtermOrSighupAfterARaisedBestSavesWhatEscapeSaves) {
  for (int signo : {SIGTERM, SIGHUP}) {
    SCOPED_TRACE("signal " + std::to_string(signo));
    const auto folder = child_game::MakeFolder("end_signal");
    child_game::Child child;
    child.Start("EndSignalChild.DISABLED_PlaysUntilSignalled",
                {std::string(kChildVariable) + "=" + folder.string(),
                 "XDG_CONFIG_HOME=" + (folder / "config").string()},
                folder / "stderr.txt");
    std::istringstream ready(child.WaitFor(child_game::kReady, 240));
    int best = 0;
    std::string colours;
    ready >> best >> colours;
    ASSERT_GT(best, 0) << "the child did not raise the best:\n" << ReadFile(folder / "stderr.txt");
    EXPECT_EQ(colours, "flat");
    // F4 saved the settings at once; the end must leave them whole.
    const auto settings = folder / "config" / "zumbrix" / "settings.ini";
    ASSERT_TRUE(std::filesystem::exists(settings));
    ASSERT_FALSE(std::filesystem::exists(folder / "data" / "hiscore.dat"));

    ::kill(child.pid, signo);
    const int status = child.Wait(30);
    const std::string errors = ReadFile(folder / "stderr.txt");
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status << "\n" << errors;
    EXPECT_EQ(WEXITSTATUS(status), 128 + signo) << errors;
    EXPECT_NE(errors.find("Received Signal"), std::string::npos) << errors;

    const std::string score = ReadFile(folder / "data" / "hiscore.dat");
    ASSERT_EQ(score.size(), 4u);
    const int saved =
        static_cast<unsigned char>(score[0]) | static_cast<unsigned char>(score[1]) << 8 |
        static_cast<unsigned char>(score[2]) << 16 | static_cast<unsigned char>(score[3]) << 24;
    EXPECT_GE(saved, best);
    ReplayJournal journal;
    EXPECT_EQ(LoadReplay((folder / "data" / "best.replay").string(), journal), ReplayError::kNone);
    ASSERT_EQ(journal.games.size(), 1u);  // the game that raised the best
    EXPECT_GT(journal.games[0].frames, 0u);
    // The recording ends where the game did: its replay reaches its end with every check holding.
    std::string replayed;
    EXPECT_EQ(child_game::ReplayWithTheProgram(folder / "data" / "best.replay", folder / "replay",
                                               &replayed),
              0)
        << replayed;
    EXPECT_NE(ReadFile(settings).find("colours = flat"), std::string::npos) << ReadFile(settings);
    std::filesystem::remove_all(folder);
  }
}

}  // namespace
