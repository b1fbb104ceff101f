// Waiting for a key, a character or a button: input from before the wait is forgotten, and the
// wait ends with the first hit that arrives while it waits.
#include <chrono>
#include <cstdint>
#include <thread>

#include "system/cross_thread.h"
#include "system_fixture.h"

namespace {

using AwaitInput = SystemWindowTest;

enum class Arrival { kKey, kText, kButton };

// On the main thread, inside the waiting pump: the input arrives.
void Arrive(void* test_window, std::intptr_t kind) {
  const auto window = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(test_window));
  switch (static_cast<Arrival>(kind)) {
    case Arrival::kKey:
      plat_inject_key(window, 66, true);
      plat_inject_key(window, 66, false);
      break;
    case Arrival::kText:
      plat_inject_text(window, "q");
      break;
    case Arrival::kButton:
      plat_inject_mouse_button(window, 2, true);
      plat_inject_mouse_button(window, 2, false);
      break;
  }
}

// Has the input arrive a little after the wait began, from another thread.
std::thread ArriveSoon(std::uint32_t window, Arrival kind) {
  return std::thread([window, kind] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    PostMainThreadCall(Arrive, reinterpret_cast<void*>(static_cast<std::uintptr_t>(window)),
                       static_cast<std::intptr_t>(kind));
  });
}

TEST_F(AwaitInput, AwaitKeyForgetsEarlierKeysAndAnswersTheNextHit) {
  Press(65);  // before the wait: forgotten
  std::thread later = ArriveSoon(window, Arrival::kKey);
  EXPECT_EQ(AwaitKey(), 66);
  later.join();
}

TEST_F(AwaitInput, AwaitCharForgetsEarlierTextAndAnswersTheNextCharacter) {
  plat_inject_text(window, "a");
  std::thread later = ArriveSoon(window, Arrival::kText);
  EXPECT_EQ(AwaitChar(), 'q');
  later.join();
}

TEST_F(AwaitInput, AwaitMouseForgetsEarlierClicksAndAnswersTheNextButton) {
  plat_inject_mouse_button(window, 1, true);
  plat_inject_mouse_button(window, 1, false);
  std::thread later = ArriveSoon(window, Arrival::kButton);
  EXPECT_EQ(AwaitMouse(), 2);
  later.join();
}

}  // namespace
