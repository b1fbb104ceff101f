// translator.cpp - the message-to-event table and the pointer's enter/leave tracking.
#include "system/translator.h"

#include "core/main_thread.h"
#include "platform/cursor.h"
#include "platform/events.h"
#include "platform/window.h"
#include "system/event.h"
#include "system/key_codes.h"
#include "system/system_driver.h"

namespace {

std::uint32_t tracked_window = 0;
Ref<TObject> tracked_source;
int tracked_x = 0, tracked_y = 0;

void Emit(int id, TObject* source, int data, int x = 0, int y = 0) {
  TEvent::Create(id, source, data, ModifierState(), x, y)->Emit();
}

void EndTracking(int x, int y) {
  Ref<TObject> source = std::move(tracked_source);
  tracked_window = 0;
  Emit(EVENT_MOUSELEAVE, source.get(), 0, x, y);
}

// A window closed while the pointer was over it leaves nothing to track.
void ForgetClosedWindow() {
  if (tracked_window && !plat_window_size(tracked_window, nullptr, nullptr)) {
    tracked_window = 0;
    tracked_source = nullptr;
  }
}

void TrackPointer(const PlatMessage& m, TObject* source) {
  ForgetClosedWindow();
  int width = 0, height = 0;
  plat_window_size(m.window, &width, &height);
  bool inside = m.x >= 0 && m.y >= 0 && m.x < width && m.y < height;
  std::uint32_t over = inside ? m.window : 0;
  if (over == tracked_window) {
    if (over) tracked_x = m.x, tracked_y = m.y;
    return;
  }
  // Leaving for another window, the old one only knows where the pointer was last seen on it.
  if (tracked_window) {
    bool same = tracked_window == m.window;
    EndTracking(same ? m.x : tracked_x, same ? m.y : tracked_y);
  }
  if (over) {
    tracked_window = over;
    tracked_source = source;
    tracked_x = m.x;
    tracked_y = m.y;
  }
  UpdatePointerVisibility();
  if (over) Emit(EVENT_MOUSEENTER, source, 0, m.x, m.y);
}

// The set-1 scan codes that tell the two sides of Shift, Control and Alt apart (the right
// Control and Alt keys send the extended prefix).
struct SidedKey {
  int scancode;
  bool extended;
  KeyCode key;
};
constexpr SidedKey kSidedKeys[] = {
    {0x2A, false, KeyCode::kLeftShift},   {0x36, false, KeyCode::kRightShift},
    {0x1D, false, KeyCode::kLeftControl}, {0x1D, true, KeyCode::kRightControl},
    {0x38, false, KeyCode::kLeftAlt},     {0x38, true, KeyCode::kRightAlt},
};

constexpr int SidedScanCode(int scancode, bool extended) { return scancode + (extended ? 128 : 0); }

}  // namespace

int EventKeyCode(int vkey, int scancode, bool extended) {
  if (vkey < 1 || vkey > 255) return 0;
  if (vkey < Key(KeyCode::kShift) || vkey > Key(KeyCode::kAlt)) return vkey;
  const int code = SidedScanCode(scancode, extended);
  for (const SidedKey& side : kSidedKeys) {
    if (code == SidedScanCode(side.scancode, side.extended)) return Key(side.key);
  }
  return vkey;
}

void TranslateSystemMessage(const PlatMessage& m, TObject* source) {
  ZX_CHECK_MAIN_THREAD();
  switch (m.kind) {
    case PlatMessageKind::kClose:
      Emit(EVENT_APPTERMINATE, source, 0);
      break;
    case PlatMessageKind::kFileDrop:
      TEvent::Create(EVENT_APPOPENFILE, source, 0, 0, 0, 0, New<TStringObject>(m.file).get())
          ->Emit();
      break;
    case PlatMessageKind::kFocusGained:
      Emit(EVENT_APPRESUME, source, 0);
      break;
    case PlatMessageKind::kFocusLost:
      Emit(EVENT_APPSUSPEND, source, 0);
      break;
    case PlatMessageKind::kKeyDown:
    case PlatMessageKind::kKeyUp:
      if (int key = EventKeyCode(m.vkey, m.scancode, m.extended)) {
        int id = m.kind == PlatMessageKind::kKeyUp ? EVENT_KEYUP
                 : m.repeat                        ? EVENT_KEYREPEAT
                                                   : EVENT_KEYDOWN;
        Emit(id, source, key);
      }
      break;
    case PlatMessageKind::kChar:
      Emit(EVENT_KEYCHAR, source, m.character);
      break;
    case PlatMessageKind::kMouseMove:
      TrackPointer(m, source);
      Emit(EVENT_MOUSEMOVE, source, 0, m.x, m.y);
      break;
    case PlatMessageKind::kMouseDown:
      plat_cursor_capture(true);
      Emit(EVENT_MOUSEDOWN, source, m.button, m.x, m.y);
      break;
    case PlatMessageKind::kMouseUp:
      plat_cursor_capture(false);
      Emit(EVENT_MOUSEUP, source, m.button, m.x, m.y);
      break;
    case PlatMessageKind::kMouseWheel:
      Emit(EVENT_MOUSEWHEEL, source, m.wheel / 120, m.x, m.y);
      break;
    case PlatMessageKind::kMouseLeave:
      if (tracked_window && tracked_window == m.window) {
        EndTracking(m.x, m.y);
        UpdatePointerVisibility();
      }
      break;
    case PlatMessageKind::kNone:
    case PlatMessageKind::kCall:
      break;
  }
}

void TranslatingWindowProcedure(const PlatMessage& message, void*) {
  TranslateSystemMessage(message, nullptr);
}

std::uint32_t PointerWindow() {
  ForgetClosedWindow();
  return tracked_window;
}
