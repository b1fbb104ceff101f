// mix_voice.cpp - one voice: its settings, and one block of it handed to the inner loops of the
// mixer's kernel set (mix_kernel.h) with the settings of the block's start and end.
//
// A voice at volume 0 with nothing changing does not touch the buffer at all; it only moves its
// position on.
#include <algorithm>
#include <cstdint>

#include "audio/mix_kernel.h"
#include "audio/mixer.h"

namespace {

constexpr int kPausedBit = sound::kPaused;

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

MixResult sound::mix(int* acc, int frames, const MixLoops& loops) {
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
  MixRun b;
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
    finished = loops.loops[smp.bits == 16][smp.channels == 2][ramped](b, acc, frames, p, done);
  }
  pos.store(p, std::memory_order_relaxed);
  played.store(done, std::memory_order_release);
  return finished ? MixResult::kFinished : MixResult::kMixing;
}
