// mix_kernel.h - the mixer's inner loops, one set per instruction set, chosen from a table.
//
// A kernel adds `frames` frames of one voice to the accumulation buffer. Three sets exist: plain
// C++ (every processor), SSE2 (every x86-64) and AVX2 (chosen at run time where the processor has
// it). All three produce the same samples, bit for bit: the vector ones are the scalar one done
// several frames at a time, and fall back to it frame by frame where it is simpler.
//
// Why the vector kernels are shaped as they are:
// - Every sample layout is widened first into one form: for each output frame, 16-bit left and
//   right values at the read position and one frame on (a mono sample repeats its value for both
//   sides). An 8-bit value u becomes (u - 128) << 8, which makes the 8-bit interpolation
//   (a + ((b - a) * f) >> 8) the very same sum as the 16-bit one. So one interpolation and one
//   gain stage serve all four layouts.
// - Interpolation is a + floor((b - a) * f / 65536) with f an unsigned 16-bit fraction. The
//   difference needs 17 bits, so it is taken as b * f - a * f, each product split into its high
//   and low 16 bits by the 16-bit multiplies, with the borrow of the low halves subtracted. The
//   result always lies between a and b, so 16-bit lanes hold it exactly: eight values a vector.
// - Gains reach 32768 (a negated full volume) and do not fit 16 bits; each is split into two
//   halves that do, and one multiply-add forms gain * s in 32 bits.
// - Read positions advance in 32.32 as in the scalar loop: four (SSE2) or eight (AVX2) lanes of
//   64 bits, moved on per group by the exact sums the scalar loop would add frame by frame, so
//   ramped steps land on the same positions. A group is mixed only when all its positions lie
//   before the sample's end; the frames around a loop's wrap or a one-shot's end, and a block's
//   last few frames, go through the scalar code.
#pragma once

#include <cstdint>

// The vector sets exist in x86-64 builds; ZX_MIX_SCALAR_ONLY leaves them out, as a build for
// another processor does.
#if defined(__x86_64__) && !defined(ZX_MIX_SCALAR_ONLY)
#define ZX_MIX_X86 1
#endif

// The kernel sets, narrowest first.
enum class MixKernel : int { kScalar = 0, kSse2 = 1, kAvx2 = 2 };

// What one block of one voice needs: the sample, its end, and the voice's settings at the start
// and the end of the block.
struct MixRun {
  const unsigned char* data;  // the sample's frames and its guard frame
  std::int64_t end;           // 32.32 samples: channels x length
  bool loop;
  std::int64_t step0, step1;  // 32.32 samples per output frame, never negative
  int volume0, volume1;       // 4.12
  int pan, depth;             // 4.12, pan within -4096 .. 4096
};

// Adds `frames` (> 0) frames at `acc` (left/right interleaved), moving `pos` and `played` on;
// true when a one-shot reached its end (the rest of the block is left alone). A ramped loop runs
// volume and step linearly from their values at the start to those at the end.
using MixLoop = bool (*)(const MixRun& run, int* acc, int frames, std::int64_t& pos,
                         std::int64_t& played);

// One set: [16 bits][stereo][ramped].
struct MixLoops {
  MixKernel kernel;
  const char* name;
  MixLoop loops[2][2][2];
};

// Whether this processor (and this build) runs `kernel`; kScalar always. Any thread.
bool MixKernelAvailable(MixKernel kernel);
// The widest set this processor runs. Any thread.
MixKernel BestMixKernel();
// The loops of `kernel`, or of the scalar set when the processor cannot run it. Any thread.
const MixLoops& MixLoopsFor(MixKernel kernel);
// "scalar", "sse2" or "avx2". Any thread.
const char* MixKernelName(MixKernel kernel);

// The sets each implementation file provides; the vector ones exist on x86-64 only.
extern const MixLoops kScalarMixLoops;
#ifdef ZX_MIX_X86
extern const MixLoops kSse2MixLoops;
extern const MixLoops kAvx2MixLoops;
#endif
