// mix_kernel_scalar.cpp - the plain C++ inner loops, for every processor; the other kernels are
// measured against these.
//
// One loop per sample layout (8/16 bits, mono/stereo), each in a fixed-gain form and in a ramped
// form that moves volume and step linearly across the block, in 24.8 and 32.32 steps.
#include "audio/mix_frame.h"
#include "audio/mix_kernel.h"

namespace {

using mixframe::Gains;
using mixframe::GainsFor;

template <int Bits, int Channels, bool Ramped>
bool ScalarLoop(const MixRun& r, int* acc, int frames, std::int64_t& pos, std::int64_t& played) {
  Gains g = GainsFor(r.volume0, r.pan, r.depth);
  std::int64_t step = r.step0;
  std::int64_t dstep = 0;
  int volume = r.volume0 << 8;  // 24.8
  int dvolume = 0;
  if constexpr (Ramped) {
    dstep = (r.step1 - r.step0) / frames;
    dvolume = ((r.volume1 - r.volume0) << 8) / frames;
  }
  for (int k = 0; k < frames; ++k) {
    if constexpr (Ramped) g = GainsFor(volume >> 8, r.pan, r.depth);
    if (mixframe::Frame<Bits, Channels>(r, g, step, acc + 2 * k, pos, played)) return true;
    if constexpr (Ramped) {
      volume += dvolume;
      step += dstep;
    }
  }
  return false;
}

}  // namespace

const MixLoops kScalarMixLoops = {
    MixKernel::kScalar,
    "scalar",
    {{{ScalarLoop<8, 1, false>, ScalarLoop<8, 1, true>},
      {ScalarLoop<8, 2, false>, ScalarLoop<8, 2, true>}},
     {{ScalarLoop<16, 1, false>, ScalarLoop<16, 1, true>},
      {ScalarLoop<16, 2, false>, ScalarLoop<16, 2, true>}}},
};
