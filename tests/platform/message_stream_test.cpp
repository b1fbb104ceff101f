// SDL events in, Windows-shaped messages out.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/events.h"
#include "platform/inject.h"
#include "platform/video.h"
#include "platform/window.h"

namespace {

class MessageStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(plat_video_init(&error)) << error;
    window = plat_window_create(PlatWindowSpec{200, 100, "stream"}, &error);
    ASSERT_NE(window, 0u) << error;
    Drain();
  }
  void TearDown() override { plat_window_destroy(window); }

  std::vector<PlatMessage> Drain() {
    std::vector<PlatMessage> out;
    PlatMessage m;
    while (plat_peek_message(&m)) out.push_back(m);
    return out;
  }

  std::uint32_t window = 0;
};

struct KeyCase {
  int vkey;  // as injected
  int want_vkey, scancode;
  bool extended;
};

}  // namespace

TEST_F(MessageStreamTest, KeysCarryVirtualKeyScanCodeAndExtendedFlag) {
  const KeyCase cases[] = {
      {'A', 'A', 0x1E, false}, {'Z', 'Z', 0x2C, false}, {'0', '0', 0x0B, false},
      {'9', '9', 0x0A, false}, {112, 112, 0x3B, false}, {123, 123, 0x58, false},
      {32, 32, 0x39, false},   {27, 27, 0x01, false},   {13, 13, 0x1C, false},
      {9, 9, 0x0F, false},     {8, 8, 0x0E, false},     {37, 37, 0x4B, true},
      {38, 38, 0x48, true},    {39, 39, 0x4D, true},    {40, 40, 0x50, true},
      {160, 16, 0x2A, false},  {161, 16, 0x36, false},  {162, 17, 0x1D, false},
      {163, 17, 0x1D, true},   {164, 18, 0x38, false},  {165, 18, 0x38, true},
  };
  for (const KeyCase& c : cases) {
    ASSERT_TRUE(plat_inject_key(window, c.vkey, true, true));
    ASSERT_TRUE(plat_inject_key(window, c.vkey, false));
    std::vector<PlatMessage> got;
    for (const PlatMessage& m : Drain()) {
      if (m.kind != PlatMessageKind::kChar) got.push_back(m);
    }
    ASSERT_EQ(got.size(), 2u) << c.vkey;
    EXPECT_EQ(got[0].kind, PlatMessageKind::kKeyDown);
    EXPECT_TRUE(got[0].repeat);
    EXPECT_EQ(got[1].kind, PlatMessageKind::kKeyUp);
    EXPECT_FALSE(got[1].repeat);
    for (const PlatMessage& m : got) {
      EXPECT_EQ(m.window, window);
      EXPECT_EQ(m.vkey, c.want_vkey) << c.vkey;
      EXPECT_EQ(m.scancode, c.scancode) << c.vkey;
      EXPECT_EQ(m.extended, c.extended) << c.vkey;
    }
  }
}

TEST_F(MessageStreamTest, HeldKeysFollowTheMessagesTakenSoFar) {
  plat_inject_key(window, 163, true);
  EXPECT_FALSE(plat_key_held(17));  // still in the queue
  Drain();
  EXPECT_TRUE(plat_key_held(17));
  EXPECT_TRUE(plat_key_held(163));
  EXPECT_FALSE(plat_key_held(162));
  plat_inject_key(window, 162, true);
  plat_inject_key(window, 163, false);
  Drain();
  EXPECT_TRUE(plat_key_held(17));  // the left one is still down
  plat_inject_key(window, 162, false);
  Drain();
  EXPECT_FALSE(plat_key_held(17));
}

TEST_F(MessageStreamTest, KeysAndTextTypeCharactersAsWindowsTranslationWould) {
  plat_inject_key(window, 8, true);
  plat_inject_key(window, 'Q', true);  // letters type through text events, not key presses
  plat_inject_text(window, "a\xF0\x9F\x99\x82");  // a, then a character beyond 16 bits
  plat_inject_text(window, "\xE2\x82");           // a cut-off sequence types nothing
  std::vector<int> chars;
  for (const PlatMessage& m : Drain()) {
    if (m.kind == PlatMessageKind::kChar) chars.push_back(m.character);
  }
  EXPECT_EQ(chars, (std::vector<int>{8, 'a', 0x1F642}));
}

TEST_F(MessageStreamTest, MouseMessagesUseWindowsButtonsAndWheelUnits) {
  plat_inject_mouse_move(window, 12, 34);
  plat_inject_mouse_button(window, 2, true);
  plat_inject_mouse_button(window, 3, false);
  plat_inject_wheel(window, -2);
  plat_inject_pointer_leave(window);
  auto got = Drain();
  ASSERT_EQ(got.size(), 5u);
  EXPECT_EQ(got[0].kind, PlatMessageKind::kMouseMove);
  EXPECT_EQ(got[1].kind, PlatMessageKind::kMouseDown);
  EXPECT_EQ(got[1].button, 2);
  EXPECT_EQ(got[2].kind, PlatMessageKind::kMouseUp);
  EXPECT_EQ(got[2].button, 3);
  EXPECT_EQ(got[3].kind, PlatMessageKind::kMouseWheel);
  EXPECT_EQ(got[3].wheel, -240);
  EXPECT_EQ(got[4].kind, PlatMessageKind::kMouseLeave);
  for (const PlatMessage& m : got) {
    EXPECT_EQ(m.x, 12);
    EXPECT_EQ(m.y, 34);
  }
}

TEST_F(MessageStreamTest, FocusChangesMoveTheActiveWindow) {
  EXPECT_EQ(plat_active_window(), window);
  plat_inject_focus(window, false);
  Drain();
  EXPECT_EQ(plat_active_window(), 0u);
  plat_inject_focus(window, true);
  plat_inject_close(window);
  auto got = Drain();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].kind, PlatMessageKind::kFocusGained);
  EXPECT_EQ(got[1].kind, PlatMessageKind::kClose);
  EXPECT_EQ(plat_active_window(), window);
}

namespace {
std::vector<PlatMessage> dispatched;
void Collect(const PlatMessage& m, void*) { dispatched.push_back(m); }
}  // namespace

TEST_F(MessageStreamTest, DispatchReachesOnlyTheWindowsProcedure) {
  plat_window_set_procedure(window, Collect, nullptr);
  plat_inject_key(window, 'A', true);
  plat_inject_key(window + 1000, 'B', true);  // no such window
  for (const PlatMessage& m : Drain()) plat_dispatch_message(m);
  ASSERT_EQ(dispatched.size(), 1u);
  EXPECT_EQ(dispatched[0].vkey, 'A');
}

namespace {
void AddUp(void* counter, std::intptr_t b) { *static_cast<int*>(counter) += static_cast<int>(b); }
}  // namespace

TEST_F(MessageStreamTest, PostedCallsComeOutOfTheStreamOnTheMainThread) {
  int sum = 0;
  std::thread poster([&sum] {
    for (int i = 1; i <= 100; ++i) EXPECT_TRUE(plat_post_call(AddUp, &sum, i));
  });
  poster.join();
  int calls = 0;
  for (const PlatMessage& m : Drain()) {
    ASSERT_EQ(m.kind, PlatMessageKind::kCall);
    m.call(m.call_a, m.call_b);
    ++calls;
  }
  EXPECT_EQ(calls, 100);
  EXPECT_EQ(sum, 5050);
}
