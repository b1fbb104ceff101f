// The mixer's arithmetic and voice lifecycle, on a device that mixes only when the test asks.
#include <cstdint>
#include <vector>

#include "audio/manual_mixer.h"

namespace {

using MixerTest = ManualMixerTest;

TEST_F(MixerTest, OneShotWaitsOutTheStartDelayAndContributesExactlyItsLength) {
  mix_sample* s = Sample(std::vector<int>(100, 1000), 16, 1);
  int h = mix_play(s, 0, 0);
  ASSERT_NE(h, 0);
  Now() += 5;  // picked up 5 ms after the request: 15 ms = 661.5 frames still to wait
  std::vector<std::int16_t> out = Mix(1024);
  for (int i = 0; i < 1024; ++i) {
    const int expected = (i >= 661 && i < 761) ? 1000 : 0;
    ASSERT_EQ(out[2 * i], expected) << "frame " << i;
    ASSERT_EQ(out[2 * i + 1], expected) << "frame " << i;
  }
  EXPECT_EQ(mix_channel_position(h), 100);
  EXPECT_EQ(mix_channel_status(h) & (sound::kOnce | sound::kLooped), 0);
}

TEST_F(MixerTest, StartDelaySpansSeveralBlocks) {
  mix_sample* s = Sample(std::vector<int>(10, 500), 16, 1);
  mix_play(s, 0, 0);  // picked up at once: 20 ms = 882 frames
  std::vector<std::int16_t> first = Mix(512), second = Mix(512);
  for (int v : first) ASSERT_EQ(v, 0);
  for (int i = 0; i < 512; ++i) ASSERT_EQ(second[2 * i], (i >= 370 && i < 380) ? 500 : 0) << i;
}

TEST_F(MixerTest, RateTwoOnAHalfRateSampleAdvancesOneFramePerFrame) {
  std::vector<int> ramp;
  for (int i = 0; i < 300; ++i) ramp.push_back(i * 10);
  mix_sample* s = Sample(ramp, 16, 1, 22050);
  int h = mix_alloc_channel();
  mix_set_rate(h, 2.0f);
  ASSERT_EQ(PlayNow(s, h), h);
  std::vector<std::int16_t> out = Mix(200);
  for (int i = 0; i < 200; ++i) ASSERT_EQ(out[2 * i], i * 10) << i;
  EXPECT_EQ(mix_channel_position(h), 200);
}

TEST_F(MixerTest, InterpolatesTowardsTheGuardFrame) {
  // Half speed reads between frames; past the last frame it reads the guard: the last frame of
  // a one-shot, the first frame of a looping sample.
  mix_sample* once = Sample({0, 1000}, 16, 1);
  int h = mix_alloc_channel();
  mix_set_rate(h, 0.5f);
  PlayNow(once, h);
  std::vector<std::int16_t> out = Mix(6);
  EXPECT_EQ((std::vector<int>{out[0], out[2], out[4], out[6], out[8]}),
            (std::vector<int>{0, 500, 1000, 1000, 0}));

  mix_sample* looped = Sample({0, 1000}, 16, 1, 44100, -1);
  int g = mix_alloc_channel();
  mix_set_rate(g, 0.5f);
  PlayNow(looped, g);
  out = Mix(5);
  EXPECT_EQ((std::vector<int>{out[0], out[2], out[4], out[6], out[8]}),
            (std::vector<int>{0, 500, 1000, 500, 0}));
}

TEST_F(MixerTest, FullVolumeReproducesTheInputAndLoudVoicesClip) {
  mix_sample* stereo = Sample({-12345, 23456, -12345, 23456, -12345, 23456}, 16, 2);
  PlayNow(stereo);
  std::vector<std::int16_t> out = Mix(3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(out[2 * i], -12345);
    EXPECT_EQ(out[2 * i + 1], 23456);
  }

  mix_sample* loud = Sample(std::vector<int>(8, 20000), 16, 1);
  mix_sample* low = Sample(std::vector<int>(8, -20000), 16, 1);
  mix_play(loud, 0, 0);
  mix_play(loud, 0, 0);
  Now() += 20;
  out = Mix(4);
  EXPECT_EQ(out[0], 32767);
  EXPECT_EQ(out[1], 32767);
  Mix(8);
  mix_play(low, 0, 0);
  mix_play(low, 0, 0);
  Now() += 20;
  out = Mix(4);
  EXPECT_EQ(out[0], -32768);
}

TEST_F(MixerTest, PanAndDepthInEveryFormat) {
  struct Case {
    int bits, channels;
    std::vector<int> frame;  // one frame as stored
    int value;               // its 16-bit value
  };
  const Case cases[] = {{16, 1, {12000}, 12000},
                        {16, 2, {12000, 12000}, 12000},
                        {8, 1, {200}, 200 * 256 - 32768},
                        {8, 2, {200, 200}, 200 * 256 - 32768}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.bits << " bits, " << c.channels << " channels");
    std::vector<int> data;
    for (int i = 0; i < 16; ++i) data.insert(data.end(), c.frame.begin(), c.frame.end());
    mix_sample* s = Sample(data, c.bits, c.channels);

    int right = mix_alloc_channel();
    mix_set_pan(right, 1.0f);
    PlayNow(s, right);
    std::vector<std::int16_t> out = Mix(4);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], c.value);
    mix_stop_channel(right);
    Mix(16);

    int inverted = mix_alloc_channel();
    mix_set_depth(inverted, -1.0f);
    PlayNow(s, inverted);
    out = Mix(4);
    EXPECT_EQ(out[0], c.value);
    EXPECT_EQ(out[1], -c.value);
    mix_stop_channel(inverted);
    Mix(16);
  }
}

TEST_F(MixerTest, VolumeAndPanAreTruncatedToFixedPoint) {
  mix_sample* s = Sample(std::vector<int>(16, 16000), 16, 1);
  int h = mix_alloc_channel();
  mix_set_volume(h, 0.1f);  // 409, not 409.6
  PlayNow(s, h);
  std::vector<std::int16_t> out = Mix(2);
  EXPECT_EQ(out[0], ((409 * 16000) >> 8) >> 4);

  int p = mix_alloc_channel();
  mix_set_pan(p, 0.5f);  // left gain 2048, right 4096
  Mix(16);
  PlayNow(s, p);
  out = Mix(2);
  EXPECT_EQ(out[0], 8000);
  EXPECT_EQ(out[1], 16000);
}

TEST_F(MixerTest, VolumeRampsOnlyWhilePlaying) {
  mix_sample* s = Sample(std::vector<int>(4096, 16000), 16, 1, 44100, -1);

  // Set while paused: the voice resumes at the new level at once.
  int paused = mix_play(s, 1, 0);
  Now() += 20;
  Mix(64);
  mix_set_volume(paused, 0.5f);
  mix_set_paused(paused, 0);
  std::vector<std::int16_t> out = Mix(64);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(out[2 * i], 8000) << i;
  mix_stop_channel(paused);
  Mix(64);

  // Set while playing: the next block runs linearly from the old level to the new one.
  int playing = PlayNow(s);
  Mix(64);
  mix_set_volume(playing, 0.5f);
  out = Mix(64);
  EXPECT_EQ(out[0], 16000);
  for (int i = 1; i < 64; ++i) ASSERT_LT(out[2 * i], out[2 * i - 2]) << i;
  EXPECT_NEAR(out[126], 8000, 16000 / 64 + 1);
  out = Mix(64);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(out[2 * i], 8000) << i;
}

TEST_F(MixerTest, LoopingVoiceNeverFinishes) {
  mix_sample* s = Sample(std::vector<int>(100, 3000), 16, 1, 44100, -1);
  int h = PlayNow(s);
  for (int block = 0; block < 10; ++block) {
    std::vector<std::int16_t> out = Mix(100);
    for (int v : out) ASSERT_EQ(v, 3000);
  }
  EXPECT_EQ(mix_channel_position(h), 1000);
  EXPECT_EQ(mix_channel_status(h), sound::kLooped);
  mix_set_volume(h, 0.0f);
  Mix(64);    // the ramp down
  Mix(1000);  // silent voices still move on, wrapping many times
  EXPECT_EQ(mix_channel_position(h), 2064);
  EXPECT_EQ(mix_channel_status(h), sound::kLooped);
}

TEST_F(MixerTest, HandlesRunOutAtTheLastSlotAndStaleOnesAreIgnored) {
  const int first = mix_alloc_channel();
  EXPECT_EQ(first, 8193);
  for (int i = 2; i < 4096; ++i) ASSERT_NE(mix_alloc_channel(), 0) << i;
  EXPECT_EQ(mix_alloc_channel(), 0);

  mix_sample* s = Sample(std::vector<int>(1000, 7000), 16, 1);
  EXPECT_EQ(mix_play(s, 0, 0), 0);  // no handle for it

  mix_free_channel(first);
  const int again = mix_alloc_channel();
  EXPECT_EQ(again & 4095, first & 4095);
  EXPECT_NE(again, first);
  mix_set_volume(again, 0.25f);
  mix_set_volume(first, 1.0f);  // stale: must not touch the slot's new owner
  EXPECT_EQ(mix_play(s, 0, first), 0);
  PlayNow(s, again);
  std::vector<std::int16_t> out = Mix(4);
  EXPECT_EQ(out[0], 1750);
}

TEST_F(MixerTest, StoppedAndAbandonedVoicesLeaveTheMixer) {
  mixer* m = device_.getMixer();
  mix_sample* s = Sample(std::vector<int>(44100, 5000), 16, 1);
  int h = PlayNow(s);
  Mix(16);
  EXPECT_EQ(m->activeVoices(), 1);
  mix_stop_channel(h);
  std::vector<std::int16_t> out = Mix(16);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(m->activeVoices(), 0);
  EXPECT_EQ(mix_channel_status(h), 0);

  // A paused voice whose handle is freed could never be resumed: it goes as well.
  int p = mix_play(s, 1, 0);
  Now() += 20;
  Mix(16);
  EXPECT_EQ(m->activeVoices(), 1);
  mix_free_channel(p);
  Mix(16);
  EXPECT_EQ(m->activeVoices(), 0);

  // A voice on a freed handle that is playing plays on to its end.
  int q = PlayNow(s);
  mix_free_channel(q);
  out = Mix(16);
  EXPECT_EQ(out[0], 5000);
}

TEST_F(MixerTest, ReplayingOnAHandleKeepsItsSettingsAndReplacesTheVoice) {
  mixer* m = device_.getMixer();
  mix_sample* s = Sample(std::vector<int>(200, 8000), 16, 1);
  int h = mix_alloc_channel();
  mix_set_volume(h, 0.5f);
  PlayNow(s, h);
  Mix(50);
  EXPECT_EQ(mix_play(s, 0, h), h);
  Now() += 20;
  std::vector<std::int16_t> out = Mix(10);
  EXPECT_EQ(out[0], 4000);  // one voice, not two, at the handle's volume
  EXPECT_EQ(m->activeVoices(), 1);
  Mix(400);
  // A finished voice on a kept handle stays idle, not playing.
  EXPECT_EQ(mix_channel_status(h), sound::kIdle);
}

TEST(MixerLifecycle, AFailingDeviceLeavesEveryEntryInert) {
  ManualMixerDevice device;
  device.fail = true;
  EXPECT_EQ(mix_init(&device), -1);
  EXPECT_EQ(mix_alloc_channel(), 0);
  short pcm[4] = {1, 2, 3, 4};
  EXPECT_EQ(mix_create_sound(4, 16, 1, 44100, pcm, 0), nullptr);
  EXPECT_EQ(mix_channel_status(8193), 0);
}

TEST(MixerSample, RejectsWhatCannotPlay) {
  short pcm[4] = {10, 20, 30, 40};
  EXPECT_EQ(NewMixSample(0, 16, 1, 44100, pcm, 0), nullptr);
  EXPECT_EQ(NewMixSample(4, 12, 1, 44100, pcm, 0), nullptr);
  EXPECT_EQ(NewMixSample(4, 16, 3, 44100, pcm, 0), nullptr);
  EXPECT_EQ(NewMixSample(4, 16, 1, 0, pcm, 0), nullptr);
}

}  // namespace

// A stream plays up to what its producer has written, holds there in silence, and once complete
// runs on and loops like any sample.
TEST_F(MixerTest, StreamHoldsAtItsWrittenEndThenPlaysOnAndLoops) {
  mix_sample* s = NewStreamMixSample(100, 16, 1, 44100, -1);
  ASSERT_NE(s, nullptr);
  samples_.push_back(s);
  auto* pcm = reinterpret_cast<std::int16_t*>(s->data);
  for (int i = 0; i < 50; ++i) pcm[i] = 3000;
  s->filled.store(50, std::memory_order_release);
  int h = PlayNow(s);
  std::vector<std::int16_t> out = Mix(80);
  for (int k = 0; k < 49; ++k) ASSERT_EQ(out[2 * k], 3000) << k;
  for (int k = 49; k < 80; ++k) ASSERT_EQ(out[2 * k], 0) << k;
  EXPECT_EQ(mix_channel_position(h), 49);
  EXPECT_EQ(mix_channel_status(h), sound::kLooped);

  for (int i = 50; i < 100; ++i) pcm[i] = 3000;
  pcm[100] = pcm[0];
  s->filled.store(100, std::memory_order_release);
  out = Mix(250);
  for (int v : out) ASSERT_EQ(v, 3000);
  EXPECT_EQ(mix_channel_position(h), 299);
}
