// Polled keyboard and mouse, driven by input injected into SDL's queue.
#include "system/polled_input.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "system/event.h"
#include "system/hook.h"
#include "system/input_seam.h"
#include "system_fixture.h"

using PolledInputTest = SystemWindowTest;

TEST_F(PolledInputTest, KeyHitsCountPressesOnceAndAreConsumedByTheQuery) {
  Press(32);
  EXPECT_EQ(KeyHits(32), 1);
  EXPECT_EQ(KeyHits(32), 0);

  // Held with auto-repeat: still one hit, and the key reads as down until released.
  plat_inject_key(window, 32, true);
  for (int i = 0; i < 5; ++i) plat_inject_key(window, 32, true, /*repeat=*/true);
  plat_inject_key(window, 32, true);  // a second press without a release between
  EXPECT_EQ(KeyHits(32), 1);
  EXPECT_EQ(IsKeyDown(32), 1);
  plat_inject_key(window, 32, false);
  EXPECT_EQ(IsKeyDown(32), 0);
  EXPECT_EQ(KeyHits(32), 0);

  // Two presses between two queries.
  Press(32);
  Press(32);
  EXPECT_EQ(KeyHits(32), 2);
  EXPECT_EQ(KeyHits(32), 0);
  // Out-of-range codes read as nothing rather than outside the tables.
  EXPECT_EQ(KeyHits(-1), 0);
  EXPECT_EQ(IsKeyDown(256), 0);
}

TEST_F(PolledInputTest, ModifiersReadBySideNeverAsTheGenericCode) {
  plat_inject_key(window, 162, true);  // left Control
  EXPECT_EQ(IsKeyDown(162), 1);
  EXPECT_EQ(IsKeyDown(17), 0);
  EXPECT_EQ(IsKeyDown(163), 0);
  plat_inject_key(window, 164, true);  // left Alt
  plat_inject_key(window, 163, true);  // right Control
  EXPECT_EQ(KeyHits(164), 1);
  EXPECT_EQ(KeyHits(163), 1);
  EXPECT_EQ(KeyHits(18), 0);
  plat_inject_key(window, 165, true);
  plat_inject_key(window, 161, true);
  plat_inject_key(window, 160, true);
  EXPECT_EQ(KeyHits(165), 1);
  EXPECT_EQ(KeyHits(161), 1);
  EXPECT_EQ(KeyHits(160), 1);
  EXPECT_EQ(KeyHits(16), 0);
}

TEST_F(PolledInputTest, SuspendAndResumeForgetEverything) {
  plat_inject_key(window, 'A', true);
  Press(27);
  plat_inject_text(window, "x");
  plat_inject_mouse_button(window, 1, true);
  plat_inject_wheel(window, 3);
  plat_inject_focus(window, false);
  EXPECT_EQ(IsAppSuspended(), 1);
  EXPECT_EQ(IsKeyDown('A'), 0);
  EXPECT_EQ(KeyHits(27), 0);
  EXPECT_EQ(NextChar(), 0);
  EXPECT_EQ(IsMouseDown(1), 0);
  EXPECT_EQ(MouseHits(1), 0);
  EXPECT_EQ(WheelTotal(), 0);

  // Presses made in the background are forgotten on the way back too.
  Press(32);
  plat_inject_focus(window, true);
  EXPECT_EQ(IsAppSuspended(), 0);
  EXPECT_EQ(KeyHits(32), 0);
}

TEST_F(PolledInputTest, CloseRequestAnswersOncePerRequest) {
  EXPECT_EQ(AppCloseRequested(), 0);
  plat_inject_close(window);
  EXPECT_EQ(AppCloseRequested(), 1);
  EXPECT_EQ(AppCloseRequested(), 0);
  plat_inject_close(window);
  EXPECT_EQ(AppCloseRequested(), 1);
}

TEST_F(PolledInputTest, MouseButtonsPositionAndWheel) {
  plat_inject_mouse_move(window, 100, 50);
  EXPECT_EQ(MousePosX(), 100);
  EXPECT_EQ(MousePosY(), 50);

  plat_inject_mouse_button(window, 2, true);  // right
  plat_inject_mouse_button(window, 2, false);
  plat_inject_mouse_button(window, 2, true);
  EXPECT_EQ(MouseHits(2), 2);
  EXPECT_EQ(MouseHits(1), 0);
  EXPECT_EQ(IsMouseDown(2), 1);
  plat_inject_mouse_button(window, 3, true);  // middle
  EXPECT_EQ(MouseHits(3), 1);

  plat_inject_wheel(window, 1);
  EXPECT_EQ(WheelTotal(), 1);
  plat_inject_wheel(window, -1);
  plat_inject_wheel(window, -1);
  EXPECT_EQ(WheelTotal(), -1);

  ClearMouse();
  EXPECT_EQ(IsMouseDown(2), 0);
  EXPECT_EQ(WheelTotal(), 0);
  EXPECT_EQ(MousePosX(), 100);  // the position stays
}

TEST_F(PolledInputTest, CharactersQueueInOrderAndTheRingDropsTheOverflow) {
  plat_inject_text(window, "h\xC3\xA9\xE2\x82\xAC");  // h, e acute, euro sign
  Press(13);                                          // Enter types a carriage return
  EXPECT_EQ(NextChar(), 'h');
  EXPECT_EQ(NextChar(), 0xE9);
  EXPECT_EQ(NextChar(), 0x20AC);
  EXPECT_EQ(NextChar(), 13);
  EXPECT_EQ(NextChar(), 0);

  for (int i = 0; i < 257; ++i) plat_inject_text(window, i == 256 ? "z" : "a");
  int read = 0;
  int last = 0;
  while (int c = NextChar()) ++read, last = c;
  EXPECT_EQ(read, 256);
  EXPECT_EQ(last, 'a');
}

TEST_F(PolledInputTest, ASourceFilterTakesOnlyThatSourcesEvents) {
  StopPolledInput();
  Ref<TObject> mine = New<TObject>();
  StartPolledInput(mine.get());
  Press(32);  // the translating window procedure gives no source
  EXPECT_EQ(KeyHits(32), 0);
  TEvent::Create(EVENT_KEYDOWN, mine.get(), 32, 0, 0, 0)->Emit();
  EXPECT_EQ(KeyHits(32), 1);
}

// A press a window used for its own shortcut is no hit, while the key stays held, and a replay
// of the recording takes it back at the same point.
TEST_F(PolledInputTest, TakenBackPressesAreNoHitsAndReplayTheSame) {
  std::vector<std::pair<std::uint64_t, InputEventRecord>> recorded;
  SetInputRecorder(
      {[&](std::uint64_t stamp, const InputEventRecord& e) { recorded.emplace_back(stamp, e); },
       nullptr});
  plat_inject_key(window, 164, true);  // left Alt
  PumpEvents();
  TakeBackKeyHits(164);
  EXPECT_EQ(KeyHits(164), 0);
  EXPECT_EQ(IsKeyDown(164), 1);
  plat_inject_key(window, 164, false);
  Press(164);  // a later press counts again
  EXPECT_EQ(KeyHits(164), 1);
  ClearInputSeam();

  ClearKeys();
  std::size_t next = 0;
  const std::uint64_t start = InputPumpPoints() - recorded.front().first;
  SetInputReplayer({[&](std::uint64_t stamp) {
                      while (next < recorded.size() && recorded[next].first + start <= stamp) {
                        ApplyInputEvent(recorded[next++].second);
                      }
                    },
                    nullptr, nullptr});
  EXPECT_EQ(KeyHits(164), 0);
  EXPECT_EQ(IsKeyDown(164), 1);
  EXPECT_EQ(KeyHits(164), 1);
  ClearInputSeam();
}

namespace {
int awaited = -1;
TObject* AwaitInsideHook(int, TObject* data, TObject*) {
  auto* event = dynamic_cast<TEvent*>(data);
  if (event && event->id == EVENT_KEYDOWN) awaited = AwaitKey() + AwaitChar() + AwaitMouse();
  return data;
}
}  // namespace

// Waiting from inside a pump could never end: the waits give up at once instead of hanging.
TEST_F(PolledInputTest, WaitingForInputInsideAPumpAnswersZero) {
  AttachHook(eventEmitHook, AwaitInsideHook);
  Press(32);
  PumpEvents();
  DetachHook(eventEmitHook, AwaitInsideHook);
  EXPECT_EQ(awaited, 0);
}
