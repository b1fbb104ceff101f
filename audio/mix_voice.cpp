// mix_voice.cpp - one voice: its settings and the inner loops that add it to the accumulation.
//
// There is one loop per sample layout (8/16 bits, mono/stereo), each in a fixed-gain form and in
// a ramped form that moves volume and rate linearly across the block. A voice at volume 0 with
// nothing changing does not touch the buffer at all; it only moves its position on.
#include <algorithm>
#include <cstdint>

#include "audio/mixer.h"

namespace {

constexpr int kPausedBit = sound::kPaused;

struct Gains {
  int left;
  int right;
};

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

inline int Lerp16(const std::int16_t* d, int a, int b, std::int64_t f) {
  return d[a] + static_cast<int>(((static_cast<std::int64_t>(d[b]) - d[a]) * f) >> 16);
}

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

struct Block {
  const unsigned char* data;
  std::int64_t end;  // 32.32
  bool loop;
  std::int64_t step0, step1;  // 32.32 samples per output frame
  int volume0, volume1;
  int pan, depth;
};

// Adds `frames` frames at `acc`; returns true when a one-shot reached its end.
template <int Bits, int Channels, bool Ramped>
bool MixFrames(const Block& b, int* acc, int frames, std::int64_t& pos, std::int64_t& played) {
  Gains g = GainsFor(b.volume0, b.pan, b.depth);
  std::int64_t step = b.step0;
  std::int64_t dstep = 0;
  int volume = b.volume0 << 8;  // 24.8
  int dvolume = 0;
  if constexpr (Ramped) {
    dstep = (b.step1 - b.step0) / frames;
    dvolume = ((b.volume1 - b.volume0) << 8) / frames;
  }
  for (int k = 0; k < frames; ++k) {
    if constexpr (Ramped) g = GainsFor(volume >> 8, b.pan, b.depth);
    int left, right;
    Read<Bits, Channels>(b.data, pos, left, right);
    Add(acc[2 * k], (g.left * left) >> 8);
    Add(acc[2 * k + 1], (g.right * right) >> 8);
    pos += step;
    played += step;
    if constexpr (Ramped) {
      volume += dvolume;
      step += dstep;
    }
    if (pos >= b.end) {
      if (!b.loop) return true;
      pos %= b.end;
    }
  }
  return false;
}

using MixFn = bool (*)(const Block&, int*, int, std::int64_t&, std::int64_t&);

// [bits is 16][stereo][ramped]
constexpr MixFn kLoops[2][2][2] = {
    {{MixFrames<8, 1, false>, MixFrames<8, 1, true>},
     {MixFrames<8, 2, false>, MixFrames<8, 2, true>}},
    {{MixFrames<16, 1, false>, MixFrames<16, 1, true>},
     {MixFrames<16, 2, false>, MixFrames<16, 2, true>}},
};

bool Paused(const std::atomic<int>& status) {
  return status.load(std::memory_order_relaxed) & kPausedBit;
}

}  // namespace

void sound::setRate(int rate) {
  targetRate.store(rate, std::memory_order_relaxed);
  if (Paused(status)) currentRate.store(rate, std::memory_order_relaxed);
}

void sound::setVolume(short volume) {
  targetVolume.store(volume, std::memory_order_relaxed);
  if (Paused(status)) currentVolume.store(volume, std::memory_order_relaxed);
}

void sound::setPan(short pan) {
  // Full left and full right are the ends: past them the gain products would overflow 32 bits
  // at loud volumes, and a pan past 1 would turn the other side up inverted.
  pan = std::clamp<short>(pan, -4096, 4096);
  targetPan.store(pan, std::memory_order_relaxed);
  if (Paused(status)) currentPan.store(pan, std::memory_order_relaxed);
}

void sound::setDepth(short depth) { targetDepth.store(depth, std::memory_order_relaxed); }

int sound::getRate(int which) const { return (which ? targetRate : currentRate).load(); }
short sound::getVolume(int which) const { return (which ? targetVolume : currentVolume).load(); }
short sound::getPan(int which) const { return (which ? targetPan : currentPan).load(); }
short sound::getDepth(int which) const { return (which ? targetDepth : currentDepth).load(); }

std::int64_t sound::position() const {
  return (played.load(std::memory_order_acquire) >> 32) / sampleChannels;
}

MixResult sound::mix(int* acc, int frames) {
  const int s = status.load(std::memory_order_acquire);
  if (s == kReleased) return MixResult::kReleased;
  if (s & kPaused) return MixResult::kPaused;
  if (!(s & (kOnce | kLooped))) return MixResult::kFinished;

  if (startDelay > 0) {
    if (frames <= startDelay) {
      startDelay -= frames;
      return MixResult::kMixing;
    }
    acc += 2 * startDelay;
    frames -= startDelay;
    startDelay = 0;
  }

  const mix_sample& smp = *sample;
  int rate0 = currentRate.load(std::memory_order_relaxed);
  const int rate1 = targetRate.load(std::memory_order_relaxed);
  short volume0 = currentVolume.load(std::memory_order_relaxed);
  const short volume1 = targetVolume.load(std::memory_order_relaxed);
  // The game thread may have set a paused voice's current values meanwhile; those win.
  currentRate.compare_exchange_strong(rate0, rate1, std::memory_order_relaxed);
  currentVolume.compare_exchange_strong(volume0, volume1, std::memory_order_relaxed);

  auto stepFor = [&](int rate) {
    // A negative rate would read before the data: it holds the voice still instead.
    std::int64_t frameStep =
        static_cast<std::int64_t>(rate < 0 ? 0 : rate) * smp.hertz / owner->outputRate;
    return (frameStep * smp.channels) << 16;
  };
  Block b;
  b.data = smp.data;
  b.end = static_cast<std::int64_t>(smp.channels) * smp.length << 32;
  b.loop = (s & kLooped) != 0;
  b.step0 = stepFor(rate0);
  b.step1 = stepFor(rate1);
  b.volume0 = volume0;
  b.volume1 = volume1;
  b.pan = targetPan.load(std::memory_order_relaxed);
  b.depth = targetDepth.load(std::memory_order_relaxed);

  std::int64_t p = pos.load(std::memory_order_relaxed);
  std::int64_t done = played.load(std::memory_order_relaxed);

  // A stream still being written plays up to its written end and no further (interpolation
  // reads one frame ahead); the rest of the block stays silent until more is there.
  const int filled = smp.filled.load(std::memory_order_acquire);
  if (filled < smp.length) {
    const std::int64_t limit = (static_cast<std::int64_t>(smp.channels) * (filled - 1)) << 32;
    const std::int64_t step = std::max(b.step0, b.step1);
    if (filled < 2 || step <= 0 || p >= limit) return MixResult::kMixing;
    frames = static_cast<int>(std::min<std::int64_t>(frames, (limit - p + step - 1) / step));
  }
  const bool ramped = b.step0 != b.step1 || b.volume0 != b.volume1;
  bool finished;
  if (!ramped && b.volume0 == 0) {
    const std::int64_t advance = b.step0 * frames;
    p += advance;
    done += advance;
    finished = p >= b.end && !b.loop;
    if (p >= b.end) p %= b.end;
  } else {
    finished = kLoops[smp.bits == 16][smp.channels == 2][ramped](b, acc, frames, p, done);
  }
  pos.store(p, std::memory_order_relaxed);
  played.store(done, std::memory_order_release);
  return finished ? MixResult::kFinished : MixResult::kMixing;
}
