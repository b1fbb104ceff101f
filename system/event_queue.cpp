// event_queue.cpp - the ring of waiting events and its hook.
#include "system/event_queue.h"

#include "system/hook.h"
#include "system/system_driver.h"

namespace {

Ref<TEvent> ring[kEventQueueSize];
int put = 0;
int get = 0;
bool listening = false;

bool UpdatesInPlace(int id) {
  return id == EVENT_TIMERTICK || id == EVENT_GADGETACTION || id == EVENT_WINDOWMOVE ||
         id == EVENT_WINDOWSIZE;
}

TObject* Keep(int, TObject* data, TObject*) {
  auto* event = dynamic_cast<TEvent*>(data);
  if (!event) return data;
  if (UpdatesInPlace(event->id)) {
    for (int i = get; i != put; ++i) {
      TEvent* waiting = ring[i % kEventQueueSize].get();
      if (waiting->id == event->id && waiting->source == event->source) {
        waiting->data = event->data;
        waiting->mods = event->mods;
        waiting->x = event->x;
        waiting->y = event->y;
        waiting->extra = event->extra;
        return data;
      }
    }
  }
  if (put - get < kEventQueueSize) ring[put++ % kEventQueueSize] = event;
  return data;
}

Ref<TEvent> Take() {
  if (get == put) return nullptr;
  Ref<TEvent> event = std::move(ring[get % kEventQueueSize]);
  ++get;
  if (get == put) get = put = 0;
  return event;
}

}  // namespace

void StartEventQueue() {
  if (listening) return;
  listening = true;
  AttachHook(eventEmitHook, Keep, nullptr, -10000);
}

int QueuedEventCount() { return put - get; }

Ref<TEvent> PollEvent() {
  if (get == put) PumpEvents();
  return Take();
}

Ref<TEvent> WaitEvent() {
  while (get == put) {
    if (InsidePump()) return nullptr;
    AwaitEvents();
  }
  return Take();
}
