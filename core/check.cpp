// check.cpp - what a broken rule does: one line on stderr, then abort.
#include "core/check.h"

#include <cstdio>
#include <cstdlib>

void BreakRule(const char* rule, const char* file, int line, const char* function) {
  std::fprintf(stderr, "broken rule: %s\n  at %s:%d, in %s\n", rule, file, line, function);
  std::fflush(stderr);
  std::abort();
}
