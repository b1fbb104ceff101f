// The X server goes away under a game (killed, or its session ended): the game saves what its
// exit saves without another word to the dead connection, says so, and ends with status 1 at
// once. A child process plays in a window of a private Xvfb server until its best score has
// risen; then the server is killed. Skipped where Xvfb is not installed.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "game/replay/replay_file.h"
#include "tests/game/child_game.h"

namespace {

// A sanitizer's build is several times slower in every call, the save included.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr double kEndLimitSeconds = 5.0;
#else
constexpr double kEndLimitSeconds = 1.0;
#endif

namespace fs = std::filesystem;

constexpr char kChildVariable[] = "ZX_LOST_DISPLAY_CHILD";

TEST(LostDisplayChild, DISABLED_PlaysUntilTheDisplayGoes) {
  child_game::RunChildIfAsked(kChildVariable);
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An Xvfb server on the first free display number from 90, for one test.
class PrivateXServer {
 public:
  bool Start() {
    const char* xvfb = "/usr/bin/Xvfb";
    if (::access(xvfb, X_OK) != 0) return false;
    for (int n = 90; n < 200; ++n) {
      const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
      const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
      if (fs::exists(lock) || fs::exists(socket)) continue;
      name_ = ":" + std::to_string(n);
      std::string display = name_, screen = "-screen", which = "0", size = "640x480x24",
                  nolisten = "-nolisten", tcp = "tcp";
      char* argv[] = {
          const_cast<char*>(xvfb), display.data(), screen.data(), which.data(), size.data(),
          nolisten.data(),         tcp.data(),     nullptr};
      posix_spawn_file_actions_t actions;
      posix_spawn_file_actions_init(&actions);
      posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
      const int spawned = posix_spawn(&pid_, xvfb, &actions, nullptr, argv, environ);
      posix_spawn_file_actions_destroy(&actions);
      if (spawned != 0) return false;
      for (int i = 0; i < 200 && !fs::exists(socket); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      if (fs::exists(socket)) return true;
      Kill();  // another server took the number meanwhile
    }
    return false;
  }
  void Kill() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
  }
  ~PrivateXServer() { Kill(); }
  const std::string& Name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

TEST(LostDisplayGame, AKilledXServerAfterARaisedBestSavesAndEndsWithOneAtOnce) {
  PrivateXServer server;
  if (!server.Start()) GTEST_SKIP() << "no Xvfb to play in";
  const auto folder = child_game::MakeFolder("lost_display");
  // A window, so that the server's single screen mode is never changed.
  const auto settings = folder / "config" / "zumbrix" / "settings.ini";
  fs::create_directories(settings.parent_path());
  std::ofstream(settings) << "display = window\n";
  child_game::Child child;
  child.Start("LostDisplayChild.DISABLED_PlaysUntilTheDisplayGoes",
              {std::string(kChildVariable) + "=" + folder.string(),
               "XDG_CONFIG_HOME=" + (folder / "config").string(), "DISPLAY=" + server.Name(),
               "SDL_VIDEODRIVER=x11",
               // It ends without joining its loader threads, on purpose: no leak to report.
               "TSAN_OPTIONS=report_thread_leaks=0"},
              folder / "stderr.txt");
  std::istringstream ready(child.WaitFor(child_game::kReady, 240));
  int best = 0;
  ready >> best;
  ASSERT_GT(best, 0) << "the child did not raise the best:\n" << ReadFile(folder / "stderr.txt");
  ASSERT_TRUE(fs::exists(settings));  // F4 saved it at once; the end must leave it whole

  server.Kill();
  const auto killed = std::chrono::steady_clock::now();
  const int status = child.Wait(20);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - killed).count();
  const std::string errors = ReadFile(folder / "stderr.txt");
  ASSERT_TRUE(WIFEXITED(status)) << "status " << status << "\n" << errors;
  EXPECT_EQ(WEXITSTATUS(status), 1) << errors;
  // Xlib's own end would have waited on the dead connection in the exit-time functions.
  EXPECT_LT(seconds, kEndLimitSeconds) << errors;
  EXPECT_NE(errors.find("Lost the connection to the display \"" + server.Name() +
                        "\": saved, and ending"),
            std::string::npos)
      << errors;

  const std::string score = ReadFile(folder / "data" / "hiscore.dat");
  ASSERT_EQ(score.size(), 4u) << errors;
  EXPECT_GE(static_cast<unsigned char>(score[0]) | static_cast<unsigned char>(score[1]) << 8, best);
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
  EXPECT_NE(ReadFile(settings).find("colours = flat"), std::string::npos) << errors;
  fs::remove_all(folder);
}

}  // namespace
