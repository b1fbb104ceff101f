// event.cpp - emitting events and naming them.
#include "system/event.h"

#include "system/hook.h"

namespace {

const char* const kAppNames[] = {"AppSuspend", "AppResume", "AppTerminate", "AppOpenFile",
                                 "AppIdle"};
const char* const kKeyNames[] = {"KeyDown", "KeyUp", "KeyChar", "KeyRepeat"};
const char* const kMouseNames[] = {"MouseDown",  "MouseUp",    "MouseMove",
                                   "MouseWheel", "MouseEnter", "MouseLeave"};
const char* const kGadgetNames[] = {"GadgetAction", "GadgetPaint",     "GadgetSelect",
                                    "GadgetMenu",   "GadgetOpen",      "GadgetClose",
                                    "GadgetDone",   "GadgetLostFocus", "GadgetShape"};
const char* const kWindowNames[] = {"WindowMove", "WindowSize", "WindowClose", "WindowActivate",
                                    "WindowAccept"};

constexpr std::uint32_t kUserBit = 0x80000000u;
std::uint32_t last_user_id = kUserBit;

template <std::size_t N>
const char* Lookup(const char* const (&names)[N], int id, int first) {
  return id >= first && id < first + static_cast<int>(N) ? names[id - first] : nullptr;
}

}  // namespace

std::string EventName(int id) {
  if (static_cast<std::uint32_t>(id) & kUserBit) {
    return "UserEvent" + std::to_string(static_cast<std::uint32_t>(id) - kUserBit);
  }
  for (const char* name :
       {Lookup(kAppNames, id, EVENT_APPSUSPEND), Lookup(kKeyNames, id, EVENT_KEYDOWN),
        Lookup(kMouseNames, id, EVENT_MOUSEDOWN), Lookup(kGadgetNames, id, EVENT_GADGETACTION),
        Lookup(kWindowNames, id, EVENT_WINDOWMOVE)}) {
    if (name) return name;
  }
  switch (id) {
    case EVENT_TIMERTICK:
      return "TimerTick";
    case EVENT_MENUACTION:
      return "MenuAction";
    case EVENT_STREAMEOF:
      return "StreamEof";
    case EVENT_STREAMAVAIL:
      return "StreamAvail";
    case EVENT_PROCESSEXIT:
      return "ProcessExit";
    default:
      return "Unknown Event, id=" + std::to_string(id);
  }
}

void TEvent::Emit() { CallHooks(eventEmitHook, this); }

std::string TEvent::ToString() const {
  const auto* text = dynamic_cast<const TStringObject*>(extra.get());
  return EventName(id) + ": data=" + std::to_string(data) + ", mods=" + std::to_string(mods) +
         ", x=" + std::to_string(x) + ", y=" + std::to_string(y) + ", extra=\"" +
         (text ? text->text : std::string()) + "\"";
}

Ref<TEvent> TEvent::Create(int id, TObject* source, int data, int mods, int x, int y,
                           TObject* extra) {
  Ref<TEvent> event = New<TEvent>();
  event->id = id;
  event->source = source;
  event->data = data;
  event->mods = mods;
  event->x = x;
  event->y = y;
  event->extra = extra;
  return event;
}

int TEvent::AllocUserId() { return static_cast<int>(++last_user_id); }
