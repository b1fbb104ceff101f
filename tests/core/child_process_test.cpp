// A program run beside the test: its output read as it comes, its exit status, and a stop.
#include "core/child_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

// Reads until the child ends; its output and status.
std::string RunToEnd(ChildProcess& child, int* status) {
  std::string output;
  while (!child.Ended(status)) {
    output += child.ReadOutput();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return output + child.ReadOutput();
}

TEST(ChildProcess, ItsOutputAndStatusComeBackAndAStopEndsIt) {
  ChildProcess said;
  ASSERT_TRUE(said.Start({"/bin/sh", "-c", "echo out; echo err >&2; exit 3"}));
  int status = -1;
  EXPECT_EQ(RunToEnd(said, &status), "out\nerr\n");
  EXPECT_EQ(status, 3);

  ChildProcess sleeper;
  ASSERT_TRUE(sleeper.Start({"/bin/sh", "-c", "exec sleep 30"}));
  EXPECT_FALSE(sleeper.Ended(&status));
  sleeper.Stop();
  RunToEnd(sleeper, &status);
  EXPECT_EQ(status, 128 + 15);

  ChildProcess missing;
  ASSERT_TRUE(missing.Start({"/nonexistent/program"}));
  RunToEnd(missing, &status);
  EXPECT_EQ(status, 127);
}

}  // namespace
