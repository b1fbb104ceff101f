// How the program ends when its body throws something that is not an error object.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/app.h"

namespace {

int ThrowsAnInt() { throw 42; }

TEST(AppErrors, AnythingThrownThatIsNotAnErrorEndsTheProgramWithUnknownError) {
  // No arguments at all: the program's folder still comes from the running executable.
  EXPECT_EXIT(std::exit(RunApplication(0, nullptr, ThrowsAnInt)), ::testing::ExitedWithCode(1),
              "Unknown error");
}

}  // namespace
