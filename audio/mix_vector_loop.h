// mix_vector_loop.h - how a vector kernel walks a block: groups of frames where the vectors may
// run, single frames of the scalar code everywhere else.
//
// `Group` is one instruction set's code: a constant kFrames (frames per group) and
// Run<Bits, Channels, Ramped>(run, acc, groups, start), which mixes groups x kFrames frames from
// `start` on. A stretch is handed to it only when every read position in it lies before the
// sample's end, so that it needs no wrap or end test; the loop then puts position, step and
// volume where the scalar loop would have them after as many frames, and applies the end rule.
#pragma once

#include <algorithm>
#include <cstdint>

#include "audio/mix_frame.h"
#include "audio/mix_kernel.h"

namespace mixframe {

// The state at the first frame of a stretch: 32.32 position and step (the step moves by dstep a
// frame), 24.8 volume (moving by dvolume a frame), and the fixed gains of a block without a ramp.
struct GroupStart {
  std::int64_t pos, step, dstep;
  int volume, dvolume;
  Gains gains;
};

// j x step + (0 + 1 + ... + j-1) x dstep: how far `j` frames move the position. Unsigned, so
// that the sum wraps as the scalar loop's frame-by-frame sum would.
inline std::uint64_t Advance(std::uint64_t j, std::int64_t step, std::int64_t dstep) {
  return j * static_cast<std::uint64_t>(step) +
         (j * (j - 1) / 2) * static_cast<std::uint64_t>(dstep);
}

// A MixLoop (mix_kernel.h) of the vectors of `Group`. Any thread.
template <class Group, int Bits, int Channels, bool Ramped>
bool VectorLoop(const MixRun& r, int* acc, int frames, std::int64_t& pos, std::int64_t& played) {
  constexpr int kGroup = Group::kFrames;
  Gains g = GainsFor(r.volume0, r.pan, r.depth);
  std::int64_t step = r.step0;
  std::int64_t dstep = 0;
  int volume = r.volume0 << 8;  // 24.8
  int dvolume = 0;
  if constexpr (Ramped) {
    dstep = (r.step1 - r.step0) / frames;
    dvolume = ((r.volume1 - r.volume0) << 8) / frames;
  }
  int k = 0;
  while (k < frames) {
    int n = 0;
    if (pos >= 0 && pos < r.end) {
      // The step never exceeds the larger of its value now and at the block's end, so the
      // first `room` frames all read before the end.
      const std::int64_t most = Ramped ? std::max(step, r.step1) : step;
      const std::int64_t left = frames - k;
      const std::int64_t room = most > 0 ? (r.end - 1 - pos) / most + 1 : left;
      n = static_cast<int>(std::min(room, left)) / kGroup * kGroup;
    }
    if (n == 0) {
      if constexpr (Ramped) g = GainsFor(volume >> 8, r.pan, r.depth);
      if (Frame<Bits, Channels>(r, g, step, acc + 2 * k, pos, played)) return true;
      if constexpr (Ramped) {
        volume += dvolume;
        step += dstep;
      }
      ++k;
      continue;
    }
    Group::template Run<Bits, Channels, Ramped>(r, acc + 2 * k, n / kGroup,
                                                GroupStart{pos, step, dstep, volume, dvolume, g});
    const auto moved =
        static_cast<std::int64_t>(Advance(static_cast<std::uint64_t>(n), step, dstep));
    pos += moved;
    played += moved;
    if constexpr (Ramped) {
      step += n * dstep;
      volume += n * dvolume;
    }
    k += n;
    if (pos >= r.end) {
      if (!r.loop) return true;
      pos %= r.end;
    }
  }
  return false;
}

// The loops of one instruction set, for the kernel table.
template <class Group>
constexpr MixLoops LoopsOf(MixKernel kernel, const char* name) {
  return MixLoops{kernel,
                  name,
                  {{{VectorLoop<Group, 8, 1, false>, VectorLoop<Group, 8, 1, true>},
                    {VectorLoop<Group, 8, 2, false>, VectorLoop<Group, 8, 2, true>}},
                   {{VectorLoop<Group, 16, 1, false>, VectorLoop<Group, 16, 1, true>},
                    {VectorLoop<Group, 16, 2, false>, VectorLoop<Group, 16, 2, true>}}}};
}

}  // namespace mixframe
