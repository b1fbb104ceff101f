// The pump and the translator: what events a window's messages become.
#include <thread>
#include <vector>

#include "platform/cursor.h"
#include "system/cross_thread.h"
#include "system/event.h"
#include "system/hook.h"
#include "system_fixture.h"

namespace {

struct Seen {
  int id, data, mods, x, y;
};
std::vector<Seen> seen;

TObject* Record(int, TObject* data, TObject*) {
  if (auto* e = dynamic_cast<TEvent*>(data)) seen.push_back({e->id, e->data, e->mods, e->x, e->y});
  return data;
}

int CountOf(int id) {
  int n = 0;
  for (const Seen& s : seen) n += s.id == id;
  return n;
}

class EventPumpTest : public SystemWindowTest {
 protected:
  void SetUp() override {
    SystemWindowTest::SetUp();
    seen.clear();
    AttachHook(eventEmitHook, Record);
  }
  void TearDown() override {
    DetachHook(eventEmitHook, Record);
    SystemWindowTest::TearDown();
  }
  std::vector<Seen> Pumped() {
    seen.clear();
    PumpEvents();
    return seen;
  }
};

}  // namespace

TEST_F(EventPumpTest, KeysBecomeSidedCodesWithModifiersAndRepeats) {
  plat_inject_key(window, 163, true);  // right Control
  plat_inject_key(window, 164, true);  // left Alt
  plat_inject_key(window, 'A', true);
  plat_inject_key(window, 'A', true, true);
  plat_inject_key(window, 'A', false);
  plat_inject_key(window, 163, false);
  auto events = Pumped();
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[0].id, EVENT_KEYDOWN);
  EXPECT_EQ(events[0].data, 163);
  EXPECT_EQ(events[0].mods, MODIFIER_CONTROL);
  EXPECT_EQ(events[1].data, 164);
  EXPECT_EQ(events[1].mods, MODIFIER_CONTROL | MODIFIER_OPTION);
  EXPECT_EQ(events[2].id, EVENT_KEYDOWN);
  EXPECT_EQ(events[3].id, EVENT_KEYREPEAT);
  EXPECT_EQ(events[3].data, 'A');
  EXPECT_EQ(events[4].id, EVENT_KEYUP);
  EXPECT_EQ(events[5].id, EVENT_KEYUP);
  EXPECT_EQ(events[5].mods, MODIFIER_OPTION);
}

TEST_F(EventPumpTest, AppAndMouseMessagesBecomeTheirEvents) {
  plat_inject_mouse_move(window, 30, 40);
  plat_inject_wheel(window, 1);
  plat_inject_wheel(window, -1);
  plat_inject_mouse_button(window, 3, true);
  plat_inject_mouse_button(window, 3, false);
  plat_inject_focus(window, false);
  plat_inject_focus(window, true);
  plat_inject_close(window);
  auto events = Pumped();
  std::vector<std::vector<int>> got;
  for (const Seen& s : events) got.push_back({s.id, s.data, s.x, s.y});
  std::vector<std::vector<int>> want = {
      {EVENT_MOUSEENTER, 0, 30, 40},  {EVENT_MOUSEMOVE, 0, 30, 40}, {EVENT_MOUSEWHEEL, 1, 30, 40},
      {EVENT_MOUSEWHEEL, -1, 30, 40}, {EVENT_MOUSEDOWN, 3, 30, 40}, {EVENT_MOUSEUP, 3, 30, 40},
      {EVENT_APPSUSPEND, 0, 0, 0},    {EVENT_APPRESUME, 0, 0, 0},   {EVENT_APPTERMINATE, 0, 0, 0},
  };
  EXPECT_EQ(got, want);
}

TEST_F(EventPumpTest, PointerLeavingAndReenteringEmitsEachOnce) {
  HidePointer();
  plat_inject_mouse_move(window, 10, 10);
  plat_inject_mouse_move(window, 20, 10);
  PumpEvents();
  EXPECT_EQ(CountOf(EVENT_MOUSEENTER), 1);
  EXPECT_FALSE(plat_cursor_visible());

  // Off the client area (right edge is at 320): one leave, and the pointer shows again.
  plat_inject_mouse_move(window, 320, 10);
  plat_inject_mouse_move(window, 330, 10);
  plat_inject_pointer_leave(window);
  auto left = Pumped();
  EXPECT_EQ(CountOf(EVENT_MOUSELEAVE), 1);
  EXPECT_EQ(CountOf(EVENT_MOUSEENTER), 0);
  EXPECT_TRUE(plat_cursor_visible());
  EXPECT_EQ(PointerWindow(), 0u);

  plat_inject_mouse_move(window, 319, 239);
  Pumped();
  EXPECT_EQ(CountOf(EVENT_MOUSEENTER), 1);
  EXPECT_EQ(CountOf(EVENT_MOUSELEAVE), 0);
  EXPECT_FALSE(plat_cursor_visible());

  // The window system's own leave notice ends tracking too, at the last position seen.
  plat_inject_pointer_leave(window);
  auto noticed = Pumped();
  ASSERT_EQ(noticed.size(), 1u);
  EXPECT_EQ(noticed[0].id, EVENT_MOUSELEAVE);
  EXPECT_EQ(noticed[0].x, 319);
  EXPECT_TRUE(plat_cursor_visible());

  ShowPointer();
  plat_inject_mouse_move(window, 5, 5);
  PumpEvents();
  EXPECT_TRUE(plat_cursor_visible());
}

namespace {
int depth = 0;
int deepest = 0;
TObject* PumpFromHook(int, TObject* data, TObject*) {
  ++depth;
  deepest = std::max(deepest, depth);
  PumpEvents();
  AwaitEvents();
  --depth;
  return data;
}
}  // namespace

TEST_F(EventPumpTest, PumpingFromInsideAHookReturnsAtOnce) {
  AttachHook(eventEmitHook, PumpFromHook);
  Press(32);
  Press(33);
  PumpEvents();
  DetachHook(eventEmitHook, PumpFromHook);
  // A nested pump would have handled the later keys inside the first hook call.
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(CountOf(EVENT_KEYDOWN), 2);
  EXPECT_EQ(CountOf(EVENT_KEYUP), 2);
  EXPECT_FALSE(InsidePump());
}

TEST_F(EventPumpTest, PlaceMouseMovesThePointerInTheActiveWindow) {
  PlaceMouse(123, 45);
  EXPECT_EQ(MousePosX(), 123);
  EXPECT_EQ(MousePosY(), 45);
}

namespace {
std::vector<std::vector<int>> arrivals(4);
std::thread::id main_thread;
bool off_main_thread = false;
void Arrive(void* list, std::intptr_t value) {
  off_main_thread |= std::this_thread::get_id() != main_thread;
  static_cast<std::vector<int>*>(list)->push_back(static_cast<int>(value));
}
}  // namespace

TEST(CrossThreadTest, CallsFromOtherThreadsRunOnTheMainThreadInPostingOrder) {
  StartSystem();
  main_thread = std::this_thread::get_id();
  constexpr int kCalls = 500;
  std::vector<std::thread> posters;
  for (auto& list : arrivals) {
    posters.emplace_back([&list] {
      for (int i = 0; i < kCalls; ++i) ASSERT_TRUE(PostMainThreadCall(Arrive, &list, i));
    });
  }
  int total = 0;
  while (total < 4 * kCalls) {
    AwaitEvents();
    total = 0;
    for (auto& list : arrivals) total += static_cast<int>(list.size());
  }
  for (auto& poster : posters) poster.join();
  EXPECT_FALSE(off_main_thread);
  for (auto& list : arrivals) {
    ASSERT_EQ(list.size(), static_cast<std::size_t>(kCalls));
    for (int i = 0; i < kCalls; ++i) ASSERT_EQ(list[i], i);
  }
}
