// graphics.cpp - the current driver and context, display modes, and the paced flip.
#include "graphics/graphics.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "graphics/draw2d.h"
#include "graphics/frame_timing.h"
#include "graphics/pixmap.h"
#include "system/clock.h"
#include "system/hook.h"
#include "system/polled_input.h"
#include "system/startup_steps.h"
#include "system/system_driver.h"

namespace {

struct Settings {
  int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
};

TGraphicsDriver* driver = nullptr;
int default_flags = 0;
Ref<TGraphics> current;
Settings settings;
Ref<TGraphics> opened;
std::vector<TGraphicsMode> modes;
bool modes_fetched = false;
int generation = 1;
bool exit_registered = false;
std::string app_title = "Zumbrix";
Ref<TPixmap> app_icon;  // RGBA8888

struct SoftSync {
  bool on = false;
  int rate = 0;      // frames a second
  int period = 0;    // whole milliseconds a frame
  int fraction = 0;  // milliseconds a second left over by the whole periods
  int accumulator = 0;
  int next = 0;  // when the next frame is due, by Millis()
  // What a flip usually takes, in microseconds: the least of the recent flips, rising slowly when
  // flips take longer for good (a bigger window) so that one slow flip does not count as usual.
  std::int64_t usual_flip_us = -1;
} sync_state;  // reset by OpenGraphics

int flip_hook = -1;

void NextGeneration() {
  if (++generation == 0) generation = 1;
}

void DetachDriver() {
  if (driver && current) driver->SetGraphics(nullptr);
  current.reset();
  settings = Settings{};
}

void ForgetModes() {
  modes.clear();
  modes_fetched = false;
}

// Flips with vertical sync for up to a second: when three flips in a row take one refresh
// period (within a millisecond), the display paces the frames itself. Flips that return sooner
// than that mean it does not: a display that waits for its refresh can hand back a few early
// while its queue of buffers fills (two or three), never twenty in a row, so the probe stops there
// rather than flipping for the whole second. The flip count is bounded too, for a clock that does
// not move while flipping (the harness's virtual clock).
constexpr int kEarlyFlipsMeanNoSync = 20;

bool HardwareSyncWorks(int hertz) {
  int target = 1000 / hertz;
  int start = Millis();
  int in_step = 0, early = 0;
  for (int flips = 0; flips < 1000 && Millis() - start < 1000; ++flips) {
    int before = Millis();
    driver->Flip(1);
    int diff = (Millis() - before) - target;
    if (diff >= -1 && diff <= 1) {
      if (++in_step == 3) return true;
    } else {
      in_step = 0;
    }
    early = diff < -1 ? early + 1 : 0;
    if (early == kEarlyFlipsMeanNoSync) return false;
  }
  return false;
}

}  // namespace

int FlipHookId() {
  if (flip_hook < 0) flip_hook = NewHookId();
  return flip_hook;
}

int GraphicsGeneration() { return generation; }
bool SoftSyncActive() { return sync_state.on; }
void SetAppTitle(const std::string& title) { app_title = title; }

void SetAppIcon(const Ref<TPixmap>& icon) {
  app_icon = icon ? icon->Convert(FORMAT_RGBA8888) : nullptr;
}
const Ref<TPixmap>& AppIcon() { return app_icon; }
const std::string& AppTitle() { return app_title; }

TGraphicsDriver* CurrentGraphicsDriver() { return driver; }
TGraphics* CurrentGraphics() { return current.get(); }

void SelectGraphicsDriver(TGraphicsDriver* d, int flags) {
  if (d != driver) {
    DetachDriver();
    ForgetModes();
    driver = d;
  }
  default_flags = flags;
  current.reset();
  settings = Settings{};
}

Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) {
  if (!driver) return nullptr;
  try {
    return driver->CreateGraphics(width, height, depth, hertz, flags | default_flags);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());  // why there is no display, for the player to read
    return nullptr;
  }
}

void SetGraphics(TGraphics* g) {
  if (!g) {
    DetachDriver();
    return;
  }
  TGraphicsDriver* d = g->Driver();
  if (d != driver) {
    DetachDriver();
    ForgetModes();
    driver = d;
  }
  g->GetSettings(settings.width, settings.height, settings.depth, settings.hertz, settings.flags);
  driver->SetGraphics(g);
  current = g;
}

void CloseGraphics(TGraphics* g) {
  if (!g) return;
  Ref<TGraphics> keep(g);
  if (g == opened.get()) opened.reset();
  if (g == current.get()) SetGraphics(nullptr);
  g->Close();
}

void EndGraphicsMode() {
  if (!opened) return;
  NextGeneration();
  StopPolledInput();
  CloseGraphics(opened.get());
}

Ref<TGraphics> OpenGraphics(int width, int height, int depth, int hertz, int flags) {
  EndGraphicsMode();
  Ref<TGraphics> g = CreateGraphics(width, height, depth, hertz, flags);
  if (!g) return nullptr;
  NoteStartupStep("context");
  NextGeneration();
  SetGraphics(g.get());
  NoteStartupStep("setup");  // made current and cleared; the OpenGL driver warms up its pipelines

  sync_state.on = hertz != 0;
  if (hertz != 0 && depth != 0 && HardwareSyncWorks(hertz)) sync_state.on = false;
  NoteStartupStep("probe");
  sync_state.rate = hertz;
  sync_state.period = hertz ? 1000 / hertz : 0;
  sync_state.fraction = 1000 - sync_state.period * hertz;
  sync_state.accumulator = 0;
  sync_state.next = Millis();
  sync_state.usual_flip_us = -1;

  opened = g;
  if (depth != 0) PlaceMouse(width / 2, height / 2);
  StartPolledInput(nullptr);
  if (!exit_registered) {
    exit_registered = true;
    std::atexit(EndGraphicsMode);
  }
  return g;
}

namespace {

// The flip itself, paced as FlipScreen's comment in graphics.h says.
void PresentFrame(int sync) {
  if (sync != -1) {
    driver->Flip(sync);
    return;
  }
  if (current != opened || !sync_state.on) {
    driver->Flip(settings.depth != 0 ? 1 : 0);
    return;
  }
  driver->FinishFrame();  // drawn before the wait, so the flip after it is short and even
  SoftSync& s = sync_state;
  s.next += s.period;
  s.accumulator += s.fraction;
  if (s.accumulator >= s.rate) {
    s.accumulator -= s.rate;
    s.next += 1;
  }
  // One reading for both: the milliseconds are the microseconds' whole part.
  const std::int64_t now_us = Micros();
  const int dt = s.next - static_cast<int>(static_cast<std::uint32_t>(now_us / 1000));
  std::int64_t flip_due_us = now_us;
  if (dt > 0) {
    // The frame is due at s.next plus the fraction of a millisecond the whole-millisecond schedule
    // has not yet paid (accumulator / rate): in real time every interval is then the period to
    // the microsecond (16667 us at 60 Hz) instead of 16 or 17 ms. The virtual clock counts whole
    // milliseconds and wakes at s.next.
    flip_due_us = now_us - now_us % 1000 + std::int64_t{dt} * 1000 +
                  std::int64_t{s.accumulator} * 1000 / s.rate;
    PauseUntilMicros(flip_due_us);
  } else {
    s.next -= dt;  // catch up with the clock: time lost is not made up by shorter frames
  }
  const std::int64_t flip_start_us = Micros();
  driver->Flip(0);
  const std::int64_t flip_end_us = Micros();
  const std::int64_t flip_us = flip_end_us - flip_start_us;
  if (s.usual_flip_us < 0) s.usual_flip_us = flip_us;
  // Shown a millisecond or more late, because the wake came late (the system ran something else
  // meanwhile) or the flip took longer than usual (the display server was busy): the schedule
  // goes on from now, so that the next frame is a whole period away. Keeping the old one would
  // make that frame short to catch up: two uneven intervals instead of one.
  const std::int64_t late_us = flip_end_us - flip_due_us - s.usual_flip_us;
  if (flip_us < s.usual_flip_us) {
    s.usual_flip_us = flip_us;
  } else {
    s.usual_flip_us += (flip_us - s.usual_flip_us) / 4;
  }
  if (late_us >= 1000) s.next += static_cast<int>(late_us / 1000);
}

}  // namespace

void FlipScreen(int sync) {
  if (DrawingSkipped()) {
    CallHooks(FlipHookId(), nullptr);
    return;
  }
  NoteFlipStart();
  CallHooks(FlipHookId(), nullptr);
  if (!driver) return;
  PresentFrame(sync);
  NoteFlipEnd();
}

int ContextWidth() { return settings.width; }
int ContextHeight() { return settings.height; }
int ContextDepth() { return settings.depth; }
int ContextHertz() { return settings.hertz; }
int ContextFlags() { return settings.flags; }

std::vector<TGraphicsMode> GraphicsModes() {
  if (!modes_fetched && driver) {
    modes = driver->GraphicsModes();
    modes_fetched = true;
  }
  return modes;
}

int GraphicsModeCount() { return static_cast<int>(GraphicsModes().size()); }

void GetGraphicsMode(int index, int& width, int& height, int& depth, int& hertz) {
  std::vector<TGraphicsMode> all = GraphicsModes();
  if (index < 0 || index >= static_cast<int>(all.size())) {
    width = height = depth = hertz = 0;
    return;
  }
  const TGraphicsMode& m = all[index];
  width = m.width;
  height = m.height;
  depth = m.depth;
  hertz = m.hertz;
}

bool GraphicsModeExists(int width, int height, int depth, int hertz) {
  for (const TGraphicsMode& m : GraphicsModes()) {
    if (width && m.width != width) continue;
    if (height && m.height != height) continue;
    if (depth && m.depth != depth) continue;
    if (hertz && m.hertz != hertz) continue;
    return true;
  }
  return false;
}
