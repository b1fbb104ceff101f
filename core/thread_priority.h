// thread_priority.h - a thread that runs only when nothing else wants the processor, for work
// that is far ahead of its need (decoding music ahead of the play position). Needs POSIX threads.
#pragma once

// Lowers the calling thread to the idle priority (SCHED_IDLE); where that is refused, the thread
// runs on at its priority. Any thread, for itself.
void LowerToIdlePriority();
