// mixer.cpp - one mixing pass: pick up queued voices, mix the active ones, hand back finished
// ones, and turn the accumulation into clamped 16-bit output.
#include "audio/mixer.h"

#include <algorithm>

#include "audio/mix_clock.h"

mixer::mixer(int blockSize, int outputRate, int outputChannels)
    : buffer(static_cast<std::size_t>(std::max(2, blockSize & ~1)), 0),
      blockSize(std::max(2, blockSize & ~1)),
      outputRate(outputRate),
      outputChannels(outputChannels),
      loops_(&MixLoopsFor(BestMixKernel())) {}

mixer::~mixer() {
  for (auto& v : voices_) ReleaseMixSample(v->sample);
}

sound* mixer::allocVoice(const output& tmpl) {
  sound* v;
  if (!spare.empty()) {
    v = spare.back();
    spare.pop_back();
  } else {
    voices_.push_back(std::make_unique<sound>(this));
    v = voices_.back().get();
  }
  v->status.store(sound::kIdle, std::memory_order_relaxed);
  v->releaseWhenDone.store(0, std::memory_order_relaxed);
  v->handle = 0;
  v->next = nullptr;
  v->sample = nullptr;
  v->sampleChannels = 1;
  v->pos.store(0, std::memory_order_relaxed);
  v->played.store(0, std::memory_order_relaxed);
  v->startDelay = 0;
  v->started = false;
  int rate = tmpl.getRate(1);
  short volume = tmpl.getVolume(1), pan = tmpl.getPan(1), depth = tmpl.getDepth(1);
  v->currentRate.store(rate, std::memory_order_relaxed);
  v->targetRate.store(rate, std::memory_order_relaxed);
  v->currentVolume.store(volume, std::memory_order_relaxed);
  v->targetVolume.store(volume, std::memory_order_relaxed);
  v->currentPan.store(pan, std::memory_order_relaxed);
  v->targetPan.store(pan, std::memory_order_relaxed);
  v->currentDepth.store(depth, std::memory_order_relaxed);
  v->targetDepth.store(depth, std::memory_order_relaxed);
  return v;
}

void mixer::releaseAll() {
  sound* v;
  while (startQueue.pop(v)) {
  }
  while (pool.pop(v)) {
  }
  active = nullptr;
  spare.clear();
  for (auto& owned : voices_) {
    owned->status.store(sound::kReleased, std::memory_order_relaxed);
    owned->next = nullptr;
    ReleaseMixSample(owned->sample);
    owned->sample = nullptr;
    owned->started = false;
    spare.push_back(owned.get());
  }
}

int mixer::activeVoices() const {
  int n = 0;
  for (sound* v = active; v; v = v->next) ++n;
  return n;
}

// The sample reference goes back with the voice: the game thread drops it, so that the device
// thread never frees memory.
bool mixer::recycle(sound* voice) { return pool.push(voice); }

void mixer::mixBlock(std::int16_t* dest, int n) {
  n &= ~1;
  while (n > 0) {
    int chunk = std::min(n, blockSize);
    pass(dest, chunk);
    dest += chunk;
    n -= chunk;
  }
}

void mixer::pass(std::int16_t* dest, int n) {
  const std::uint32_t now = MixMillis();
  sound* v;
  while (startQueue.pop(v)) {
    // Sound starts a fixed time after its request, whenever this thread happens to pick it up.
    auto wait = static_cast<std::int32_t>(v->startTime + kStartDelayMillis - now);
    v->startDelay =
        static_cast<int>(static_cast<std::int64_t>(std::max(0, wait)) * outputRate / 1000);
    v->next = active;
    active = v;
  }

  int* acc = buffer.data();
  const int frames = n / 2;
  const MixLoops& loops = *loops_.load(std::memory_order_acquire);
  for (sound** link = &active; (v = *link);) {
    const MixResult result = v->mix(acc, frames, loops);
    bool drop = false;
    if (result == MixResult::kReleased) {
      drop = true;
    } else if (result == MixResult::kFinished) {
      if (v->releaseWhenDone.load(std::memory_order_acquire)) {
        v->status.store(sound::kReleased, std::memory_order_release);
        drop = true;
      } else {
        v->status.store(sound::kIdle, std::memory_order_release);
      }
    }
    if (drop) {
      // Unlinked before it is handed over: from then on the game thread may reuse it.
      sound* after = v->next;
      v->next = nullptr;
      if (recycle(v)) {
        *link = after;
        continue;
      }
      v->next = after;  // a full pool: the next pass tries again
    }
    link = &v->next;
  }

  for (int i = 0; i < n; ++i) {
    dest[i] = static_cast<std::int16_t>(std::clamp(acc[i] >> 4, -32768, 32767));
    acc[i] = 0;
  }
}
