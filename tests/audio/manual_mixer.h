// A mixer on a device that mixes only when the test asks, with a clock the test moves, and
// helpers to make samples from values and mix frames: the one fixture of the mixer's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "audio/mix_api.h"
#include "audio/mix_clock.h"

class ManualMixerDevice : public audiodevice {
 public:
  int init() override {
    mixer_ = std::make_unique<mixer>(2048, 44100, 2);
    return fail ? 1 : 0;
  }
  void close() override {
    if (mixer_) mixer_->releaseAll();
  }
  bool fail = false;  // init reports a device that cannot start
};

class ManualMixerTest : public ::testing::Test {
 protected:
  static std::uint32_t& Now() {
    static std::uint32_t now = 0;
    return now;
  }
  static std::uint32_t Clock() { return Now(); }

  void SetUp() override {
    Now() = 1000;
    SetMixClock(&Clock);
    ASSERT_EQ(mix_init(&device_), 0);
  }
  void TearDown() override {
    mix_close();
    for (mix_sample* s : samples_) mix_free_sound(s);
    SetMixClock(nullptr);
  }

  // A sample from values as stored: bytes for 8 bits, signed values for 16.
  mix_sample* Sample(const std::vector<int>& values, int bits, int channels, int hertz = 44100,
                     int loop = 0) {
    std::vector<unsigned char> bytes;
    for (int v : values) {
      bytes.push_back(static_cast<unsigned char>(v & 0xFF));
      if (bits == 16) bytes.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
    }
    const int frames = static_cast<int>(values.size()) / channels;
    mix_sample* s = mix_create_sound(frames, bits, channels, hertz, bytes.data(), loop);
    samples_.push_back(s);
    return s;
  }

  // `frames` frames mixed in one pass at the clock's current time.
  std::vector<std::int16_t> Mix(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
    device_.getMixer()->mixBlock(out.data(), frames * 2);
    return out;
  }

  // Plays with no start delay left: the next pass comes 20 ms after the request.
  int PlayNow(mix_sample* s, int handle = 0) {
    const int h = mix_play(s, 0, handle);
    Now() += 20;
    return h;
  }

  ManualMixerDevice device_;
  std::vector<mix_sample*> samples_;
};
