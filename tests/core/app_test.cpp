// Program start-up: the main thread, the handlers and the exit, and the errors it reports.
#include "core/app.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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
// The signal asks the program to close; the body goes on to its own end.
int Interrupted() {
  ::raise(SIGTERM);
  std::fprintf(stderr, "asked to close by %d\n", EndSignalCaught());
  return 0;
}
// A second signal while the first one's end is under way.
int InterruptedTwice() {
  ::raise(SIGHUP);
  ::raise(SIGINT);
  std::_Exit(7);  // not reached when the second signal ends the process
}
// A body that never ends by itself after the signal.
int StuckAfterTheSignal() {
  ::raise(SIGINT);
  for (int i = 0; i < 5; ++i) ::sleep(kEndSignalGraceSeconds + 1);
  std::_Exit(7);
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
}

TEST(App, AnEndSignalEndsTheRunThroughItsOwnEndWithTheSignalsStatus) {
  EXPECT_EXIT(std::exit(RunApplication(1, argv, Interrupted)),
              ::testing::ExitedWithCode(128 + SIGTERM),
              "Received Signal\nasked to close by " + std::to_string(SIGTERM));
  // A second one, or the grace period running out, ends it at once with the first one's status.
  EXPECT_EXIT(
      {
        OnAbnormalEnd(SayGoodbye);
        RunApplication(1, argv, InterruptedTwice);
      },
      ::testing::ExitedWithCode(128 + SIGHUP), "Received Signal\ncleanup ran");
  EXPECT_EXIT(RunApplication(1, argv, StuckAfterTheSignal), ::testing::ExitedWithCode(128 + SIGINT),
              "Received Signal");
}

TEST(App, TheProgramsFolderBecomesCurrent) {
  EXPECT_EXIT(std::exit(RunApplication(1, argv, ReportsFolder)), ::testing::ExitedWithCode(0),
              "cwd=/");
}

}  // namespace

// How the program ends when its body throws something that is not an error object.

namespace {

int ThrowsAnInt() { throw 42; }

TEST(AppErrors, AnythingThrownThatIsNotAnErrorEndsTheProgramWithUnknownError) {
  // No arguments at all: the program's folder still comes from the running executable.
  EXPECT_EXIT(std::exit(RunApplication(0, nullptr, ThrowsAnInt)), ::testing::ExitedWithCode(1),
              "Unknown error");
}

}  // namespace
