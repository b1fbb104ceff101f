// event.h - TEvent, the record of something that happened, and the chain it is emitted through.
//
// Emitting an event runs the hook chain eventEmitHook with the event as data: polled input, the
// event queue and any other listener are hooks on that chain. Events from the window system have
// no source; a timer's ticks carry the timer as source.
//
//   TEvent::Create(EVENT_KEYDOWN, nullptr, 32, 0, 0, 0)->Emit();
#pragma once

#include <cstdint>
#include <string>

#include "core/object.h"

// The chain every event is emitted through; it is hook id 0.
inline constexpr int eventEmitHook = 0;

enum : int {
  EVENT_APPSUSPEND = 257,
  EVENT_APPRESUME = 258,
  EVENT_APPTERMINATE = 259,
  EVENT_APPOPENFILE = 260,
  EVENT_APPIDLE = 261,
  EVENT_KEYDOWN = 513,
  EVENT_KEYUP = 514,
  EVENT_KEYCHAR = 515,
  EVENT_KEYREPEAT = 516,
  EVENT_MOUSEDOWN = 1025,
  EVENT_MOUSEUP = 1026,
  EVENT_MOUSEMOVE = 1027,
  EVENT_MOUSEWHEEL = 1028,
  EVENT_MOUSEENTER = 1029,
  EVENT_MOUSELEAVE = 1030,
  EVENT_TIMERTICK = 2049,
  EVENT_GADGETACTION = 8193,
  EVENT_GADGETSHAPE = 8201,
  EVENT_WINDOWMOVE = 16385,
  EVENT_WINDOWSIZE = 16386,
  EVENT_WINDOWCLOSE = 16387,
  EVENT_WINDOWACTIVATE = 16388,
  EVENT_WINDOWACCEPT = 16389,
  EVENT_MENUACTION = 32769,
  EVENT_STREAMEOF = 65537,
  EVENT_STREAMAVAIL = 65538,
  EVENT_PROCESSEXIT = 131073,
};

// Modifier bits in TEvent::mods.
enum : int { MODIFIER_SHIFT = 1, MODIFIER_CONTROL = 2, MODIFIER_OPTION = 4, MODIFIER_SYSTEM = 8 };

class TEvent : public TObject {
 public:
  int id = 0;
  Ref<TObject> source;
  int data = 0;  // key code, character, button, wheel steps or tick count
  int mods = 0;
  int x = 0, y = 0;  // pointer position in client coordinates, where it means something
  Ref<TObject> extra;

  // Runs eventEmitHook with this event as data.
  void Emit();

  // "KeyDown: data=32, mods=0, x=0, y=0, extra=\"\"" (the extra text only when it is a string).
  std::string ToString() const override;

  static Ref<TEvent> Create(int id, TObject* source, int data, int mods, int x, int y,
                            TObject* extra = nullptr);

  // User event ids have the top bit set: 0x80000001 first, one more at each call.
  static int AllocUserId();
};

// An event's name as ToString writes it.
std::string EventName(int id);

// A text wrapped as an object, for an event's extra payload.
class TStringObject : public TObject {
 public:
  explicit TStringObject(std::string text) : text(std::move(text)) {}
  std::string ToString() const override { return text; }

  std::string text;
};
