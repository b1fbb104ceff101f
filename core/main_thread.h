// main_thread.h - which thread is the program's main thread, and the rule that names it.
//
// The main thread owns the windows, the graphics, the event stream and the polled input: it is
// the first thread that claims it (RunApplication and StartSystem do), or, when neither has run,
// the first thread that reaches an entry point checking the rule. Entry points documented as
// "main thread only" begin with ZX_CHECK_MAIN_THREAD(), which costs a thread-id compare.
#pragma once

#include "core/check.h"

// Makes the calling thread the main thread unless one is already known. Any thread.
void ClaimMainThread();
// Whether the caller is the main thread (claiming it for the caller when none is known). Any
// thread.
bool OnMainThread();

#define ZX_CHECK_MAIN_THREAD() ZX_CHECK(OnMainThread(), "main thread only")
