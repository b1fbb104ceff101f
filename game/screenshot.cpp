// screenshot.cpp - the F12 flip hook, the dated PNG file and the note saying where it went.
#include "game/screenshot.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/main_thread.h"
#include "core/user_folders.h"
#include "game/config/game_files.h"
#include "graphics/draw2d.h"
#include "graphics/font.h"
#include "graphics/graphics.h"
#include "graphics/png_saver.h"
#include "graphics/view_recorder.h"
#include "system/hook.h"
#include "system/key_codes.h"
#include "system/polled_input.h"

namespace {

constexpr int kF12 = Key(KeyCode::kF12);
constexpr int kNoteFrames = 4 * 60;     // how long the picture's path is shown
constexpr std::size_t kNoteChars = 76;  // what fits across the picture in the font

// The note on screen, apart from the game's state: drawn over the finished frame, never steering
// play. Set by each F12.
struct Note {
  std::string text;     // where the last picture went, or why it did not
  int frames_left = 0;  // how long it is still shown
} note;

// The note in a dark strip near the bottom, drawn over the finished frame after any picture is
// taken, so that no picture holds it; the drawing state is left as it was.
void DrawNote() {
  int r, g, b;
  QueryColor(r, g, b);
  const float alpha = QueryAlpha();
  const int blend = QueryBlend();
  SetBlend(BLEND_ALPHA);
  SetAlpha(0.8f);
  SetColor(0, 0, 0);
  DrawRect(0, 430, 640, 20);
  SetAlpha(1);
  SetColor(255, 255, 160);
  const float width = static_cast<float>(MeasureTextWidth(note.text));
  PaintText(note.text, 320 - width / 2, 436);
  SetColor(r, g, b);
  SetAlpha(alpha);
  SetBlend(blend);
}

TObject* SaveOnF12(int, TObject* data, TObject*) {
  if (KeyHits(kF12) && WritesPlayerFiles()) {
    const std::string path = SaveScreenshot();
    note.text = path.empty() ? "Picture not saved (see the terminal)" : "Picture saved: " + path;
    // A long path keeps its end, where the file's name is.
    if (note.text.size() > kNoteChars)
      note.text = "..." + note.text.substr(note.text.size() - (kNoteChars - 3));
    note.frames_left = kNoteFrames;
  }
  if (note.frames_left > 0) {
    --note.frames_left;
    DrawNote();
  }
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
