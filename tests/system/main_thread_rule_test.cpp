// The main-thread rule: the thread that started the system is the main thread; the event pump,
// polled input and hooks refuse any other thread by aborting with the rule's name.
#include <gtest/gtest.h>

#include <thread>

#include "core/main_thread.h"
#include "system/hook.h"
#include "system/polled_input.h"
#include "system/system_driver.h"
#include "tests/game/sanitizer.h"

namespace {

// Runs `call` on a thread of its own and waits for it.
template <typename F>
void OnOtherThread(F call) {
  std::thread other(call);
  other.join();
}

TEST(MainThreadRule, TheThreadThatStartedTheSystemIsTheMainOneAndNoOtherIs) {
  StartSystem();
  EXPECT_TRUE(OnMainThread());
  bool other_is_main = true;
  OnOtherThread([&other_is_main] { other_is_main = OnMainThread(); });
  EXPECT_FALSE(other_is_main);
  EXPECT_TRUE(OnMainThread());  // asking from another thread claimed nothing
  PumpEvents();                 // the main thread passes the checks
  EXPECT_EQ(KeyHits(65), 0);
}

class MainThreadRuleDeathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (kThreadSanitizer) GTEST_SKIP() << "death tests fork, which the thread sanitizer dislikes";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
  }
};

TEST_F(MainThreadRuleDeathTest, PumpingEventsFromAnotherThreadAborts) {
  EXPECT_DEATH(
      {
        StartSystem();
        OnOtherThread([] { PumpEvents(); });
      },
      "broken rule: main thread only\n  at .*system_driver\\.cpp:[0-9]+, in PumpEvents");
}

TEST_F(MainThreadRuleDeathTest, ReadingKeysFromAnotherThreadAborts) {
  EXPECT_DEATH(
      {
        StartSystem();
        StartPolledInput(nullptr);
        OnOtherThread([] { KeyHits(65); });
      },
      "broken rule: main thread only\n  at .*polled_input\\.cpp:[0-9]+, in KeyHits");
}

TEST_F(MainThreadRuleDeathTest, CallingHooksFromAnotherThreadAborts) {
  EXPECT_DEATH(
      {
        StartSystem();
        const int id = NewHookId();
        OnOtherThread([id] { CallHooks(id, nullptr); });
      },
      "broken rule: main thread only\n  at .*hook\\.cpp:[0-9]+, in CallHooks");
}

}  // namespace
