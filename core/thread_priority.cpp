// thread_priority.cpp - the idle scheduling class for the calling thread.
#include "core/thread_priority.h"

#include <pthread.h>
#include <sched.h>

void LowerToIdlePriority() {
  sched_param none{};
  pthread_setschedparam(pthread_self(), SCHED_IDLE, &none);
}
