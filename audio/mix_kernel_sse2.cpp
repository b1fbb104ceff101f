// mix_kernel_sse2.cpp - the inner loops four frames at a time with SSE2, which every x86-64 has.
//
// SSE2 cannot gather, so each frame's few bytes are loaded one by one, from addresses that a
// plain-register copy of the position walk gives; widening, interpolation and gains then run on
// all four frames at once (the shapes are explained in mix_kernel.h). Needs nothing beyond the
// x86-64 baseline; other processors get no SSE2 set (the table leaves it out).
#include "audio/mix_kernel.h"

#ifdef ZX_MIX_X86

#include <emmintrin.h>

#include <cstring>

#include "audio/mix_vector_loop.h"

namespace {

using mixframe::Advance;
using mixframe::GroupStart;

inline int Load32(const unsigned char* p) {
  int v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline int Load16(const unsigned char* p) {
  std::uint16_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// Byte offset of the frame a 32.32 position reads.
template <int Bits, int Channels>
inline std::int64_t Offset(std::int64_t pos) {
  std::int64_t i = pos >> 32;
  if constexpr (Channels == 2) i &= ~std::int64_t{1};
  return Bits == 16 ? 2 * i : i;
}

// 8-bit values u in the low bytes become the 16-bit values (u - 128) << 8.
inline __m128i Widen8(__m128i bytes) {
  return _mm_xor_si128(_mm_unpacklo_epi8(_mm_setzero_si128(), bytes), _mm_set1_epi16(-32768));
}

// The quads (left, right, next left, next right) of the frames at two positions.
template <int Bits, int Channels>
inline __m128i Quads(const unsigned char* d, std::int64_t p0, std::int64_t p1) {
  const unsigned char* a = d + Offset<Bits, Channels>(p0);
  const unsigned char* b = d + Offset<Bits, Channels>(p1);
  if constexpr (Bits == 16 && Channels == 2) {
    return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(a)),
                              _mm_loadl_epi64(reinterpret_cast<const __m128i*>(b)));
  } else if constexpr (Bits == 16) {
    const __m128i w =
        _mm_unpacklo_epi32(_mm_cvtsi32_si128(Load32(a)), _mm_cvtsi32_si128(Load32(b)));
    return _mm_unpacklo_epi16(w, w);
  } else if constexpr (Channels == 2) {
    return Widen8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(Load32(a)), _mm_cvtsi32_si128(Load32(b))));
  } else {
    const __m128i w = Widen8(_mm_cvtsi32_si128(Load16(a) | (Load16(b) << 16)));
    return _mm_unpacklo_epi16(w, w);
  }
}

// a + floor((b - a) x f / 65536) in every 16-bit lane, f unsigned.
inline __m128i Lerp(__m128i a, __m128i b, __m128i f) {
  const __m128i high = _mm_srai_epi16(f, 15);  // f >= 32768: the signed multiply is 65536 short
  const __m128i hb = _mm_add_epi16(_mm_mulhi_epi16(b, f), _mm_and_si128(high, b));
  const __m128i ha = _mm_add_epi16(_mm_mulhi_epi16(a, f), _mm_and_si128(high, a));
  const __m128i sign = _mm_set1_epi16(-32768);
  const __m128i lb = _mm_xor_si128(_mm_mullo_epi16(b, f), sign);
  const __m128i la = _mm_xor_si128(_mm_mullo_epi16(a, f), sign);
  const __m128i borrow = _mm_cmpgt_epi16(la, lb);  // -1 where the low halves borrow
  return _mm_add_epi16(_mm_add_epi16(a, _mm_sub_epi16(hb, ha)), borrow);
}

// 32-bit gains as the two 16-bit halves a multiply-add sums.
inline __m128i SplitGains(__m128i g) {
  const __m128i g1 = _mm_srai_epi32(g, 1);
  const __m128i g2 = _mm_sub_epi32(g, g1);
  return _mm_or_si128(_mm_and_si128(g1, _mm_set1_epi32(0xFFFF)), _mm_slli_epi32(g2, 16));
}

inline __m128i PairGains(const mixframe::Gains& g) {
  return SplitGains(_mm_set_epi32(g.right, g.left, g.right, g.left));
}

// Left and right gains of two frames whose 24.8 volumes are in lanes (0, 1) and (2, 3).
inline __m128i RampGains(__m128i volume, __m128i pan, __m128i negate) {
  __m128i g = _mm_srai_epi32(_mm_madd_epi16(_mm_srai_epi32(volume, 8), pan), 12);
  g = _mm_sub_epi32(_mm_xor_si128(g, negate), negate);
  return SplitGains(g);
}

inline void Accumulate(int* acc, __m128i s, __m128i gains01, __m128i gains23) {
  auto* out = reinterpret_cast<__m128i*>(acc);
  const __m128i lo = _mm_srai_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(s, s), gains01), 8);
  const __m128i hi = _mm_srai_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(s, s), gains23), 8);
  _mm_storeu_si128(out, _mm_add_epi32(_mm_loadu_si128(out), lo));
  _mm_storeu_si128(out + 1, _mm_add_epi32(_mm_loadu_si128(out + 1), hi));
}

struct Sse2Group {
  static constexpr int kFrames = 4;

  template <int Bits, int Channels, bool Ramped>
  static void Run(const MixRun& r, int* acc, int groups, const GroupStart& s) {
    constexpr int kShift = Channels == 2 ? 17 : 16;  // the fraction's lowest bit
    auto at = [&](std::uint64_t j) {
      return static_cast<long long>(static_cast<std::uint64_t>(s.pos) +
                                    Advance(j, s.step, s.dstep));
    };
    // Frame j of the next group is Advance(4, ...) + 4 j dstep further on; that grows by
    // 16 dstep a group.
    auto inc = [&](std::uint64_t j) {
      return static_cast<long long>(Advance(4, s.step, s.dstep) +
                                    4 * j * static_cast<std::uint64_t>(s.dstep));
    };
    __m128i p01 = _mm_set_epi64x(at(1), at(0)), p23 = _mm_set_epi64x(at(3), at(2));
    __m128i inc01 = _mm_set_epi64x(inc(1), inc(0)), inc23 = _mm_set_epi64x(inc(3), inc(2));
    const __m128i incinc =
        _mm_set1_epi64x(static_cast<long long>(16 * static_cast<std::uint64_t>(s.dstep)));

    __m128i gains01 = PairGains(s.gains), gains23 = gains01;
    // Ramped: 24.8 volumes of frames (0, 0, 1, 1) and (2, 2, 3, 3), the pan's factor on each
    // side, and which side the depth turns over.
    __m128i v01 = _mm_setzero_si128(), v23 = v01, dv = v01, pan = v01, negate = v01;
    if constexpr (Ramped) {
      v01 = _mm_add_epi32(_mm_set1_epi32(s.volume), _mm_set_epi32(s.dvolume, s.dvolume, 0, 0));
      v23 = _mm_add_epi32(v01, _mm_set1_epi32(2 * s.dvolume));
      dv = _mm_set1_epi32(4 * s.dvolume);
      const int left = r.pan > 0 ? 4096 - r.pan : 4096, right = r.pan < 0 ? 4096 + r.pan : 4096;
      pan = _mm_set_epi32(right, left, right, left);
      negate = r.depth < 0 ? _mm_set_epi32(-1, 0, -1, 0) : _mm_setzero_si128();
    }

    // The same positions once more in plain registers, for the load addresses: taking them out
    // of the vectors costs more than adding them up again.
    std::int64_t q = s.pos, step = s.step;
    auto next = [&] {
      const std::int64_t at = q;
      q = static_cast<std::int64_t>(static_cast<std::uint64_t>(q) +
                                    static_cast<std::uint64_t>(step));
      if constexpr (Ramped) step += s.dstep;
      return at;
    };
    for (int n = 0; n < groups; ++n, acc += 8) {
      const std::int64_t q0 = next(), q1 = next(), q2 = next(), q3 = next();
      const __m128i d01 = Quads<Bits, Channels>(r.data, q0, q1);
      const __m128i d23 = Quads<Bits, Channels>(r.data, q2, q3);
      // Each frame's (left, right) now, then one frame on.
      const __m128i e01 = _mm_shuffle_epi32(d01, _MM_SHUFFLE(3, 1, 2, 0));
      const __m128i e23 = _mm_shuffle_epi32(d23, _MM_SHUFFLE(3, 1, 2, 0));
      const __m128i a = _mm_unpacklo_epi64(e01, e23), b = _mm_unpackhi_epi64(e01, e23);
      // Each frame's fraction, once for left and once for right.
      __m128i f = _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(_mm_srli_epi64(p01, kShift)),
                                                  _mm_castsi128_ps(_mm_srli_epi64(p23, kShift)),
                                                  _MM_SHUFFLE(2, 0, 2, 0)));
      f = _mm_shufflehi_epi16(_mm_shufflelo_epi16(f, _MM_SHUFFLE(2, 2, 0, 0)),
                              _MM_SHUFFLE(2, 2, 0, 0));
      if constexpr (Ramped) {
        gains01 = RampGains(v01, pan, negate);
        gains23 = RampGains(v23, pan, negate);
        v01 = _mm_add_epi32(v01, dv);
        v23 = _mm_add_epi32(v23, dv);
      }
      Accumulate(acc, Lerp(a, b, f), gains01, gains23);
      p01 = _mm_add_epi64(p01, inc01);
      p23 = _mm_add_epi64(p23, inc23);
      if constexpr (Ramped) {
        inc01 = _mm_add_epi64(inc01, incinc);
        inc23 = _mm_add_epi64(inc23, incinc);
      }
    }
  }
};

}  // namespace

const MixLoops kSse2MixLoops = mixframe::LoopsOf<Sse2Group>(MixKernel::kSse2, "sse2");

#endif
