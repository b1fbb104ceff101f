// startup_steps.h - when each step of the program's start-up finished, for the start-up breakdown.
//
// Start-up code marks the end of each step (the display connection, the window and its context,
// the display probe, the sprite sheet, the sounds, ...) with a name. A mark is one clock reading
// and a push into a small list, so the marks stay in every build; the frame log writes them out.
// Main thread only.
#pragma once

#include <cstdint>
#include <vector>

struct StartupStep {
  const char* name;       // a string literal
  std::int64_t since_us;  // real microseconds since the program was launched
};

// Notes that the step `name` (a string literal) has just finished.
void NoteStartupStep(const char* name);
// Every step noted so far, oldest first.
const std::vector<StartupStep>& StartupSteps();
