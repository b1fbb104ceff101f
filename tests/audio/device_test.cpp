// The output devices' refill rules, on sound cards that play only when the test says so.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "audio/dsound_device.h"
#include "audio/mix_api.h"
#include "audio/mix_clock.h"
#include "audio/winmm_device.h"

namespace {

// A push-mode card whose play position the test moves.
struct FakePushCard : PushOutput {
  struct State {
    std::vector<std::int16_t> queued;  // everything ever queued since the last reset
    std::int64_t playedValues = 0;
    bool running = false;
    int resets = 0;
    int runs = 0;
    bool refuse = false;
    bool blind = false;
  };
  explicit FakePushCard(State* s) : s(s) {}
  bool open(int) override { return true; }
  void close() override {}
  bool queue(const std::int16_t* v, int n) override {
    if (s->refuse) return false;
    s->queued.insert(s->queued.end(), v, v + n);
    return true;
  }
  std::int64_t queuedBytes() override {
    if (s->blind) return -1;
    return 2 * (static_cast<std::int64_t>(s->queued.size()) - s->playedValues);
  }
  void reset() override {
    s->queued.clear();
    s->playedValues = 0;
    s->running = false;
    ++s->resets;
  }
  void run() override {
    s->running = true;
    ++s->runs;
  }
  State* s;
};

class WinmmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device_ = std::make_unique<winmmdevice>(std::make_unique<FakePushCard>(&card_), false);
    ASSERT_EQ(device_->init(), 0);
  }
  void TearDown() override { device_->close(); }

  // The card plays until `short` values are left queued.
  void PlayUntilLeft(std::int64_t left) {
    card_.playedValues = static_cast<std::int64_t>(card_.queued.size()) - left;
  }

  FakePushCard::State card_;
  std::unique_ptr<winmmdevice> device_;
};

TEST_F(WinmmTest, StartsWithSixFragmentsQueuedAndPlaying) {
  EXPECT_EQ(card_.queued.size(), 6u * 1024);  // 3072 frames, about 70 ms
  EXPECT_TRUE(card_.running);
  device_->refill();  // nothing played yet: nothing more to do
  EXPECT_EQ(card_.queued.size(), 6u * 1024);
}

TEST_F(WinmmTest, RefillsWholeFragmentsBackToTheLatency) {
  PlayUntilLeft(6 * 1024 - 1500);  // 1500 values played
  device_->refill();
  // Written must reach played + 6 fragments: two more fragments.
  EXPECT_EQ(card_.queued.size(), 8u * 1024);
  EXPECT_EQ(device_->written, 8 * 1024);
  EXPECT_EQ(device_->latency, 6);
}

TEST_F(WinmmTest, CatchingUpWithTheMixerIsAnUnderrun) {
  PlayUntilLeft(1000);  // less than two fragments ahead
  EXPECT_EQ(device_->underruns.load(), 0);
  device_->refill();
  EXPECT_EQ(device_->underruns.load(), 1);
  EXPECT_EQ(device_->restartCountdown, 250);
  EXPECT_EQ(device_->latency, 8);
  EXPECT_FALSE(card_.running);
  // The card restarts from silence that reaches the new latency twice over.
  EXPECT_EQ(device_->written, 8 * 1024 * 2);
  EXPECT_EQ(card_.queued.size(), 8u * 1024 * 2);
  for (std::int16_t v : card_.queued) ASSERT_EQ(v, 0);

  for (int tick = 0; tick < 249; ++tick) device_->refill();
  EXPECT_FALSE(card_.running);
  device_->refill();
  EXPECT_TRUE(card_.running);
}

TEST_F(WinmmTest, LatencyStopsGrowingAtTen) {
  for (int underrun = 0; underrun < 3; ++underrun) {
    PlayUntilLeft(1000);
    device_->refill();
    for (int tick = 0; tick < 250; ++tick) device_->refill();
  }
  EXPECT_EQ(device_->latency, 10);
}

// The count is said at close only when it means something: a few underruns while the program
// starts are the machine being busy; one after the first second, or many, are worth a line.
TEST_F(WinmmTest, UnderrunsAreReportedAtCloseOnlyAfterTheFirstSecondOrWhenMany) {
  auto underrun = [this] {
    PlayUntilLeft(1000);
    device_->refill();
    for (int tick = 0; tick < winmmdevice::kRestartTicks; ++tick) device_->refill();
  };
  auto closing = [this] {
    ::testing::internal::CaptureStderr();
    device_->close();
    return ::testing::internal::GetCapturedStderr();
  };
  for (int i = 0; i < winmmdevice::kStartUnderruns; ++i) underrun();
  EXPECT_EQ(closing(), "");

  ASSERT_EQ(device_->init(), 0);
  underrun();
  // A second of sound plays on time, then the card catches up once more.
  while (card_.playedValues < winmmdevice::kStartValues) {
    PlayUntilLeft(6 * 1024 - 1024);
    device_->refill();
  }
  underrun();
  EXPECT_EQ(closing(),
            "Sound (wave-out): the card caught up with the mixer 2 times (1 after the first "
            "second)\n");

  ASSERT_EQ(device_->init(), 0);
  for (int i = 0; i <= winmmdevice::kStartUnderruns; ++i) underrun();
  EXPECT_EQ(closing(),
            "Sound (wave-out): the card caught up with the mixer 4 times (0 after the first "
            "second)\n");
}

TEST_F(WinmmTest, ALostPositionOrALongRunResetsTheCard) {
  card_.blind = true;
  device_->refill();
  EXPECT_EQ(device_->written, 0);
  EXPECT_EQ(card_.resets, 1);
  EXPECT_TRUE(card_.running);
  card_.blind = false;
  device_->refill();  // from position 0 the ring fills again
  EXPECT_EQ(device_->written, 6 * 1024);

  card_.playedValues = winmmdevice::kPositionLimit / 2 + 2;
  card_.queued.resize(static_cast<std::size_t>(card_.playedValues) + 100);
  device_->written = static_cast<std::int64_t>(card_.queued.size());
  device_->refill();
  EXPECT_EQ(card_.resets, 2);
}

TEST_F(WinmmTest, ARefusedWriteIsReportedAndOutputGoesOn) {
  card_.refuse = true;
  PlayUntilLeft(6 * 1024 - 1024);
  ::testing::internal::CaptureStdout();
  device_->refill();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "waveOutWrite error\n");
  EXPECT_EQ(device_->written, 7 * 1024);
}

TEST(WinmmClose, HandsBackEveryVoiceAndItsSample) {
  SetMixClock([]() -> std::uint32_t { return 0; });
  FakePushCard::State card;
  winmmdevice device(std::make_unique<FakePushCard>(&card), false);
  ASSERT_EQ(mix_init(&device), 0);
  std::vector<short> pcm(4000, 99);
  mix_sample* s = mix_create_sound(4000, 16, 1, 44100, pcm.data(), -1);
  mix_play(s, 0, 0);
  mix_play(s, 1, 0);
  card.playedValues = 4096;
  device.refill();  // the voices reach the active list
  EXPECT_EQ(device.getMixer()->activeVoices(), 2);
  mix_play(s, 0, 0);  // still in the start queue
  EXPECT_EQ(s->references.load(), 4);
  mix_close();
  EXPECT_EQ(device.getMixer()->activeVoices(), 0);
  EXPECT_EQ(s->references.load(), 1);
  EXPECT_EQ(card.queued.size(), 0u);
  mix_free_sound(s);
  SetMixClock(nullptr);
}

// A pull-mode card that plays only when the test calls its reader.
struct FakePullCard : PullOutput {
  bool open(Pull, void*) override { return true; }
  void run() override {}
  void close() override {}
};

std::uint32_t Zero() { return 0; }

TEST(DsoundTest, StaysTwoFragmentsAheadAndNeverWritesMoreBetweenWaits) {
  SetMixClock(&Zero);
  dsounddevice device(std::make_unique<FakePullCard>(), false);
  ASSERT_EQ(device.init(), 0);
  std::vector<std::int16_t> sink(32768);
  EXPECT_EQ(device.feed(), 16384);
  EXPECT_EQ(device.feed(), 0);
  device.play(sink.data(), 4096);  // one fragment played
  EXPECT_EQ(device.feed(), 8192);
  // The card ran far ahead of a stalled feeder: still at most two fragments at once.
  device.play(sink.data(), 12000);
  EXPECT_EQ(device.feed(), 16384);
  device.close();
  SetMixClock(nullptr);
}

TEST(DsoundTest, AFeederHeldUpForLongResumesAtThePlayPosition) {
  SetMixClock(&Zero);
  dsounddevice device(std::make_unique<FakePullCard>(), false);
  ASSERT_EQ(mix_init(&device), 0);
  std::vector<short> pcm(2000, 777);
  mix_sample* s = mix_create_sound(1000, 16, 2, 44100, pcm.data(), -1);
  ASSERT_NE(mix_play(s, 0, 0), 0);
  std::vector<std::int16_t> out(3 * 16384 + 1000);
  device.feed();
  device.play(out.data(), static_cast<int>(out.size()));  // more than a whole ring unfed
  EXPECT_EQ(device.feed(), 16384);
  device.play(out.data(), 8192);
  for (int i = 0; i < 8192; ++i) ASSERT_EQ(out[i], 777) << i;
  mix_close();
  mix_free_sound(s);
  SetMixClock(nullptr);
}

TEST(DsoundTest, PlaysWhatWasMixedAndSilenceWhereNothingWas) {
  SetMixClock(&Zero);
  dsounddevice device(std::make_unique<FakePullCard>(), false);
  ASSERT_EQ(mix_init(&device), 0);
  std::vector<short> pcm(20000, 1234);
  mix_sample* s = mix_create_sound(10000, 16, 2, 44100, pcm.data(), -1);
  ASSERT_NE(mix_play(s, 0, 0), 0);
  std::vector<std::int16_t> out(2000, -1);
  device.play(out.data(), 2000);  // before the feeder ran
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(out[i], 0) << i;
  EXPECT_EQ(device.starvedValues.load(), 0) << "nothing was fed yet: silence is no shortfall";
  // The feeder starts where the card is, with two fragments (8192 values); the sound comes
  // after its 20 ms start delay, and past what was written the card finds silence.
  device.feed();
  std::vector<std::int16_t> next(9000, -1);
  device.play(next.data(), 9000);
  for (int i = 0; i < 9000; ++i) {
    ASSERT_EQ(next[i], i >= 2 * 882 && i < 8192 ? 1234 : 0) << i;
  }
  // Counted from the start: 2000 + 9000 values played, 2000 + 8192 of them fed.
  EXPECT_EQ(device.starvedValues.load(), 808);
  mix_close();
  mix_free_sound(s);
  SetMixClock(nullptr);
}

}  // namespace
