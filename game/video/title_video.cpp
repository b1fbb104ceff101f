// title_video.cpp - the video process started, its progress read from its output and drawn as a
// bar, and its end told on the title.
#include "game/video/title_video.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "core/app.h"
#include "core/user_folders.h"
#include "game/best_game.h"
#include "game/colour_mode.h"
#include "game/globals.h"
#include "game/menu.h"
#include "game/replay_file.h"
#include "game/screen_name.h"
#include "graphics/draw2d.h"
#include "graphics/stereo_mode.h"
#include "system/joystick.h"
#include "system/polled_input.h"

namespace {

constexpr auto kNoticeTime = std::chrono::seconds(5);
constexpr int kEscapeKey = 27;
constexpr int kBarWidth = 400, kBarHeight = 16;

// Apart from the game's state: the title's line about the last video and until when it shows
// (on the wall clock: drawing the title changes nothing).
struct Notice {
  std::string text;
  std::chrono::steady_clock::time_point until;
} notice;

// The video process and what it has said.
struct VideoProcess {
  pid_t pid = -1;
  int output = -1;  // its stdout and stderr, read without waiting
  std::string pending;
  int done = 0, total = 0;
  std::string last_line;  // its last line that was not progress: a summary or a problem
};

// Starts this program on the replay at `replay`, its stdout and stderr into a pipe. False when
// the process cannot be made.
bool StartVideoProcess(VideoProcess& process, const std::string& replay, const std::string& out) {
  std::vector<std::string> words = {AppFile(), "--replay", replay,
                                    "--video", out,        "--video-progress"};
  words.push_back(GetColourMode() == ColourMode::Flat ? "--flat" : "--anaglyph");
  words.push_back("--stereo");
  words.push_back(StereoModeName(ChosenStereoMode()));
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  int pipe_ends[2];
  if (::pipe2(pipe_ends, O_CLOEXEC) != 0) return false;
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(pipe_ends[0]);
    ::close(pipe_ends[1]);
    return false;
  }
  if (pid == 0) {
    // The video stops (and removes its partial file) when the game goes, however it goes.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) ::_exit(1);
    ::dup2(pipe_ends[1], 1);
    ::dup2(pipe_ends[1], 2);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(pipe_ends[1]);
  ::fcntl(pipe_ends[0], F_SETFL, O_NONBLOCK);
  process.pid = pid;
  process.output = pipe_ends[0];
  return true;
}

// Takes in what the process wrote since the last look.
void ReadVideoProcess(VideoProcess& process) {
  char buffer[4096];
  ssize_t got;
  while ((got = ::read(process.output, buffer, sizeof buffer)) > 0) {
    process.pending.append(buffer, static_cast<std::size_t>(got));
  }
  std::size_t end;
  while ((end = process.pending.find('\n')) != std::string::npos) {
    const std::string line = process.pending.substr(0, end);
    process.pending.erase(0, end + 1);
    int done = 0, total = 0;
    if (std::sscanf(line.c_str(), "video %d %d", &done, &total) == 2) {
      process.done = done;
      process.total = total;
    } else if (!line.empty()) {
      process.last_line = line.starts_with("zumbrix: ") ? line.substr(9) : line;
    }
  }
}

std::string TimeLeftText(double seconds) {
  const int whole = static_cast<int>(seconds + 0.5);
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d left", whole / 60, whole % 60);
  return text;
}

void DrawProgress(const Ref<TImage>& backdrop, const VideoProcess& process, double seconds,
                  bool stopping) {
  DrawMenuBackdrop(backdrop);
  DrawMenuText("Saving the best game as a video", 180);
  const float x = 320 - kBarWidth / 2.0f, y = 220;
  const double part = process.total > 0 ? static_cast<double>(process.done) / process.total : 0;
  SetBlend(BLEND_ALPHA);
  SetColor(60, 60, 60);
  DrawRect(x, y, kBarWidth, kBarHeight);
  SetColor(0, 200, 255);
  DrawRect(x, y, static_cast<float>(kBarWidth * part), kBarHeight);
  SetColor(255, 255, 255);
  std::string words = std::to_string(static_cast<int>(part * 100)) + "%";
  if (process.done > 0 && part < 1) words += "   " + TimeLeftText(seconds * (1 - part) / part);
  DrawMenuText(stopping ? "Stopping..." : words, 260);
  DrawMenuText("ESC/B: cancel", 410);
}

}  // namespace

std::string VideoFileName(const std::string& folder) {
  const std::time_t now = std::time(nullptr);
  std::tm local = {};
  localtime_r(&now, &local);
  char name[64];
  std::strftime(name, sizeof name, "zumbrix-%Y-%m-%d-%H%M%S.webm", &local);
  return folder + "/" + name;
}

std::string SaveBestGameVideo(const Ref<TImage>& backdrop) {
  namespace fs = std::filesystem;
  const auto tell = [](const std::string& text) {
    notice = Notice{text, std::chrono::steady_clock::now() + kNoticeTime};
    std::fprintf(stderr, "%s\n", text.c_str());
    return text;
  };
  const RecordedGame* game = BestGameToWatch();
  if (!game) return "";
  const ModalScreenScope screen(ModalScreen::Video);
  const std::string folder = UserVideosFolder();
  std::error_code error;
  if (folder.empty()) return tell("Video not saved: no videos folder and no home folder");
  fs::create_directories(folder, error);
  if (error) return tell("Video not saved: cannot make " + folder);
  const std::string out = VideoFileName(folder);
  const std::string name = fs::path(out).filename().string();
  ReplayJournal journal;
  journal.games.push_back(*game);
  const std::string replay =
      (fs::temp_directory_path(error) / ("zumbrix-video-" + std::to_string(::getpid()) + ".replay"))
          .string();
  if (!SaveReplay(replay, journal)) return tell("Video not saved: cannot write " + replay);
  VideoProcess process;
  if (!StartVideoProcess(process, replay, out)) {
    fs::remove(replay, error);
    return tell("Video not saved: the video process did not start");
  }
  ClearKeys();
  ClearMouse();
  const auto started = std::chrono::steady_clock::now();
  bool stopping = false;
  int status = 0;
  for (;;) {
    ReadVideoProcess(process);
    if (::waitpid(process.pid, &status, WNOHANG) == process.pid) break;
    const bool cancel =
        KeyHits(kEscapeKey) || JoyButtonHits(kMenuBackButton, 0) || AppCloseRequested();
    if (cancel && !stopping) {
      ::kill(process.pid, SIGTERM);
      stopping = true;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    DrawProgress(backdrop, process, seconds, stopping);
    SetColor(255, 255, 255);
    FlipScreen(-1);
  }
  ReadVideoProcess(process);
  ::close(process.output);
  fs::remove(replay, error);
  if (AppCloseRequested()) program.quitflag = 1;
  ClearKeys();
  ClearMouse();
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  if (code == 0) return tell("Video saved: " + name);
  if (code == 3) return tell("Video cut short: " + name);
  if (stopping) return tell("Video cancelled");
  return tell("Video not saved: " +
              (process.last_line.empty() ? "the video process failed" : process.last_line));
}

std::string TitleVideoNotice() {
  return std::chrono::steady_clock::now() < notice.until ? notice.text : std::string();
}
