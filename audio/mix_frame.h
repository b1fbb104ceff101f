// mix_frame.h - one output frame of one voice, as the scalar kernel mixes it: gains from volume,
// pan and depth, the interpolated read, and the wrapping add. The vector kernels use the same
// code for the frames they leave to it, so every kernel agrees with this file.
#pragma once

#include <cstdint>

#include "audio/mix_kernel.h"

namespace mixframe {

struct Gains {
  int left;
  int right;
};

// Left and right gains of a 4.12 volume after pan and depth. Any thread, as all of this file.
inline Gains GainsFor(int volume, int pan, int depth) {
  Gains g{volume, volume};
  if (pan > 0) g.left = (volume * (4096 - pan)) >> 12;
  if (pan < 0) g.right = (volume * (4096 + pan)) >> 12;
  if (depth < 0) g.right = -g.right;
  return g;
}

// The accumulator wraps instead of overflowing when thousands of loud voices pile up.
inline void Add(int& acc, int value) {
  acc = static_cast<int>(static_cast<unsigned>(acc) + static_cast<unsigned>(value));
}

// 16-bit value at d[a], moved toward d[b] by the 16-bit fraction f.
inline int Lerp16(const std::int16_t* d, int a, int b, std::int64_t f) {
  return d[a] + static_cast<int>(((static_cast<std::int64_t>(d[b]) - d[a]) * f) >> 16);
}

// 8-bit value at u[a] widened to 16 bits, moved toward u[b] by the 16-bit fraction f.
inline int Lerp8(const unsigned char* u, int a, int b, int f) {
  return (u[a] * 256 - 32768) + (((u[b] - u[a]) * f) >> 8);
}

// Interpolated left and right values at a 32.32 position counted in samples.
template <int Bits, int Channels>
inline void Read(const unsigned char* data, std::int64_t pos, int& left, int& right) {
  if constexpr (Channels == 1) {
    const int i = static_cast<int>(pos >> 32);
    const int f = static_cast<int>((pos >> 16) & 0xFFFF);
    if constexpr (Bits == 16) {
      left = Lerp16(reinterpret_cast<const std::int16_t*>(data), i, i + 1, f);
    } else {
      left = Lerp8(data, i, i + 1, f);
    }
    right = left;
  } else {
    const int i = static_cast<int>(pos >> 32) & ~1;
    const int f = static_cast<int>(((pos >> 1) >> 16) & 0xFFFF);
    if constexpr (Bits == 16) {
      const auto* d = reinterpret_cast<const std::int16_t*>(data);
      left = Lerp16(d, i, i + 2, f);
      right = Lerp16(d, i + 1, i + 3, f);
    } else {
      left = Lerp8(data, i, i + 2, f);
      right = Lerp8(data, i + 1, i + 3, f);
    }
  }
}

// One frame at `acc`: read, weigh, add, move on. True when a one-shot reached its end; a looping
// voice wraps to the start instead.
template <int Bits, int Channels>
inline bool Frame(const MixRun& r, const Gains& g, std::int64_t step, int* acc, std::int64_t& pos,
                  std::int64_t& played) {
  int left, right;
  Read<Bits, Channels>(r.data, pos, left, right);
  Add(acc[0], (g.left * left) >> 8);
  Add(acc[1], (g.right * right) >> 8);
  pos += step;
  played += step;
  if (pos >= r.end) {
    if (!r.loop) return true;
    pos %= r.end;
  }
  return false;
}

}  // namespace mixframe
