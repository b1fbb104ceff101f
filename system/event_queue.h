// event_queue.h - emitted events kept for programs that read them one by one.
//
// The queue listens at the very end of the event chain (priority -10000, after every other
// hook) and keeps up to 256 events; further events are dropped until some are read. A tick,
// gadget action, window move or window size event from the same source as one still waiting
// updates that one instead of queueing again, so a slow reader sees the latest values and not
// a backlog. Programs that never read (the game) just find it full.
//
// The queue is listening once the system has started (StartSystem, system_driver.h).
#pragma once

#include "core/object.h"
#include "system/event.h"

constexpr int kEventQueueSize = 256;

// The oldest waiting event; pumps once when none waits. Null when there is still none.
Ref<TEvent> PollEvent();

// The oldest waiting event, waiting for one to arrive if need be. Null only when called from
// inside a pump, where waiting could never end.
Ref<TEvent> WaitEvent();

// How many events wait.
int QueuedEventCount();

// Starts listening (StartSystem does this).
void StartEventQueue();
