// Every vector kernel set against the scalar one, sample for sample: each layout, fixed and
// ramped gains, pans and depths of every sign, rates below, at and above 1, voices that end or
// wrap inside a block, starting anywhere; then whole mixing passes through a mixer. A set this
// processor cannot run is skipped by name.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "audio/manual_mixer.h"
#include "audio/mix_kernel.h"
#include "audio/mix_sample.h"

// Failure messages name the set rather than printing its bytes.
void PrintTo(MixKernel kernel, std::ostream* os) { *os << MixKernelName(kernel); }

namespace {

const MixKernel kVectorKernels[] = {MixKernel::kSse2, MixKernel::kAvx2};

std::string KernelName(const ::testing::TestParamInfo<MixKernel>& info) {
  return MixKernelName(info.param);
}

#define SKIP_IF_NOT_RUN(kernel)                                                            \
  do {                                                                                     \
    if (!MixKernelAvailable(kernel)) {                                                     \
      GTEST_SKIP() << "this processor or build does not run the " << MixKernelName(kernel) \
                   << " kernels";                                                          \
    }                                                                                      \
  } while (0)

// 32.32 samples per output frame for a 16.16 rate, as the voice works it out.
std::int64_t StepFor(int rate, int hertz, int channels) {
  return ((static_cast<std::int64_t>(rate) * hertz / 44100) * channels) << 16;
}

struct Outcome {
  std::vector<int> acc;
  std::int64_t pos, played;
  bool ended;
};

Outcome RunLoop(MixKernel kernel, const MixRun& run, int bits, int channels, bool ramped,
                const std::vector<int>& acc, std::int64_t pos) {
  Outcome o{acc, pos, pos * 3, false};  // `played` starts anywhere: it never wraps
  const int frames = static_cast<int>(acc.size() / 2);
  o.ended = MixLoopsFor(kernel).loops[bits == 16][channels == 2][ramped](run, o.acc.data(), frames,
                                                                         o.pos, o.played);
  return o;
}

class VectorKernel : public ::testing::TestWithParam<MixKernel> {};

TEST_P(VectorKernel, MatchesTheScalarLoopsInEveryCase) {
  const MixKernel kernel = GetParam();
  SKIP_IF_NOT_RUN(kernel);
  std::mt19937 random(33);
  struct Layout {
    int bits, channels;
  };
  const Layout layouts[] = {{8, 1}, {8, 2}, {16, 1}, {16, 2}};
  // (length, loop): one-frame loops up to long samples, looping and one-shot.
  const std::pair<int, bool> samples[] = {{1, true},  {2, true},   {3, true},    {5, false},
                                          {17, true}, {17, false}, {300, false}, {5000, true}};
  // 16.16 rates: held still, below 1, exactly 1, above 1, far above.
  const int rates[] = {0, 24248, 65536, 85196, 131072, 517734};
  const int hertzes[] = {22050, 44100, 48000};
  const int pans[] = {-4096, -1500, 0, 2048, 4096};
  const int depths[] = {-4096, 0, 700};
  const int frameCounts[] = {1, 7, 8, 9, 33, 512};
  int cases = 0, ended = 0, wrapped = 0;
  for (const Layout& l : layouts) {
    for (auto [length, loop] : samples) {
      std::vector<unsigned char> pcm(static_cast<std::size_t>(length) * l.channels * l.bits / 8);
      for (auto& b : pcm) b = static_cast<unsigned char>(random());
      // The loudest values too, where the interpolation's products are largest.
      pcm[0] = 0x00;
      if (pcm.size() > 3) pcm[1] = 0x80, pcm[2] = 0xFF, pcm[3] = 0x7F;
      const int hertz = hertzes[random() % 3];
      mix_sample* s = NewMixSample(length, l.bits, l.channels, hertz, pcm.data(), loop ? -1 : 0);
      ASSERT_NE(s, nullptr);
      for (bool ramped : {false, true}) {
        for (int pan : pans) {
          for (int depth : depths) {
            for (int rate : rates) {
              for (int frames : frameCounts) {
                MixRun run;
                run.data = s->data;
                run.end = static_cast<std::int64_t>(l.channels) * length << 32;
                run.loop = loop;
                run.pan = pan;
                run.depth = depth;
                run.step0 = StepFor(rate, hertz, l.channels);
                run.step1 = ramped ? StepFor(rates[random() % 6], hertz, l.channels) : run.step0;
                const int volumes[] = {-32768, -4096, 0, 409, 4096, 32767};
                run.volume0 = volumes[random() % 6];
                run.volume1 = ramped ? volumes[random() % 6] : run.volume0;
                // Anywhere, or on a whole frame: whole steps from there land on the end itself.
                std::int64_t pos = static_cast<std::int64_t>(random() % (run.end >> 16)) << 16 |
                                   (random() & 0xFFFF);
                if (random() % 3 == 0)
                  pos = static_cast<std::int64_t>(random() % length) * l.channels << 32;
                std::vector<int> acc(static_cast<std::size_t>(frames) * 2);
                for (int& a : acc) a = static_cast<int>(random());
                acc[0] = INT_MAX;  // the add wraps, in every kernel alike
                SCOPED_TRACE(::testing::Message()
                             << l.bits << " bits, " << l.channels << " channels, " << length
                             << (loop ? " looped" : " once") << ", " << hertz << " Hz, rate "
                             << rate << (ramped ? " ramped" : " fixed") << ", volume "
                             << run.volume0 << " to " << run.volume1 << ", pan " << pan
                             << ", depth " << depth << ", " << frames << " frames from " << pos);
                const Outcome want =
                    RunLoop(MixKernel::kScalar, run, l.bits, l.channels, ramped, acc, pos);
                const Outcome got = RunLoop(kernel, run, l.bits, l.channels, ramped, acc, pos);
                ASSERT_EQ(got.ended, want.ended);
                ASSERT_EQ(got.pos, want.pos);
                ASSERT_EQ(got.played, want.played);
                for (std::size_t i = 0; i < acc.size(); ++i) {
                  ASSERT_EQ(got.acc[i], want.acc[i])
                      << "frame " << i / 2 << (i % 2 ? " right" : " left");
                }
                ++cases;
                ended += want.ended;
                wrapped += loop && want.played - pos * 3 > run.end - pos;
              }
            }
          }
        }
      }
      ReleaseMixSample(s);
    }
  }
  // The cases did reach the ends: one-shots ending and loops wrapping inside a block.
  EXPECT_GT(ended, cases / 20);
  EXPECT_GT(wrapped, cases / 20);
}

// Whole passes: a mixer on the vector set puts out what one on the scalar set does, while voices
// start, ramp, pause, end and loop across blocks of odd sizes.
class VectorKernelMixer : public ManualMixerTest, public ::testing::WithParamInterface<MixKernel> {
 protected:
  std::vector<std::int16_t> Scene(MixKernel kernel) {
    device_.getMixer()->SetKernel(kernel);
    EXPECT_EQ(device_.getMixer()->Kernel(), kernel);
    std::mt19937 random(7);
    std::vector<int> values(4000);
    for (int& v : values) v = static_cast<int>(random() % 65536) - 32768;
    std::vector<int> bytes(4000);
    for (int& v : bytes) v = static_cast<int>(random() % 256);
    mix_sample* samples[] = {
        Sample(values, 16, 2, 44100, -1),
        Sample(values, 16, 1, 22050, 0),
        Sample(bytes, 8, 2, 11025, -1),
        Sample(bytes, 8, 1, 48000, 0),
        Sample({100, -200, 300}, 16, 1, 44100, -1),
    };
    std::vector<int> handles;
    for (int i = 0; i < 20; ++i) {
      const int h = mix_alloc_channel();
      mix_set_volume(h, 0.05f * static_cast<float>(i % 7) + 0.1f);
      mix_set_pan(h, static_cast<float>(i % 5) / 2.0f - 1.0f);
      mix_set_depth(h, i % 3 == 0 ? -1.0f : 0.0f);
      mix_set_rate(h, 0.4f + 0.3f * static_cast<float>(i % 6));
      mix_play(samples[i % 5], 0, h);
      handles.push_back(h);
    }
    Now() += 20;
    std::vector<std::int16_t> out;
    const int blocks[] = {512, 333, 1024, 7, 600, 1000, 250, 1024};
    for (int b = 0; b < 8; ++b) {
      for (std::size_t i = 0; i < handles.size(); ++i) {
        if ((i + b) % 4 == 0) mix_set_volume(handles[i], 0.1f * static_cast<float>(b));
        if ((i + b) % 5 == 0) mix_set_rate(handles[i], 0.25f + 0.5f * static_cast<float>(b % 3));
        if (b == 3 && i % 6 == 0) mix_set_paused(handles[i], 1);
        if (b == 5 && i % 6 == 0) mix_set_paused(handles[i], 0);
      }
      const std::vector<std::int16_t> block = Mix(blocks[b]);
      out.insert(out.end(), block.begin(), block.end());
    }
    for (int h : handles) mix_stop_channel(h);
    Mix(16);
    return out;
  }
};

TEST_P(VectorKernelMixer, MixesWhatTheScalarMixerMixes) {
  SKIP_IF_NOT_RUN(GetParam());
  const std::vector<std::int16_t> want = Scene(MixKernel::kScalar);
  const std::vector<std::int16_t> got = Scene(GetParam());
  ASSERT_EQ(got.size(), want.size());
  int loud = 0;
  for (std::size_t i = 0; i < want.size(); ++i) {
    ASSERT_EQ(got[i], want[i]) << "value " << i;
    loud += want[i] != 0;
  }
  EXPECT_GT(loud, static_cast<int>(want.size()) / 2);  // the scene was no silence
}

INSTANTIATE_TEST_SUITE_P(Kernels, VectorKernel, ::testing::ValuesIn(kVectorKernels), KernelName);
INSTANTIATE_TEST_SUITE_P(Kernels, VectorKernelMixer, ::testing::ValuesIn(kVectorKernels),
                         KernelName);

TEST(MixKernelChoice, TheWidestSetThisProcessorRunsIsTheMixersDefault) {
  ManualMixerDevice device;
  ASSERT_EQ(device.init(), 0);
  EXPECT_TRUE(MixKernelAvailable(BestMixKernel()));
  EXPECT_EQ(device.getMixer()->Kernel(), BestMixKernel());
  for (MixKernel k : kVectorKernels) {
    if (MixKernelAvailable(k)) {
      EXPECT_GE(static_cast<int>(BestMixKernel()), static_cast<int>(k));
    }
  }
}

}  // namespace
