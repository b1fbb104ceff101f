// The pull-mode device after its card stalls: the feeder waits it out and feeds again, and the
// card's wake-ups never pile up past the one the feeder takes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "audio/dsound_device.h"
#include "audio/mix_api.h"
#include "audio/mix_clock.h"

namespace {

using namespace std::chrono_literals;

// A card that plays only when the test calls the device's play().
struct StalledCard : PullOutput {
  bool open(Pull, void*) override { return true; }
  void run() override {}
  void close() override {}
};

std::uint32_t Zero() { return 0; }

TEST(DsoundStall, TheFeederOutlivesAStalledCardAndFeedsItAgain) {
  SetMixClock(&Zero);
  dsounddevice device(std::make_unique<StalledCard>(), true, 20ms);
  ASSERT_EQ(mix_init(&device), 0);
  std::vector<short> pcm(2000, 777);
  mix_sample* s = mix_create_sound(1000, 16, 2, 44100, pcm.data(), -1);
  ASSERT_NE(mix_play(s, 0, 0), 0);

  // The card says nothing for many of the feeder's waits, as when the machine is suspended.
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(device.running.load());
  EXPECT_TRUE(device.threadActive.load()) << "the feeder gave up";

  // The card plays on: what it plays is mixed again, not silence. Five rings' worth, a little at
  // a time, giving the feeder time to answer each fragment the card crosses.
  std::vector<std::int16_t> out(1024);
  int sounding = 0;
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  for (int played = 0; played < 5 * 16384 && std::chrono::steady_clock::now() < deadline;) {
    device.play(out.data(), static_cast<int>(out.size()));
    played += static_cast<int>(out.size());
    if (played > 3 * 8192) {
      for (std::int16_t v : out) sounding += v == 777;
    }
    std::this_thread::sleep_for(5ms);
  }
  EXPECT_GT(sounding, 16384) << "the card played silence after its stall";
  mix_close();
  mix_free_sound(s);
  SetMixClock(nullptr);
}

TEST(DsoundStall, WakeUpsLeftFromBeforeACloseDoNotAddUpAfterTheNextInit) {
  dsounddevice device(std::make_unique<StalledCard>(), false);
  std::vector<std::int16_t> out(8192);
  for (int round = 0; round < 3; ++round) {
    ASSERT_EQ(device.init(), 0);
    // Crossing fragment boundaries wakes the feeder (none runs here to take the wake-up).
    device.play(out.data(), 8192);
    device.play(out.data(), 8192);
    EXPECT_EQ(device.pendingWakeups(), 1) << "round " << round;
    device.close();
    EXPECT_EQ(device.pendingWakeups(), 0) << "round " << round;
  }
}

}  // namespace
