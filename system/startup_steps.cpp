// startup_steps.cpp - the list of start-up marks.
#include "system/startup_steps.h"

#include "system/clock.h"

namespace {

// A start-up has a dozen steps; the bound keeps a step noted in a loop from growing the list.
constexpr std::size_t kMaxSteps = 64;

std::vector<StartupStep>& Steps() {
  static std::vector<StartupStep> steps;
  return steps;
}

}  // namespace

void NoteStartupStep(const char* name) {
  if (Steps().size() < kMaxSteps) Steps().push_back({name, MicrosSinceLaunch()});
}

const std::vector<StartupStep>& StartupSteps() { return Steps(); }
