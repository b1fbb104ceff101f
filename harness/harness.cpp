// harness.cpp - the headless harness: the real game on a virtual clock with scripted input.
// Test support, not part of the game: it needs the game, the flip hook of the graphics layer, and
// the platform's input injection and virtual clock.
#include "harness/harness.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "core/app.h"
#include "game/config/graphics_choice.h"
#include "game/config/settings_store.h"
#include "game/frame_loop.h"
#include "game/startup.h"
#include "graphics/draw2d.h"
#include "graphics/gl_graphics.h"
#include "graphics/graphics.h"
#include "graphics/null_graphics.h"
#include "graphics/png_saver.h"
#include "graphics/view_recorder.h"
#include "platform/clock.h"
#include "platform/inject.h"
#include "system/hook.h"

namespace {

struct State {
  bool running = false;
  bool hooked = false;
  bool full_splash = false;
  int flips = 0;
  int joystick = -1;
  std::function<void()> onflip;
  std::string screenshot;
  std::vector<std::function<void()>> releases;  // due at the next flip
} state;

std::uint32_t Window() {
  if (std::uint32_t null_window = CurrentNullWindow()) return null_window;
  GLContextRecord* context = CurrentGLContext();
  return context ? context->window_id : 0;
}

TObject* OnFlip(int, TObject* data, TObject*) {
  ++state.flips;
  if (!state.screenshot.empty()) {
    SavePixmapPNG(GrabStereoPicture(), state.screenshot);
    state.screenshot.clear();
  }
  std::vector<std::function<void()>> due;
  due.swap(state.releases);
  for (auto& release : due) release();
  if (state.flips == 1 && !state.full_splash) HarnessClick(1);
  if (state.onflip) state.onflip();
  return data;
}

}  // namespace

void HarnessPrepare(const HarnessOptions& options) {
  if (state.running) HarnessStop();
  std::string folder = options.folder;
  if (folder.empty()) {
    EnterAppDir(nullptr);
    folder = AppDir();
  }
  if (::chdir(folder.c_str()) != 0) std::fprintf(stderr, "cannot enter %s\n", folder.c_str());
  plat_use_virtual_clock(options.virtual_clock);
  // The headless window never holds the keyboard focus, and SDL drops the joystick input of a
  // program without it unless told otherwise (read once, when the joystick service starts).
  ::setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 0);
  // Headless: drawn offscreen, asked for by name (a program that only falls back to it is told
  // there is no display).
  ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
  // Headless means no sound card either: the mixer plays into SDL's dummy device unless the
  // environment names another.
  ::setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (options.joystick && state.joystick < 0) {
    state.joystick = plat_inject_joystick_attach(4, 4, 0);
  } else if (!options.joystick && state.joystick >= 0) {
    plat_inject_joystick_detach(state.joystick);  // an earlier run's, which would hold port 0
    state.joystick = -1;
  }
  state.flips = 0;
  state.full_splash = options.full_splash;
  state.screenshot.clear();
  state.releases.clear();
  if (!state.hooked) {
    AttachHook(FlipHookId(), OnFlip);
    state.hooked = true;
  }
  // ZX_HARNESS_GRAPHICS=opengl draws a run that asked for the null driver all the same, so that
  // a test can be watched in a real window (with SDL_VIDEODRIVER=x11).
  const char* forced = std::getenv("ZX_HARNESS_GRAPHICS");
  const bool drawn = forced && std::string_view(forced) == "opengl";
  ChooseGameGraphics(options.null_graphics && !drawn ? GraphicsChoice::kNull
                                                     : GraphicsChoice::kOpenGL);
}

void HarnessStart(const HarnessOptions& options) {
  HarnessPrepare(options);
  UseRunInputChoices();  // the run's settings, the defaults unless the test loaded a file
  state.running = true;
  gamestartup(options.seed);
}

bool HarnessFrame() {
  if (!state.running) return false;
  return gameframe();
}

int HarnessRun(int frames) {
  int run = 0;
  while (run < frames) {
    ++run;
    if (!HarnessFrame()) break;
  }
  return run;
}

int HarnessRunUntil(const std::function<bool()>& done, int limit) {
  int run = 0;
  while (run < limit) {
    ++run;
    if (!HarnessFrame() || done()) break;
  }
  return run;
}

void HarnessStop() {
  if (state.running) gameshutdown();
  state.running = false;
  state.onflip = nullptr;
  for (auto& release : state.releases) release();
  state.releases.clear();
  for (int b = 0; b < 4 && state.joystick >= 0; ++b)
    plat_inject_joystick_button(state.joystick, b, false);
  for (int a = 0; a < 4 && state.joystick >= 0; ++a)
    plat_inject_joystick_axis(state.joystick, a, 0);
}

bool HarnessRunning() { return state.running; }
int HarnessFlips() { return state.flips; }
void HarnessOnFlip(std::function<void()> callback) { state.onflip = std::move(callback); }
void HarnessScreenshot(const std::string& path) { state.screenshot = path; }

void HarnessKey(int vkey, bool down) { plat_inject_key(Window(), vkey, down); }

void HarnessTapKey(int vkey) {
  HarnessKey(vkey, true);
  state.releases.push_back([vkey] { HarnessKey(vkey, false); });
}

void HarnessMouseButton(int button, bool down) { plat_inject_mouse_button(Window(), button, down); }

void HarnessClick(int button) {
  HarnessMouseButton(button, true);
  state.releases.push_back([button] { HarnessMouseButton(button, false); });
}

void HarnessMoveMouse(int x, int y) { plat_inject_mouse_move(Window(), x, y); }

void HarnessJoyAxis(int axis, int value) {
  if (state.joystick >= 0) plat_inject_joystick_axis(state.joystick, axis, value);
}

void HarnessJoyButton(int button, bool down) {
  if (state.joystick >= 0) plat_inject_joystick_button(state.joystick, button, down);
}

void HarnessTapJoyButton(int button) {
  HarnessJoyButton(button, true);
  state.releases.push_back([button] { HarnessJoyButton(button, false); });
}

void HarnessCloseWindow() { plat_inject_close(Window()); }
void HarnessDropFile(const std::string& path) { plat_inject_file_drop(Window(), path.c_str()); }
void HarnessFocus(bool gained) { plat_inject_focus(Window(), gained); }
