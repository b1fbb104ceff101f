// title_video.cpp - the video process started, its progress read from its output and drawn as a
// bar, and its end told on the title.
#include "game/video/title_video.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "core/app.h"
#include "core/child_process.h"
#include "core/user_folders.h"
#include "game/config/colour_mode.h"
#include "game/play/globals.h"
#include "game/play/screen_name.h"
#include "game/replay/best_game.h"
#include "game/replay/replay_file.h"
#include "game/screens/menu.h"
#include "game/screens/screens.h"
#include "graphics/draw2d.h"
#include "graphics/stereo_mode.h"
#include "system/joystick.h"
#include "system/polled_input.h"

namespace {

constexpr int kEscapeKey = 27;
constexpr int kBarWidth = 400, kBarHeight = 16;

// What the video process has said.
struct VideoProgress {
  std::string pending;
  int done = 0, total = 0;
  std::string last_line;  // its last line that was not progress: a summary or a problem
};

// Takes in what the process wrote since the last look.
void ReadProgress(ChildProcess& process, VideoProgress& progress) {
  progress.pending += process.ReadOutput();
  std::size_t end;
  while ((end = progress.pending.find('\n')) != std::string::npos) {
    const std::string line = progress.pending.substr(0, end);
    progress.pending.erase(0, end + 1);
    int done = 0, total = 0;
    if (std::sscanf(line.c_str(), "video %d %d", &done, &total) == 2) {
      progress.done = done;
      progress.total = total;
    } else if (!line.empty()) {
      progress.last_line = line.starts_with("zumbrix: ") ? line.substr(9) : line;
    }
  }
}

std::string TimeLeftText(double seconds) {
  const int whole = static_cast<int>(seconds + 0.5);
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d left", whole / 60, whole % 60);
  return text;
}

void DrawProgress(const Ref<TImage>& backdrop, const std::string& what,
                  const VideoProgress& process, double seconds, bool stopping) {
  DrawMenuBackdrop(backdrop, 386);  // the title's lines from the hall of fame's down
  const float x = 320 - kBarWidth / 2.0f, y = 220;
  // A black plate under the words and the bar: the title's own lines stay behind it unread.
  SetBlend(BLEND_SOLID);
  SetColor(0, 0, 0);
  DrawRect(x - 16, 164, kBarWidth + 32, 116);
  SetColor(255, 255, 255);
  DrawMenuText("Saving " + what + " as a video", 180);
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
  const RecordedGame* game = BestGameToWatch();
  if (!game) return "";
  ReplayJournal journal;
  journal.player = BestGamePlayer();
  journal.games.push_back(*game);
  const std::string said = SaveGameVideo(journal, "the best game", backdrop);
  ShowTitleNotice(said);
  return said;
}

std::string SaveGameVideo(const ReplayJournal& journal, const std::string& what,
                          const Ref<TImage>& backdrop) {
  namespace fs = std::filesystem;
  const auto tell = [](const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return text;
  };
  const ModalScreenScope screen(ModalScreen::Video);
  const std::string folder = UserVideosFolder();
  std::error_code error;
  if (folder.empty()) return tell("Video not saved: no videos folder and no home folder");
  fs::create_directories(folder, error);
  if (error) return tell("Video not saved: cannot make " + folder);
  const std::string out = VideoFileName(folder);
  const std::string name = fs::path(out).filename().string();
  // The game goes to the video process as a replay file of its own.
  static int videos = 0;
  const fs::path replay = fs::temp_directory_path(error) /
                          ("zumbrix-video-" + std::to_string(++videos) + "-" + name + ".replay");
  if (!SaveReplay(replay.string(), journal)) {
    return tell("Video not saved: cannot write " + replay.string());
  }
  ChildProcess process;
  const std::vector<std::string> words = {
      AppFile(),
      "--replay",
      replay.string(),
      "--video",
      out,
      "--video-progress",
      GetColourMode() == ColourMode::Flat ? "--flat" : "--anaglyph",
      "--stereo",
      StereoModeName(ChosenStereoMode())};
  if (!process.Start(words)) {
    fs::remove(replay, error);
    return tell("Video not saved: the video process did not start");
  }
  ClearKeys();
  ClearMouse();
  VideoProgress progress;
  const auto started = std::chrono::steady_clock::now();
  bool stopping = false;
  int status = 0;
  while (!process.Ended(&status)) {
    ReadProgress(process, progress);
    const bool cancel =
        KeyHits(kEscapeKey) || JoyButtonHits(kMenuBackButton, 0) || AppCloseRequested();
    if (cancel && !stopping) {
      process.Stop();
      stopping = true;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    DrawProgress(backdrop, what, progress, seconds, stopping);
    SetColor(255, 255, 255);
    FlipScreen(-1);
  }
  ReadProgress(process, progress);
  fs::remove(replay, error);
  if (AppCloseRequested()) program.quitflag = 1;
  ClearKeys();
  ClearMouse();
  if (status == 0) return tell("Video saved: " + name);
  if (status == 3) return tell("Video cut short: " + name);
  if (stopping) return tell("Video cancelled");
  return tell("Video not saved: " +
              (progress.last_line.empty() ? "the video process failed" : progress.last_line));
}
