// cross_thread.h - running a function on the main thread from any other thread.
//
// The call is queued in the main thread's message stream and runs inside the next pump
// (PumpEvents, AwaitEvents, or any polled-input query), in the order calls were posted from one
// thread. A thread blocked in AwaitEvents wakes for it. This is the only part of the system layer
// other threads may touch.
#pragma once

#include <cstdint>

using TMainThreadCall = void (*)(void* a, std::intptr_t b);

// Queues func(a, b). False when the call cannot be queued and will not run: the system has not
// been started (StartSystem, on the main thread) or the queue is full.
bool PostMainThreadCall(TMainThreadCall func, void* a, std::intptr_t b);
