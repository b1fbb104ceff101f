// events.cpp - SDL's event queue turned into the Windows-shaped message stream.
//
// One SDL event can become several messages (a text event carries a whole string; Enter, Tab,
// Backspace and ESC also type a character, as Windows' message translation makes them do), so
// converted messages wait in a small queue of their own until they are taken.
#include "platform/events.h"

#include <SDL.h>

#include <atomic>
#include <deque>

#include "platform/keymap.h"
#include "platform/window_registry.h"

namespace {

struct PostedCall {
  PlatCallFunc call;
  void* a;
  std::intptr_t b;
};

// Written once on the main thread before any other thread can post, read by posting threads.
std::atomic<std::uint32_t> call_event_type{0};

std::deque<PlatMessage> pending;
bool held[256];

int SidedModifier(const PlatMessage& m) {
  switch (m.vkey) {
    case 16:
      return m.scancode == 0x36 ? 161 : 160;
    case 17:
      return m.extended ? 163 : 162;
    case 18:
      return m.extended ? 165 : 164;
    default:
      return m.vkey;
  }
}

void NoteKey(const PlatMessage& m) {
  int key = SidedModifier(m);
  if (key > 0 && key < 256) held[key] = m.kind == PlatMessageKind::kKeyDown;
}

// The characters Windows' message translation makes from keys that SDL types no text for.
int TypedByKey(int vkey) {
  switch (vkey) {
    case 8:
    case 9:
    case 13:
    case 27:
      return vkey;
    default:
      return 0;
  }
}

void PushText(std::uint32_t window, const char* text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  while (*s) {
    int code = *s;
    if ((code >= 0x80 && code < 0xC0) || code >= 0xF8) {  // not the start of a character
      ++s;
      continue;
    }
    int extra = code >= 0xF0 ? 3 : code >= 0xE0 ? 2 : code >= 0xC0 ? 1 : 0;
    code &= extra == 3 ? 0x07 : extra == 2 ? 0x0F : extra == 1 ? 0x1F : 0x7F;
    ++s;
    for (; extra > 0 && (*s & 0xC0) == 0x80; --extra, ++s) code = (code << 6) | (*s & 0x3F);
    if (extra > 0) continue;  // a broken sequence types nothing
    PlatMessage m;
    m.kind = PlatMessageKind::kChar;
    m.window = window;
    m.character = code;
    pending.push_back(m);
  }
}

void PushPointer(PlatMessageKind kind, std::uint32_t window, int x, int y, int button = 0) {
  if (PlatWindowRecord* record = plat_window_record(window)) {
    record->pointer_x = x;
    record->pointer_y = y;
    plat_window_to_picture(*record, &x, &y);
  }
  PlatMessage m;
  m.kind = kind;
  m.window = window;
  m.x = x;
  m.y = y;
  m.button = button;
  pending.push_back(m);
}

void PushAtPointer(PlatMessage m) {
  if (PlatWindowRecord* record = plat_window_record(m.window)) {
    m.x = record->pointer_x;
    m.y = record->pointer_y;
    plat_window_to_picture(*record, &m.x, &m.y);
  }
  pending.push_back(m);
}

int WindowsButton(int sdl_button) {
  switch (sdl_button) {
    case SDL_BUTTON_LEFT:
      return 1;
    case SDL_BUTTON_RIGHT:
      return 2;
    case SDL_BUTTON_MIDDLE:
      return 3;
    default:
      return 0;
  }
}

void ConvertWindowEvent(const SDL_WindowEvent& e) {
  PlatMessage m;
  m.window = e.windowID;
  switch (e.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      plat_window_note_focus(e.windowID, true);
      m.kind = PlatMessageKind::kFocusGained;
      pending.push_back(m);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      plat_window_note_focus(e.windowID, false);
      m.kind = PlatMessageKind::kFocusLost;
      pending.push_back(m);
      break;
    case SDL_WINDOWEVENT_CLOSE:
      m.kind = PlatMessageKind::kClose;
      pending.push_back(m);
      break;
    case SDL_WINDOWEVENT_LEAVE:
      m.kind = PlatMessageKind::kMouseLeave;
      PushAtPointer(m);
      break;
    default:
      break;
  }
}

void Convert(const SDL_Event& e) {
  PlatMessage m;
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      PlatKeyCode code = plat_key_from_sdl(e.key.keysym.scancode);
      m.kind = e.type == SDL_KEYDOWN ? PlatMessageKind::kKeyDown : PlatMessageKind::kKeyUp;
      m.window = e.key.windowID;
      m.vkey = code.vkey;
      m.scancode = code.scancode;
      m.extended = code.extended;
      m.repeat = e.type == SDL_KEYDOWN && e.key.repeat != 0;
      NoteKey(m);
      pending.push_back(m);
      if (int typed = e.type == SDL_KEYDOWN ? TypedByKey(code.vkey) : 0) {
        PlatMessage c;
        c.kind = PlatMessageKind::kChar;
        c.window = e.key.windowID;
        c.character = typed;
        pending.push_back(c);
      }
      break;
    }
    case SDL_TEXTINPUT:
      PushText(e.text.windowID, e.text.text);
      break;
    case SDL_MOUSEMOTION:
      // A warp while SDL knows of no window under the pointer says no window: the pointer was
      // placed in the active one.
      PushPointer(PlatMessageKind::kMouseMove,
                  e.motion.windowID ? e.motion.windowID : plat_active_window(), e.motion.x,
                  e.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (int button = WindowsButton(e.button.button)) {
        PushPointer(
            e.type == SDL_MOUSEBUTTONDOWN ? PlatMessageKind::kMouseDown : PlatMessageKind::kMouseUp,
            e.button.windowID, e.button.x, e.button.y, button);
      }
      break;
    case SDL_MOUSEWHEEL: {
      int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
      if (notches == 0) break;
      m.kind = PlatMessageKind::kMouseWheel;
      m.window = e.wheel.windowID;
      m.wheel = notches * 120;
      PushAtPointer(m);
      break;
    }
    case SDL_WINDOWEVENT:
      ConvertWindowEvent(e.window);
      break;
    case SDL_DROPFILE:
      if (e.drop.file) {
        m.kind = PlatMessageKind::kFileDrop;
        m.window = e.drop.windowID ? e.drop.windowID : plat_active_window();
        m.file = e.drop.file;
        SDL_free(e.drop.file);
        pending.push_back(m);
      }
      break;
    case SDL_QUIT:
      // Only comes when the system asks the whole program to end: the active window hears it.
      m.kind = PlatMessageKind::kClose;
      m.window = plat_active_window();
      pending.push_back(m);
      break;
    default:
      if (e.type == call_event_type.load(std::memory_order_relaxed) && e.type != 0) {
        auto* posted = static_cast<PostedCall*>(e.user.data1);
        m.kind = PlatMessageKind::kCall;
        m.call = posted->call;
        m.call_a = posted->a;
        m.call_b = posted->b;
        delete posted;
        pending.push_back(m);
      }
      break;
  }
}

}  // namespace

bool plat_events_init(const char** error) {
  if (SDL_WasInit(SDL_INIT_EVENTS) && call_event_type.load() != 0) return true;
  // The program handles its own signals, and a closed last window is a close request, not the
  // end of the program.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) {
    if (error) *error = SDL_GetError();
    return false;
  }
  if (call_event_type.load() == 0) {
    std::uint32_t type = SDL_RegisterEvents(1);
    if (type == static_cast<std::uint32_t>(-1)) {
      if (error) *error = "no event type left for cross-thread calls";
      return false;
    }
    call_event_type.store(type);
  }
  return true;
}

bool plat_peek_message(PlatMessage* message) {
  if (pending.empty() && plat_events_init()) {
    SDL_Event e;
    while (pending.empty() && SDL_PollEvent(&e)) Convert(e);
  }
  if (pending.empty()) return false;
  *message = pending.front();
  pending.pop_front();
  return true;
}

void plat_wait_message() {
  if (!plat_events_init()) return;
  SDL_Event e;
  while (pending.empty() && SDL_WaitEvent(&e)) Convert(e);
}

void plat_dispatch_message(const PlatMessage& message) {
  PlatWindowRecord* record = plat_window_record(message.window);
  if (record && record->procedure) record->procedure(message, record->user);
}

bool plat_post_call(PlatCallFunc call, void* a, std::intptr_t b) {
  std::uint32_t type = call_event_type.load();
  if (type == 0) return false;
  SDL_Event e = {};
  e.type = type;
  e.user.data1 = new PostedCall{call, a, b};
  if (SDL_PushEvent(&e) == 1) return true;
  delete static_cast<PostedCall*>(e.user.data1);
  return false;
}

bool plat_key_held(int vkey) {
  switch (vkey) {
    case 16:
      return held[160] || held[161];
    case 17:
      return held[162] || held[163];
    case 18:
      return held[164] || held[165];
    default:
      return vkey > 0 && vkey < 256 && held[vkey];
  }
}
