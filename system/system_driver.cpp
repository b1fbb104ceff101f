// system_driver.cpp - the pump, the pointer rule and the answers of the missing requesters.
#include "system/system_driver.h"

#include <cstdio>

#include "core/main_thread.h"
#include "platform/cursor.h"
#include "platform/events.h"
#include "platform/window.h"
#include "system/event.h"
#include "system/event_queue.h"
#include "system/key_codes.h"
#include "system/translator.h"

namespace {

TPlatformSystemDriver* driver = nullptr;
bool pumping = false;
bool mouse_visible = true;
int modifiers = 0;

bool IsModifierKey(int vkey) {
  for (KeyCode code : {KeyCode::kShift, KeyCode::kControl, KeyCode::kAlt, KeyCode::kLeftWindows,
                       KeyCode::kRightWindows}) {
    if (vkey == Key(code)) return true;
  }
  return false;
}

bool Held(KeyCode code) { return plat_key_held(Key(code)); }

void RebuildModifiers() {
  modifiers = (Held(KeyCode::kShift) ? MODIFIER_SHIFT : 0) |
              (Held(KeyCode::kControl) ? MODIFIER_CONTROL : 0) |
              (Held(KeyCode::kAlt) ? MODIFIER_OPTION : 0) |
              (Held(KeyCode::kLeftWindows) || Held(KeyCode::kRightWindows) ? MODIFIER_SYSTEM : 0);
}

class PumpGuard {
 public:
  PumpGuard() { pumping = true; }
  ~PumpGuard() { pumping = false; }
};

}  // namespace

void TPlatformSystemDriver::Poll() {
  PlatMessage message;
  while (plat_peek_message(&message)) {
    if (message.kind == PlatMessageKind::kCall) {
      message.call(message.call_a, message.call_b);
      continue;
    }
    bool key = message.kind == PlatMessageKind::kKeyDown || message.kind == PlatMessageKind::kKeyUp;
    if (key && IsModifierKey(message.vkey)) RebuildModifiers();
    plat_dispatch_message(message);
  }
}

void TPlatformSystemDriver::Wait() {
  plat_wait_message();
  Poll();
}

void TPlatformSystemDriver::MoveMouse(int x, int y) {
  plat_cursor_warp(plat_active_window(), x, y);
}

void TPlatformSystemDriver::SetMouseVisible(bool visible) {
  mouse_visible = visible;
  UpdatePointerVisibility();
}

void TPlatformSystemDriver::Notify(const std::string& text, bool serious) {
  std::fprintf(stderr, "%s%s\n", serious ? "Error: " : "", text.c_str());
}

bool TPlatformSystemDriver::Confirm(const std::string&, bool) { return false; }

int TPlatformSystemDriver::Proceed(const std::string&, bool) { return -1; }

std::string TPlatformSystemDriver::RequestFile(const std::string&, const std::string&, bool,
                                               const std::string&) {
  return "";
}

std::string TPlatformSystemDriver::RequestDir(const std::string&, const std::string&) { return ""; }

bool TPlatformSystemDriver::OpenURL(const std::string&) { return false; }

void StartSystem() {
  ClaimMainThread();
  ZX_CHECK_MAIN_THREAD();
  if (driver) return;
  plat_events_init();
  driver = New<TPlatformSystemDriver>().detach();  // lives until the program ends
  mouse_visible = true;
  StartEventQueue();
}

TSystemDriver* SystemDriver() {
  ZX_CHECK_MAIN_THREAD();
  StartSystem();
  return driver;
}

void PumpEvents() {
  ZX_CHECK_MAIN_THREAD();
  if (pumping) return;
  TSystemDriver* system = SystemDriver();
  PumpGuard guard;
  system->Poll();
}

void AwaitEvents() {
  ZX_CHECK_MAIN_THREAD();
  if (pumping) return;
  TSystemDriver* system = SystemDriver();
  PumpGuard guard;
  system->Wait();
}

bool InsidePump() { return pumping; }

void PlaceMouse(int x, int y) { SystemDriver()->MoveMouse(x, y); }
void ShowPointer() { SystemDriver()->SetMouseVisible(true); }
void HidePointer() { SystemDriver()->SetMouseVisible(false); }

int ModifierState() { return modifiers; }

void UpdatePointerVisibility() { plat_cursor_set_visible(mouse_visible || PointerWindow() == 0); }
