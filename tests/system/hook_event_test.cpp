// Hook chains, event names and the event queue.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "system/event.h"
#include "system/event_queue.h"
#include "system/hook.h"
#include "system/system_driver.h"

namespace {

std::vector<std::string> calls;

class Tag : public TObject {
 public:
  explicit Tag(std::string name) : name(std::move(name)) {}
  std::string name;
};

TObject* Note(int, TObject* data, TObject* context) {
  calls.push_back(static_cast<Tag*>(context)->name);
  return data;
}

TObject* Swallow(int, TObject*, TObject*) { return nullptr; }

}  // namespace

TEST(HookTest, ChainsRunByPriorityThenAttachOrderAndDetachTheFirstMatch) {
  int id = NewHookId();
  Ref<Tag> low = New<Tag>("low"), first = New<Tag>("first"), second = New<Tag>("second"),
           high = New<Tag>("high");
  AttachHook(id, Note, low.get(), -5);
  AttachHook(id, Note, first.get(), 0);
  AttachHook(id, Note, second.get(), 0);
  AttachHook(id, Note, high.get(), 7);
  AttachHook(id, Note, first.get(), 0);  // the same hook twice

  calls.clear();
  Ref<Tag> data = New<Tag>("data");
  EXPECT_EQ(CallHooks(id, data.get()).get(), data.get());
  EXPECT_EQ(calls, (std::vector<std::string>{"high", "first", "second", "first", "low"}));

  DetachHook(id, Note, first.get());
  DetachHook(id, Note, nullptr);  // no such hook: nothing goes
  calls.clear();
  CallHooks(id, data.get());
  EXPECT_EQ(calls, (std::vector<std::string>{"high", "second", "first", "low"}));

  // A hook that returns nothing swallows the data for everyone after it.
  AttachHook(id, Swallow, nullptr, 1);
  EXPECT_EQ(CallHooks(id, data.get()).get(), nullptr);
}

namespace {
int target_hook = 0;
Ref<Tag> victim;
TObject* DetachTheNext(int id, TObject* data, TObject*) {
  DetachHook(id, Note, victim.get());
  return data;
}
}  // namespace

TEST(HookTest, AHookDetachedByAnEarlierOneDoesNotRunInThatPass) {
  target_hook = NewHookId();
  victim = New<Tag>("victim");
  Ref<Tag> after = New<Tag>("after");
  AttachHook(target_hook, DetachTheNext, nullptr, 1);
  AttachHook(target_hook, Note, victim.get(), 0);
  AttachHook(target_hook, Note, after.get(), 0);
  calls.clear();
  CallHooks(target_hook, nullptr);
  EXPECT_EQ(calls, std::vector<std::string>{"after"});
  victim = nullptr;
}

TEST(HookTest, IdsRunOutAfter256) {
  int last = 0;
  try {
    for (;;) last = NewHookId();
  } catch (const TRuntimeError& e) {
    EXPECT_STREQ(e.what(), "Too many hook ids");
  }
  EXPECT_EQ(last, 255);
  EXPECT_THROW(NewHookId(), TRuntimeError);
}

TEST(EventTest, ToStringNamesEveryKindOfEvent) {
  Ref<TObject> text = New<TStringObject>("hello");
  EXPECT_EQ(TEvent::Create(EVENT_KEYDOWN, nullptr, 32, 2, -3, 4)->ToString(),
            "KeyDown: data=32, mods=2, x=-3, y=4, extra=\"\"");
  EXPECT_EQ(TEvent::Create(EVENT_TIMERTICK, nullptr, 7, 0, 0, 0, text.get())->ToString(),
            "TimerTick: data=7, mods=0, x=0, y=0, extra=\"hello\"");
  // Only a text shows as the extra.
  Ref<TObject> plain = New<TObject>();
  EXPECT_EQ(TEvent::Create(EVENT_APPSUSPEND, nullptr, 0, 0, 0, 0, plain.get())->ToString(),
            "AppSuspend: data=0, mods=0, x=0, y=0, extra=\"\"");

  std::vector<std::pair<int, std::string>> names = {
      {257, "AppSuspend"},
      {261, "AppIdle"},
      {516, "KeyRepeat"},
      {1025, "MouseDown"},
      {1030, "MouseLeave"},
      {2049, "TimerTick"},
      {8193, "GadgetAction"},
      {8201, "GadgetShape"},
      {16385, "WindowMove"},
      {16389, "WindowAccept"},
      {32769, "MenuAction"},
      {65537, "StreamEof"},
      {65538, "StreamAvail"},
      {131073, "ProcessExit"},
      {262, "Unknown Event, id=262"},
      {1031, "Unknown Event, id=1031"},
      {0, "Unknown Event, id=0"},
  };
  for (const auto& [id, name] : names) EXPECT_EQ(EventName(id), name) << id;

  int user = TEvent::AllocUserId();
  EXPECT_LT(user, 0);  // the top bit is set
  EXPECT_EQ(TEvent::AllocUserId(), user + 1);
  EXPECT_EQ(EventName(static_cast<int>(0x80000001u)), "UserEvent1");
  EXPECT_EQ(EventName(user + 1),
            "UserEvent" + std::to_string(user + 1 - static_cast<int>(0x80000000u)));
}

TEST(EventQueueTest, KeepsOrderMergesRepeatedTicksAndStopsAt256) {
  StartSystem();
  while (PollEvent()) {
  }
  Ref<TObject> timer_a = New<TObject>(), timer_b = New<TObject>();
  TEvent::Create(EVENT_KEYDOWN, nullptr, 1, 0, 0, 0)->Emit();
  TEvent::Create(EVENT_TIMERTICK, timer_a.get(), 1, 0, 0, 0)->Emit();
  TEvent::Create(EVENT_TIMERTICK, timer_b.get(), 1, 0, 0, 0)->Emit();
  TEvent::Create(EVENT_TIMERTICK, timer_a.get(), 2, 0, 5, 0)->Emit();  // updates the first tick
  TEvent::Create(EVENT_KEYDOWN, nullptr, 2, 0, 0, 0)->Emit();
  TEvent::Create(EVENT_KEYDOWN, nullptr, 2, 0, 0, 0)->Emit();  // other kinds always queue
  EXPECT_EQ(QueuedEventCount(), 5);

  std::vector<std::vector<int>> got;
  while (Ref<TEvent> e = PollEvent()) got.push_back({e->id, e->data, e->x});
  std::vector<std::vector<int>> want = {{EVENT_KEYDOWN, 1, 0},
                                        {EVENT_TIMERTICK, 2, 5},
                                        {EVENT_TIMERTICK, 1, 0},
                                        {EVENT_KEYDOWN, 2, 0},
                                        {EVENT_KEYDOWN, 2, 0}};
  EXPECT_EQ(got, want);

  for (int i = 0; i < 300; ++i) TEvent::Create(EVENT_KEYCHAR, nullptr, i, 0, 0, 0)->Emit();
  EXPECT_EQ(QueuedEventCount(), kEventQueueSize);
  int expected = 0;
  while (Ref<TEvent> e = PollEvent()) EXPECT_EQ(e->data, expected++);
  EXPECT_EQ(expected, kEventQueueSize);  // the rest were dropped, not wrapped over the oldest
}
