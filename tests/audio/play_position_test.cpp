// A voice's play position counts the sound's own frames, whatever the layout of its sample (8 or
// 16 bits, one or two channels) and whichever kernel set mixes it: to the end of a one-shot, round
// a loop, at other rates and sample rates, silent (where the mixer skips the arithmetic), while
// the volume ramps, held while paused, and on a channel that played another layout before.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "audio/manual_mixer.h"
#include "audio/mix_kernel.h"

namespace {

struct Layout {
  int bits, channels;
};

class PlayPosition : public ManualMixerTest,
                     public ::testing::WithParamInterface<std::tuple<MixKernel, Layout>> {
 protected:
  void SetUp() override {
    ManualMixerTest::SetUp();
    if (!MixKernelAvailable(Kernel())) {
      GTEST_SKIP() << "this processor or build does not run the " << MixKernelName(Kernel())
                   << " kernels";
    }
    device_.getMixer()->SetKernel(Kernel());
  }
  static MixKernel Kernel() { return std::get<0>(GetParam()); }
  static int Bits() { return std::get<1>(GetParam()).bits; }
  static int Channels() { return std::get<1>(GetParam()).channels; }

  // `frames` frames of this layout, loud enough to be heard at either depth.
  mix_sample* Sound(int frames, int hertz = 44100, int loop = 0) {
    const int value = Bits() == 16 ? 3000 : 200;
    return Sample(std::vector<int>(static_cast<std::size_t>(frames * Channels()), value), Bits(),
                  Channels(), hertz, loop);
  }
};

TEST_P(PlayPosition, CountsTheSoundsFramesNotItsValues) {
  // A one-shot played to its end and past it.
  int h = PlayNow(Sound(300));
  Mix(120);
  EXPECT_EQ(mix_channel_position(h), 120);
  Mix(400);
  EXPECT_EQ(mix_channel_position(h), 300) << "a one-shot stops at its length";

  // Round a loop several times, in blocks of odd sizes.
  h = PlayNow(Sound(100, 44100, -1));
  Mix(77);
  Mix(173);
  EXPECT_EQ(mix_channel_position(h), 250);

  // Half the output's rate: a frame of the sound every two output frames; rate 2 on top of it,
  // one a frame.
  h = PlayNow(Sound(1000, 22050));
  Mix(200);
  EXPECT_EQ(mix_channel_position(h), 100);
  mix_set_rate(h, 2.0f);
  Mix(64);   // the rate ramps over the block
  Mix(100);  // then one frame a frame
  const std::int64_t ramped = mix_channel_position(h);
  EXPECT_GT(ramped, 132 + 100);
  EXPECT_LT(ramped, 164 + 100);

  // Silent from the start: the mixer only moves it on.
  int silent = mix_alloc_channel();
  mix_set_volume(silent, 0.0f);
  ASSERT_EQ(PlayNow(Sound(100, 44100, -1), silent), silent);
  Mix(1000);
  EXPECT_EQ(mix_channel_position(silent), 1000);

  // Ramping down to silence, then silent.
  h = PlayNow(Sound(100, 44100, -1));
  Mix(10);
  mix_set_volume(h, 0.0f);
  Mix(64);
  Mix(26);
  EXPECT_EQ(mix_channel_position(h), 100);

  // Held while paused, and on from there.
  mix_set_paused(h, 1);
  Mix(200);
  EXPECT_EQ(mix_channel_position(h), 100);
  mix_set_paused(h, 0);
  Mix(50);
  EXPECT_EQ(mix_channel_position(h), 150);
}

TEST_P(PlayPosition, AChannelThatPlayedTheOtherLayoutCountsInTheNewOnesFrames) {
  const int other = 3 - Channels();
  const int value = Bits() == 16 ? 3000 : 200;
  int h = mix_alloc_channel();
  ASSERT_EQ(PlayNow(Sample(std::vector<int>(static_cast<std::size_t>(200 * other), value), Bits(),
                           other, 44100, -1),
                    h),
            h);
  Mix(90);
  EXPECT_EQ(mix_channel_position(h), 90);
  ASSERT_EQ(PlayNow(Sound(200, 44100, -1), h), h);
  Mix(60);
  EXPECT_EQ(mix_channel_position(h), 60);
}

const Layout kLayouts[] = {{8, 1}, {8, 2}, {16, 1}, {16, 2}};
const MixKernel kKernels[] = {MixKernel::kScalar, MixKernel::kSse2, MixKernel::kAvx2};

INSTANTIATE_TEST_SUITE_P(Layouts, PlayPosition,
                         ::testing::Combine(::testing::ValuesIn(kKernels),
                                            ::testing::ValuesIn(kLayouts)),
                         [](const auto& info) {
                           const Layout layout = std::get<1>(info.param);
                           return std::string(MixKernelName(std::get<0>(info.param))) + "_" +
                                  std::to_string(layout.bits) + "Bit" +
                                  (layout.channels == 2 ? "Stereo" : "Mono");
                         });

}  // namespace
