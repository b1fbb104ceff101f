// check.h - rules checked in code. ZX_CHECK(condition, rule) states a rule the code relies on;
// when the condition is false the program writes the rule and where it broke (file:line and
// function) to stderr and aborts.
//
// The checks are on in every build. The benchmarks compile their own code with ZX_CHECKS_OFF,
// but they link the very libraries the game links, so the checks inside those stay on there too:
// each is a comparison (a thread id, a pointer), cheap beside the work it guards.
// Needs nothing but the C library.
#pragma once

// Writes "broken rule: <rule>" and the place to stderr, then aborts. Any thread.
[[noreturn]] void BreakRule(const char* rule, const char* file, int line, const char* function);

#ifdef ZX_CHECKS_OFF
#define ZX_CHECK(condition, rule) static_cast<void>(sizeof((condition) ? 1 : 0))
#else
#define ZX_CHECK(condition, rule) \
  ((condition) ? static_cast<void>(0) : BreakRule(rule, __FILE__, __LINE__, __func__))
#endif
