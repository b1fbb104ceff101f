#include "core/app.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/error.h"

namespace {

char arg0[] = "test_core";
char* argv[] = {arg0, nullptr};

int Throws() { RuntimeError("Image not found"); }
int Faults() {
  ::raise(SIGSEGV);
  return 0;
}
int Interrupted() {
  ::raise(SIGTERM);
  return 0;
}
int ReportsFolder() {
  char cwd[4096];
  if (!::getcwd(cwd, sizeof cwd)) return 2;
  std::fprintf(stderr, "cwd=%s\n", cwd);
  return std::string(cwd) == AppDir() ? 0 : 3;
}

void SayGoodbye() {
  // Checked writes (fortified builds) must not have their result dropped.
  ssize_t written = ::write(2, "cleanup ran\n", 12);
  (void)written;
}

TEST(App, UncaughtRuntimeErrorPrintsItsMessage) {
  EXPECT_EXIT(RunApplication(1, argv, Throws) == 0 ? std::exit(0) : std::exit(1),
              ::testing::ExitedWithCode(1), "Image not found");
}

TEST(App, FaultsAndSignalsEndWithTheirMessage) {
  EXPECT_EXIT(
      {
        OnAbnormalEnd(SayGoodbye);
        RunApplication(1, argv, Faults);
      },
      ::testing::ExitedWithCode(128 + SIGSEGV), "Unhandled Memory Exception Error\ncleanup ran");
  EXPECT_EXIT(RunApplication(1, argv, Interrupted), ::testing::ExitedWithCode(128 + SIGTERM),
              "Received Signal");
}

TEST(App, TheProgramsFolderBecomesCurrent) {
  EXPECT_EXIT(std::exit(RunApplication(1, argv, ReportsFolder)), ::testing::ExitedWithCode(0),
              "cwd=/");
}

}  // namespace
