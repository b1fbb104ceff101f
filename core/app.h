// app.h - the program's start and end.
//
// RunApplication wraps a program's main: it records where the executable lives, makes that folder
// the current one (so "data/..." resolves beside the program), and turns anything that would end
// the program silently into a message on stderr and a non-zero exit code:
//   - an uncaught runtime error prints its message;
//   - a processor fault prints "Unhandled Memory Exception Error" and ends at once;
//   - a signal asking the program to end (SIGINT, SIGTERM, SIGHUP, SIGQUIT: Ctrl+C, a logout)
//     prints "Received Signal" and asks the program to close, as the window's close button does:
//     the handler only notes the signal (EndSignalCaught), the frame loops read it where they
//     read a close request, and the program ends through its usual exit, saving what it saves
//     there. RunApplication then returns 128 + the signal. A second such signal, or no end
//     within kEndSignalGraceSeconds, ends the process at once with that status.
// It also keeps freed memory in the process for reuse (platform/memory.h), so that the drawing's
// buffers are not faulted in afresh every frame. Cleanups registered with OnAbnormalEnd run on
// the paths that end at once (the graphics layer puts the desktop display mode back there),
// besides the usual std::atexit functions on a normal end.
//
//   int main(int argc, char** argv) { return RunApplication(argc, argv, GameMain); }
#pragma once

#include <string>

// How long an end signal leaves the program to end by itself.
inline constexpr int kEndSignalGraceSeconds = 2;

int RunApplication(int argc, char** argv, int (*body)());

// The executable's full path and its folder (without a trailing "/").
const std::string& AppFile();
const std::string& AppDir();

// Adds a function to run when the program ends on a fault or a signal. It must be safe to call
// at any point of the program and at most once; the last added runs first.
void OnAbnormalEnd(void (*cleanup)());

// The end signal received (SIGTERM, ...), 0 while none has come. Any thread, and signal handlers.
int EndSignalCaught();
// Whether stderr is a terminal (a progress line may then be rewritten in place). Any thread.
bool ErrorsGoToTerminal();

// Names what to save when the display's connection breaks under the program: `save` runs once,
// on the calling thread (another thread meeting the break first waits for this one), must touch
// neither the display nor OpenGL, and answers whether everything was saved, which the one line on
// stderr then says; the process ends with status 1 without running exit-time functions (which
// would wait on the dead connection). Null saves nothing. Main thread.
void OnDisplayLost(bool (*save)());

// Records the executable's location and makes its folder current; RunApplication calls it.
void EnterAppDir(const char* argv0);
