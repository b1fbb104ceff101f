// screenshot.cpp - the F12 flip hook and the dated PNG file.
#include "game/screenshot.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "core/main_thread.h"
#include "core/user_folders.h"
#include "game/game_files.h"
#include "graphics/draw2d.h"
#include "graphics/graphics.h"
#include "graphics/png_saver.h"
#include "graphics/view_recorder.h"
#include "system/hook.h"
#include "system/key_codes.h"
#include "system/polled_input.h"

namespace {

constexpr int kF12 = Key(KeyCode::kF12);

TObject* SaveOnF12(int, TObject* data, TObject*) {
  if (KeyHits(kF12)) SaveScreenshot();
  return data;
}

}  // namespace

std::string ScreenshotFolder() { return UserPicturesFolder(); }

std::string SaveScreenshot() {
  ZX_CHECK_MAIN_THREAD();
  if (!WritesPlayerFiles()) return "";  // a replay's F12 presses are not the viewer's
  namespace fs = std::filesystem;
  const std::string folder = ScreenshotFolder();
  if (folder.empty()) {
    std::fprintf(stderr, "Screenshot not saved: no pictures folder and no home folder\n");
    return "";
  }
  std::error_code error;
  fs::create_directories(folder, error);
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
  // Two in the same second get a number rather than replacing the first.
  std::string path = folder + "/zumbrix_" + stamp + ".png";
  for (int n = 2; fs::exists(path, error) && n < 1000; ++n) {
    path = folder + "/zumbrix_" + stamp + "_" + std::to_string(n) + ".png";
  }
  if (!SavePixmapPNG(GrabStereoPicture(), path)) {
    std::fprintf(stderr, "Screenshot not saved: cannot write %s\n", path.c_str());
    return "";
  }
  std::printf("Screenshot saved: %s\n", path.c_str());
  std::fflush(stdout);
  return path;
}

void WatchScreenshotKey() {
  ZX_CHECK_MAIN_THREAD();
  static bool watching = false;
  if (watching) return;
  watching = true;
  AttachHook(FlipHookId(), SaveOnF12);
}
