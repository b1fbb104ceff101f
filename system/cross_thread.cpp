// cross_thread.cpp - calls ride the platform's message stream; the driver's pump runs them.
#include "system/cross_thread.h"

#include "platform/events.h"

bool PostMainThreadCall(TMainThreadCall func, void* a, std::intptr_t b) {
  return func && plat_post_call(func, a, b);
}
