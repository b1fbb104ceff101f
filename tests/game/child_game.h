// child_game.h - a scripted game in a child process: this test executable run again with one
// disabled case selected and an environment variable naming its scratch folder, so that the
// child can end as the program ends (a signal, a lost display) while the parent watches it.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/app.h"
#include "game/config/colour_mode.h"
#include "game/config/game_files.h"
#include "game/config/settings_store.h"
#include "game/replay_run.h"
#include "game/startup.h"
#include "harness/harness.h"
#include "system/key_codes.h"
#include "tests/game/aim_script.h"

extern char** environ;

namespace child_game {

namespace fs = std::filesystem;

// What the child says on stdout once the best score has risen and F4 has switched the colours.
inline constexpr char kReady[] = "ready ";

// A scratch folder for a child's game: data/ linking the built sounds, config/ for its settings.
inline fs::path MakeFolder(const std::string& name) {
  const fs::path built = fs::read_symlink("/proc/self/exe").parent_path() / "data";
  const fs::path folder =
      fs::temp_directory_path() / ("zx_" + name + "_" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder / "data");
  fs::create_directories(folder / "config");
  for (const auto& entry : fs::directory_iterator(built)) {
    if (entry.path().extension() == ".ogg") {
      fs::create_symlink(entry.path(), folder / "data" / entry.path().filename());
    }
  }
  return folder;
}

struct Child {
  pid_t pid = -1;
  int out = -1;  // the child's stdout
  std::string seen;

  // Runs `test` (a DISABLED_ case of this executable) with `env` ("NAME=value" each) added;
  // stderr goes to `errfile`.
  void Start(const std::string& test, const std::vector<std::string>& env,
             const fs::path& errfile) {
    int pipefd[2];
    ASSERT_EQ(::pipe(pipefd), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipefd[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipefd[0]);
    posix_spawn_file_actions_addopen(&actions, 2, errfile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    // The variables given replace the inherited ones of the same name.
    std::vector<std::string> envs = env;
    for (char** e = environ; *e; ++e) {
      const std::string inherited = *e;
      const std::string name = inherited.substr(0, inherited.find('=') + 1);
      bool replaced = false;
      for (const auto& given : env) replaced = replaced || given.rfind(name, 0) == 0;
      if (!replaced) envs.push_back(inherited);
    }
    std::vector<char*> envp;
    for (auto& e : envs) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string self = fs::read_symlink("/proc/self/exe").string();
    std::string filter = "--gtest_filter=" + test;
    std::string disabled = "--gtest_also_run_disabled_tests";
    char* argv[] = {self.data(), filter.data(), disabled.data(), nullptr};
    ASSERT_EQ(posix_spawn(&pid, self.c_str(), &actions, nullptr, argv, envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipefd[1]);
    out = pipefd[0];
  }

  // Reads the child's stdout until it holds `text` or `seconds` pass; the text after it.
  std::string WaitFor(const std::string& text, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (seen.find(text) == std::string::npos && std::chrono::steady_clock::now() < end) {
      pollfd p{out, POLLIN, 0};
      if (::poll(&p, 1, 100) <= 0) continue;
      char buffer[256];
      const ssize_t n = ::read(out, buffer, sizeof buffer);
      if (n <= 0) break;
      seen.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t at = seen.find(text);
    return at == std::string::npos ? std::string() : seen.substr(at + text.size());
  }

  // Waits up to `seconds` for the child to end; its wait status, or -1 (and it is killed) when
  // it did not.
  int Wait(double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
      if (::waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return status;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    Kill();
    return -1;
  }

  void Kill() {
    if (pid > 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
      pid = -1;
    }
  }

  ~Child() {
    Kill();
    if (out >= 0) ::close(out);
  }
};

// Plays `replay` back headless with the program itself (beside this executable); its exit status
// and what it printed. `config` keeps the player's own settings out of it.
inline int ReplayWithTheProgram(const fs::path& replay, const fs::path& config, std::string* out) {
  const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "zumbrix";
  const std::string command = "XDG_CONFIG_HOME='" + config.string() + "' '" + program.string() +
                              "' --replay '" + replay.string() + "' --headless 2>&1";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return -1;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) *out += buffer;
  const int status = ::pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The child's side: the program's own run (RecordGame, then the settings saved, as main does)
// in `folder`, under the harness's virtual clock with the aiming script at the controls. Once
// the best score has risen it pauses, switches the colours with F4, resumes, and says kReady
// and the best on stdout; then it plays on until something ends the program.
inline int PlayUntilEnded(const std::string& folder) {
  HarnessOptions options;
  options.folder = folder;
  options.joystick = false;
  HarnessPrepare(options);
  const GameFiles files = LocateGameFiles(folder);
  UseGameFiles(files);
  LoadSettings(files.settingsfile);
  ApplyPictureSettings();
  static AimScript script;
  static int step = 0, wait = 0;
  HarnessOnFlip([] {
    constexpr int kSpace = Key(KeyCode::kSpace), kF4 = Key(KeyCode::kF4);
    if (wait > 0) {
      --wait;
      return;
    }
    switch (step) {
      case 0:  // play until the best rises, then pause
        script.Step();
        if (playfield.player && playfield.player->hscore > 0 && game_mode.playing) {
          HarnessTapKey(kSpace);
          step = 1;
          wait = 3;
        }
        return;
      case 1:  // paused: F4
        HarnessTapKey(kF4);
        step = 2;
        wait = 3;
        return;
      case 2:  // back to play
        HarnessTapKey(kSpace);
        step = 3;
        wait = 3;
        return;
      case 3:
        std::printf("%s%d %s\n", kReady, playfield.player->hscore,
                    GetColourMode() == ColourMode::Flat ? "flat" : "anaglyph");
        std::fflush(stdout);
        step = 4;
        return;
      default:
        script.Step();
        return;
    }
  });
  const std::string best =
      files.scorefile.substr(0, files.scorefile.find_last_of('/') + 1) + "best.replay";
  RecordGame("", launchseed(), best);
  SaveSettings();
  return 0;
}

// Runs PlayUntilEnded through the program's start and end when the environment names a folder.
inline void RunChildIfAsked(const char* variable) {
  const char* folder = std::getenv(variable);
  if (!folder) GTEST_SKIP() << "run by another test, as its child";
  char name[] = "zumbrix";
  char* argv[] = {name, nullptr};
  static std::string where;
  where = folder;
  std::exit(RunApplication(1, argv, [] { return PlayUntilEnded(where); }));
}

}  // namespace child_game
