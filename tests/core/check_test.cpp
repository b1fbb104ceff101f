// Rule checks: a kept rule costs nothing visible, a broken one names the rule and its place on
// stderr and aborts.
#include <gtest/gtest.h>

#include "core/check.h"
#include "tests/game/sanitizer.h"

namespace {

int checked_calls = 0;

int CountedTruth() {
  ++checked_calls;
  return 1;
}

TEST(RuleCheck, AKeptRuleEvaluatesItsConditionOnceAndGoesOn) {
  checked_calls = 0;
  ZX_CHECK(CountedTruth() == 1, "the condition holds");
  EXPECT_EQ(checked_calls, 1);
}

void BreakArithmetic(int two) { ZX_CHECK(two + two == 5, "two and two make five"); }

TEST(RuleCheckDeathTest, ABrokenRuleNamesTheRuleFileLineAndFunctionThenAborts) {
  if (kThreadSanitizer) GTEST_SKIP() << "death tests fork, which the thread sanitizer dislikes";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(BreakArithmetic(2),
               "broken rule: two and two make five\n  at .*check_test\\.cpp:[0-9]+, in "
               "BreakArithmetic");
}

}  // namespace
