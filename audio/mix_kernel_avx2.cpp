// mix_kernel_avx2.cpp - the inner loops eight frames at a time with AVX2, for the processors that
// have it (the kernel table asks the processor at run time).
//
// Every function here carries the avx2 target attribute instead of the whole build being
// compiled for AVX2, so the program still runs on a plain x86-64. The frames' bytes come in by
// gathers straight from the position vectors; the 256-bit operations work within each 128-bit
// half, so a group's frames sit in the order 0 1 4 5 | 2 3 6 7 (the order the indices fall out
// of the 64-bit positions) until the gains' unpacking puts them back in line. Each layout's
// values arrive parted at once into "now" and "one frame on". The shapes are explained in
// mix_kernel.h.
#include "audio/mix_kernel.h"

#ifdef ZX_MIX_X86

#include <immintrin.h>

#include "audio/mix_vector_loop.h"

#define ZX_AVX2 __attribute__((target("avx2")))

namespace {

using mixframe::Advance;
using mixframe::GroupStart;

// Each frame's (left, right) at the read position in `a` and one frame on in `b`, eight frames
// in the order 0 1 4 5 | 2 3 6 7, from the positions of frames 0-3 and 4-7. One gather of eight
// 32-bit words brings in a frame's four bytes (two for 8-bit mono, which reads two more that the
// sample's data is padded for); 16-bit stereo takes two, one for each of its two frames.
template <int Bits, int Channels>
ZX_AVX2 inline void Frames(const unsigned char* d, __m256i p0, __m256i p1, __m256i& a, __m256i& b) {
  __m256i i = _mm256_castps_si256(_mm256_shuffle_ps(_mm256_castsi256_ps(_mm256_srli_epi64(p0, 32)),
                                                    _mm256_castsi256_ps(_mm256_srli_epi64(p1, 32)),
                                                    _MM_SHUFFLE(2, 0, 2, 0)));
  if constexpr (Channels == 2) i = _mm256_andnot_si256(_mm256_set1_epi32(1), i);
  const auto* w = reinterpret_cast<const int*>(d);
  if constexpr (Bits == 16 && Channels == 2) {
    a = _mm256_i32gather_epi32(w, i, 2);
    b = _mm256_i32gather_epi32(w + 1, i, 2);
  } else if constexpr (Bits == 16) {
    const __m256i g = _mm256_i32gather_epi32(w, i, 2);  // (value, next value)
    a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(g, _MM_SHUFFLE(2, 2, 0, 0)),
                               _MM_SHUFFLE(2, 2, 0, 0));
    b = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(g, _MM_SHUFFLE(3, 3, 1, 1)),
                               _MM_SHUFFLE(3, 3, 1, 1));
  } else {
    // Each byte u goes to the high half of a 16-bit lane; flipping the top bit makes u << 8 into
    // (u - 128) << 8. `now` picks the bytes at the read position, `next` those a frame on.
    const __m256i g = _mm256_i32gather_epi32(w, i, 1);
    const __m256i now =
        Channels == 2 ? _mm256_setr_epi8(-1, 0, -1, 1, -1, 4, -1, 5, -1, 8, -1, 9, -1, 12, -1, 13,
                                         -1, 0, -1, 1, -1, 4, -1, 5, -1, 8, -1, 9, -1, 12, -1, 13)
                      : _mm256_setr_epi8(-1, 0, -1, 0, -1, 4, -1, 4, -1, 8, -1, 8, -1, 12, -1, 12,
                                         -1, 0, -1, 0, -1, 4, -1, 4, -1, 8, -1, 8, -1, 12, -1, 12);
    const __m256i next = _mm256_add_epi8(now, _mm256_set1_epi16(Channels == 2 ? 0x0200 : 0x0100));
    const __m256i sign = _mm256_set1_epi16(-32768);
    a = _mm256_xor_si256(_mm256_shuffle_epi8(g, now), sign);
    b = _mm256_xor_si256(_mm256_shuffle_epi8(g, next), sign);
  }
}

// a + floor((b - a) x f / 65536) in every 16-bit lane, f unsigned.
ZX_AVX2 inline __m256i Lerp(__m256i a, __m256i b, __m256i f) {
  const __m256i high = _mm256_srai_epi16(f, 15);  // f >= 32768: the signed multiply is 65536 short
  const __m256i hb = _mm256_add_epi16(_mm256_mulhi_epi16(b, f), _mm256_and_si256(high, b));
  const __m256i ha = _mm256_add_epi16(_mm256_mulhi_epi16(a, f), _mm256_and_si256(high, a));
  const __m256i sign = _mm256_set1_epi16(-32768);
  const __m256i lb = _mm256_xor_si256(_mm256_mullo_epi16(b, f), sign);
  const __m256i la = _mm256_xor_si256(_mm256_mullo_epi16(a, f), sign);
  const __m256i borrow = _mm256_cmpgt_epi16(la, lb);  // -1 where the low halves borrow
  return _mm256_add_epi16(_mm256_add_epi16(a, _mm256_sub_epi16(hb, ha)), borrow);
}

// 32-bit gains as the two 16-bit halves a multiply-add sums.
ZX_AVX2 inline __m256i SplitGains(__m256i g) {
  const __m256i g1 = _mm256_srai_epi32(g, 1);
  const __m256i g2 = _mm256_sub_epi32(g, g1);
  return _mm256_or_si256(_mm256_and_si256(g1, _mm256_set1_epi32(0xFFFF)),
                         _mm256_slli_epi32(g2, 16));
}

// Left and right gains of four frames whose 24.8 volumes are in lanes (0, 1), (2, 3), ...
ZX_AVX2 inline __m256i RampGains(__m256i volume, __m256i pan, __m256i negate) {
  __m256i g = _mm256_srai_epi32(_mm256_madd_epi16(_mm256_srai_epi32(volume, 8), pan), 12);
  g = _mm256_sub_epi32(_mm256_xor_si256(g, negate), negate);
  return SplitGains(g);
}

ZX_AVX2 inline void Accumulate(int* acc, __m256i s, __m256i gains0123, __m256i gains4567) {
  auto* out = reinterpret_cast<__m256i*>(acc);
  const __m256i lo =
      _mm256_srai_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(s, s), gains0123), 8);
  const __m256i hi =
      _mm256_srai_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(s, s), gains4567), 8);
  _mm256_storeu_si256(out, _mm256_add_epi32(_mm256_loadu_si256(out), lo));
  _mm256_storeu_si256(out + 1, _mm256_add_epi32(_mm256_loadu_si256(out + 1), hi));
}

struct Avx2Group {
  static constexpr int kFrames = 8;

  template <int Bits, int Channels, bool Ramped>
  ZX_AVX2 static void Run(const MixRun& r, int* acc, int groups, const GroupStart& s) {
    constexpr int kShift = Channels == 2 ? 17 : 16;  // the fraction's lowest bit
    long long at[8], inc[8];
    // Frame j of the next group is Advance(8, ...) + 8 j dstep further on; that grows by
    // 64 dstep a group.
    for (int j = 0; j < 8; ++j) {
      at[j] =
          static_cast<long long>(static_cast<std::uint64_t>(s.pos) + Advance(j, s.step, s.dstep));
      inc[j] = static_cast<long long>(Advance(8, s.step, s.dstep) +
                                      8 * static_cast<std::uint64_t>(j) *
                                          static_cast<std::uint64_t>(s.dstep));
    }
    __m256i p0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    __m256i p1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 4));
    __m256i inc0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(inc));
    __m256i inc1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(inc + 4));
    const __m256i incinc =
        _mm256_set1_epi64x(static_cast<long long>(64 * static_cast<std::uint64_t>(s.dstep)));

    const mixframe::Gains& g = s.gains;
    __m256i gains0123 = SplitGains(
        _mm256_setr_epi32(g.left, g.right, g.left, g.right, g.left, g.right, g.left, g.right));
    __m256i gains4567 = gains0123;
    // Ramped: 24.8 volumes of frames (0 0 1 1 | 2 2 3 3) and (4 4 5 5 | 6 6 7 7), the pan's
    // factor on each side, and which side the depth turns over.
    __m256i v0123 = _mm256_setzero_si256(), v4567 = v0123, dv = v0123, pan = v0123, negate = v0123;
    if constexpr (Ramped) {
      const int d = s.dvolume;
      v0123 = _mm256_add_epi32(_mm256_set1_epi32(s.volume),
                               _mm256_setr_epi32(0, 0, d, d, 2 * d, 2 * d, 3 * d, 3 * d));
      v4567 = _mm256_add_epi32(v0123, _mm256_set1_epi32(4 * d));
      dv = _mm256_set1_epi32(8 * d);
      const int left = r.pan > 0 ? 4096 - r.pan : 4096, right = r.pan < 0 ? 4096 + r.pan : 4096;
      pan = _mm256_setr_epi32(left, right, left, right, left, right, left, right);
      negate = r.depth < 0 ? _mm256_setr_epi32(0, -1, 0, -1, 0, -1, 0, -1) : _mm256_setzero_si256();
    }

    for (int n = 0; n < groups; ++n, acc += 16) {
      __m256i a, b;
      Frames<Bits, Channels>(r.data, p0, p1, a, b);
      // Each frame's fraction, once for left and once for right, in the same order.
      __m256i f = _mm256_castps_si256(_mm256_shuffle_ps(
          _mm256_castsi256_ps(_mm256_srli_epi64(p0, kShift)),
          _mm256_castsi256_ps(_mm256_srli_epi64(p1, kShift)), _MM_SHUFFLE(2, 0, 2, 0)));
      f = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(f, _MM_SHUFFLE(2, 2, 0, 0)),
                                 _MM_SHUFFLE(2, 2, 0, 0));
      if constexpr (Ramped) {
        gains0123 = RampGains(v0123, pan, negate);
        gains4567 = RampGains(v4567, pan, negate);
        v0123 = _mm256_add_epi32(v0123, dv);
        v4567 = _mm256_add_epi32(v4567, dv);
      }
      Accumulate(acc, Lerp(a, b, f), gains0123, gains4567);
      p0 = _mm256_add_epi64(p0, inc0);
      p1 = _mm256_add_epi64(p1, inc1);
      if constexpr (Ramped) {
        inc0 = _mm256_add_epi64(inc0, incinc);
        inc1 = _mm256_add_epi64(inc1, incinc);
      }
    }
  }
};

}  // namespace

const MixLoops kAvx2MixLoops = mixframe::LoopsOf<Avx2Group>(MixKernel::kAvx2, "avx2");

#endif
