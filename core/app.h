// app.h - the program's start and end.
//
// RunApplication wraps a program's main: it records where the executable lives, makes that folder
// the current one (so "data/..." resolves beside the program), and turns anything that would end
// the program silently into a message on stderr and a non-zero exit code:
//   - an uncaught runtime error prints its message;
//   - a processor fault prints "Unhandled Memory Exception Error";
//   - a signal asking the program to end prints "Received Signal".
// It also keeps freed memory in the process for reuse (platform/memory.h), so that the drawing's
// buffers are not faulted in afresh every frame. Cleanups registered with OnAbnormalEnd run on
// those last two paths too (the graphics layer puts the desktop display mode back there), besides
// the usual std::atexit functions on a normal end.
//
//   int main(int argc, char** argv) { return RunApplication(argc, argv, GameMain); }
#pragma once

#include <string>

int RunApplication(int argc, char** argv, int (*body)());

// The executable's full path and its folder (without a trailing "/").
const std::string& AppFile();
const std::string& AppDir();

// Adds a function to run when the program ends on a fault or a signal. It must be safe to call
// at any point of the program and at most once; the last added runs first.
void OnAbnormalEnd(void (*cleanup)());

// Records the executable's location and makes its folder current; RunApplication calls it.
void EnterAppDir(const char* argv0);
