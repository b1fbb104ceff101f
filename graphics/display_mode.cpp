// display_mode.cpp - the chosen display mode, scale policy and pointer hold.
#include "graphics/display_mode.h"

#include <cstring>
#include <initializer_list>

#include "core/main_thread.h"

namespace {

DisplayMode mode = DisplayMode::Fullscreen;
DisplayMode full_screen_choice = DisplayMode::Fullscreen;
ScalePolicy policy = ScalePolicy::Fit;
bool hold_pointer = false;

}  // namespace

void SetDisplayMode(DisplayMode m) {
  ZX_CHECK_MAIN_THREAD();
  mode = m;
  if (m != DisplayMode::Window) full_screen_choice = m;
}

DisplayMode CurrentDisplayMode() { return mode; }
DisplayMode FullScreenChoice() { return full_screen_choice; }
void SetScalePolicy(ScalePolicy p) { policy = p; }
ScalePolicy CurrentScalePolicy() { return policy; }
void HoldPointer(bool hold) {
  ZX_CHECK_MAIN_THREAD();
  hold_pointer = hold;
}
bool PointerHoldWanted() { return hold_pointer; }

const char* DisplayModeName(DisplayMode m) {
  switch (m) {
    case DisplayMode::Fullscreen:
      return "fullscreen";
    case DisplayMode::Desktop:
      return "desktop";
    case DisplayMode::Window:
      return "window";
  }
  return "fullscreen";
}

bool DisplayModeFromName(const char* name, DisplayMode* m) {
  for (DisplayMode each : {DisplayMode::Fullscreen, DisplayMode::Desktop, DisplayMode::Window}) {
    if (name && std::strcmp(name, DisplayModeName(each)) == 0) {
      *m = each;
      return true;
    }
  }
  return false;
}
