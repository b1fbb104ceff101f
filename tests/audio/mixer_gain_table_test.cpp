// The mixer's left and right gains for every sign of pan and depth, in every sample layout, in a
// block with fixed gains and in one that ramps the volume; and pans past full left or right.
#include <algorithm>
#include <cmath>

#include "audio/manual_mixer.h"

namespace {

struct Layout {
  int bits, channels;
  std::vector<int> frame;  // one frame as stored
  int left, right;         // its 16-bit values
};

const Layout kLayouts[] = {
    {16, 1, {12000}, 12000, 12000},
    {16, 2, {12000, -7000}, 12000, -7000},
    {8, 1, {200}, 200 * 256 - 32768, 200 * 256 - 32768},
    {8, 2, {200, 60}, 200 * 256 - 32768, 60 * 256 - 32768},
};

int Fixed(float value) { return static_cast<int>(std::trunc(value * 4096.0f)); }

// What one frame of a voice at `volume` (4.12) with `pan` and `depth` (4.12) puts out.
std::pair<int, int> Expected(const Layout& l, int volume, int pan, int depth) {
  int left = volume, right = volume;
  if (pan > 0) left = (volume * (4096 - pan)) >> 12;
  if (pan < 0) right = (volume * (4096 + pan)) >> 12;
  if (depth < 0) right = -right;
  auto out = [](int gain, int value) {
    return std::clamp(((gain * value) >> 8) >> 4, -32768, 32767);
  };
  return {out(left, l.left), out(right, l.right)};
}

class MixerGainTable : public ManualMixerTest {
 protected:
  mix_sample* Looped(const Layout& l) {
    std::vector<int> data;
    for (int i = 0; i < 64; ++i) data.insert(data.end(), l.frame.begin(), l.frame.end());
    return Sample(data, l.bits, l.channels, 44100, -1);
  }
};

TEST_F(MixerGainTable, EverySignOfPanAndDepthInEveryLayoutFixedAndRamped) {
  const float pans[] = {-1.0f, -0.5f, -0.25f, 0.0f, 0.25f, 0.5f, 1.0f};
  const float depths[] = {-1.0f, -0.25f, 0.0f, 0.25f, 1.0f};
  const int frames = 16;
  for (const Layout& l : kLayouts) {
    mix_sample* s = Looped(l);
    for (float pan : pans) {
      for (float depth : depths) {
        SCOPED_TRACE(::testing::Message() << l.bits << " bits, " << l.channels << " channels, pan "
                                          << pan << ", depth " << depth);
        const int h = mix_alloc_channel();
        mix_set_volume(h, 0.75f);
        mix_set_pan(h, pan);
        mix_set_depth(h, depth);
        ASSERT_EQ(PlayNow(s, h), h);
        std::vector<std::int16_t> out = Mix(frames);
        const auto steady = Expected(l, 3072, Fixed(pan), Fixed(depth));
        for (int k = 0; k < frames; ++k) {
          ASSERT_EQ(out[2 * k], steady.first) << "fixed, frame " << k << " left";
          ASSERT_EQ(out[2 * k + 1], steady.second) << "fixed, frame " << k << " right";
        }
        // Down to 0.25 while playing: the next block ramps, with the same pan and depth.
        mix_set_volume(h, 0.25f);
        out = Mix(frames);
        const int step = ((1024 - 3072) << 8) / frames;
        for (int k = 0; k < frames; ++k) {
          const auto e = Expected(l, ((3072 << 8) + k * step) >> 8, Fixed(pan), Fixed(depth));
          ASSERT_EQ(out[2 * k], e.first) << "ramped, frame " << k << " left";
          ASSERT_EQ(out[2 * k + 1], e.second) << "ramped, frame " << k << " right";
        }
        mix_stop_channel(h);
        Mix(frames);
      }
    }
  }
}

TEST_F(MixerGainTable, PansPastFullLeftOrRightActAsFullLeftOrRightAtEveryVolume) {
  const float volumes[] = {8.0f, 4.0f, 2.5f, 1.0f, -8.0f};
  const float pans[] = {1.0f, 1.5f, 2.0f, 7.99f, 8.0f, 1e6f, -1.0f, -2.0f, -8.0f, -1e6f};
  for (const Layout& l : kLayouts) {
    mix_sample* s = Looped(l);
    for (float volume : volumes) {
      for (float pan : pans) {
        for (float depth : {0.0f, -1.0f}) {
          SCOPED_TRACE(::testing::Message()
                       << l.bits << " bits, " << l.channels << " channels, volume " << volume
                       << ", pan " << pan << ", depth " << depth);
          const int h = mix_alloc_channel();
          mix_set_volume(h, volume);
          mix_set_pan(h, pan);
          mix_set_depth(h, depth);
          ASSERT_EQ(PlayNow(s, h), h);
          std::vector<std::int16_t> out = Mix(4);
          const int v = std::clamp(Fixed(volume), -32768, 32767);
          const auto e = Expected(l, v, pan > 0 ? 4096 : -4096, Fixed(depth));
          EXPECT_EQ(out[0], e.first) << "left";
          EXPECT_EQ(out[1], e.second) << "right";
          // The silent side is silent: nothing wrapped round.
          EXPECT_EQ(out[pan > 0 ? 0 : 1], 0);
          mix_stop_channel(h);
          Mix(4);
        }
      }
    }
  }
}

}  // namespace
