// mix_api.cpp - the handle table and the entry points over the running device's mixer.
//
// Everything here runs on the game thread. Voices travel to the device thread on the start queue
// and come back on the pool ring; coming back, a voice drops its sample, and when its handle is
// still held it stays in its slot to keep the handle's settings, with the status it came back
// with: 0, released.
#include "audio/mix_api.h"

#include <cmath>
#include <limits>
#include <memory>

#include "audio/mix_clock.h"

namespace {

constexpr int kSlots = 4096;
constexpr std::uint32_t kSlotMask = kSlots - 1;

struct HandleTable {
  sound* voice[kSlots] = {};
  int nextFree[kSlots] = {};  // entry 0 heads the free list
  std::uint32_t serial[kSlots] = {};
  bool inUse[kSlots] = {};

  HandleTable() {
    for (int i = 0; i < kSlots; ++i) {
      serial[i] = kSlots;
      nextFree[i] = i + 1 < kSlots ? i + 1 : 0;
    }
  }
};

audiodevice* device = nullptr;
mixer* mix = nullptr;
std::unique_ptr<HandleTable> table;

// The slot of a live handle, or 0.
int SlotOf(int handle) {
  if (!table || handle == 0) return 0;
  const auto bits = static_cast<std::uint32_t>(handle);
  const int slot = static_cast<int>(bits & kSlotMask);
  if (slot == 0 || !table->inUse[slot] || table->serial[slot] != (bits & ~kSlotMask)) return 0;
  return slot;
}

// Takes back what the device thread returned.
void Reclaim() {
  sound* v;
  while (mix->pool.pop(v)) {
    ReleaseMixSample(v->sample);
    v->sample = nullptr;
    v->started = false;
    const int slot = SlotOf(v->handle);
    if (slot && table->voice[slot] == v) {
      v->releaseWhenDone.store(0, std::memory_order_relaxed);
    } else {
      mix->spareVoice(v);
    }
  }
}

bool Running() {
  if (!mix) return false;
  Reclaim();
  return true;
}

// The handle's voice; a handle that has none gets an idle one, so that its settings can be made
// before anything plays.
sound* Lookup(int handle) {
  const int slot = SlotOf(handle);
  if (!slot) return nullptr;
  if (!table->voice[slot]) {
    sound* v = mix->allocVoice(*mix);
    v->handle = handle;
    table->voice[slot] = v;
  }
  return table->voice[slot];
}

void LetGo(sound* v) {
  if (!v->started) {
    mix->spareVoice(v);
    return;
  }
  v->releaseWhenDone.store(1, std::memory_order_release);
  // Nobody can resume a paused voice once its handle is gone: it stops instead of idling forever.
  int s = v->status.load(std::memory_order_relaxed);
  while ((s & sound::kPaused) &&
         !v->status.compare_exchange_weak(s, sound::kIdle, std::memory_order_acq_rel)) {
  }
}

// Marks a voice stopped unless the device released it already.
void StopVoice(sound* v) {
  int s = v->status.load(std::memory_order_relaxed);
  while (s != sound::kReleased &&
         !v->status.compare_exchange_weak(s, sound::kIdle, std::memory_order_acq_rel)) {
  }
}

void FreeSlot(int slot) {
  if (sound* v = table->voice[slot]) LetGo(v);
  table->voice[slot] = nullptr;
  table->inUse[slot] = false;
  table->nextFree[slot] = table->nextFree[0];
  table->nextFree[0] = slot;
}

template <class T>
T Fixed(float value, float scale) {
  const double v = std::trunc(static_cast<double>(value) * scale);
  if (!(v == v)) return 0;
  if (v < std::numeric_limits<T>::min()) return std::numeric_limits<T>::min();
  if (v > std::numeric_limits<T>::max()) return std::numeric_limits<T>::max();
  return static_cast<T>(v);
}

}  // namespace

int mix_init(audiodevice* dev) {
  if (device) mix_close();
  if (!dev) return -1;
  if (dev->init() != 0 || !dev->getMixer()) {
    dev->close();
    return -1;
  }
  device = dev;
  mix = dev->getMixer();
  table = std::make_unique<HandleTable>();
  return 0;
}

void mix_close() {
  if (!device) return;
  device->close();
  table.reset();
  device = nullptr;
  mix = nullptr;
}

mixer* mix_current_mixer() { return mix; }

mix_sample* mix_create_sound(int length, int bits, int channels, int hertz, const void* data,
                             int loop) {
  if (!Running()) return nullptr;
  return NewMixSample(length, bits, channels, hertz, data, loop);
}

void mix_free_sound(mix_sample* sample) {
  if (mix) Reclaim();
  ReleaseMixSample(sample);
}

int mix_alloc_channel() {
  if (!Running()) return 0;
  const int slot = table->nextFree[0];
  if (slot == 0) return 0;
  table->nextFree[0] = table->nextFree[slot];
  table->nextFree[slot] = 0;
  table->inUse[slot] = true;
  // The serial keeps 19 bits above the slot, so that handles stay positive; it skips 0 on wrap.
  std::uint32_t serial = (table->serial[slot] + kSlots) & 0x7FFFF000u;
  table->serial[slot] = serial ? serial : kSlots;
  return static_cast<int>(table->serial[slot] | static_cast<std::uint32_t>(slot));
}

void mix_free_channel(int handle) {
  if (!Running()) return;
  if (const int slot = SlotOf(handle)) FreeSlot(slot);
}

int mix_play(mix_sample* sample, int paused, int handle) {
  if (!Running() || !sample || sample->channels == 0) return 0;
  const bool fresh = handle == 0;
  const output* tmpl = mix;
  if (fresh) {
    handle = mix_alloc_channel();
    if (!handle) return 0;
  } else {
    tmpl = Lookup(handle);
    if (!tmpl) return 0;
  }
  const int slot = SlotOf(handle);

  sound* v = mix->allocVoice(*tmpl);
  v->releaseWhenDone.store(fresh ? 1 : 0, std::memory_order_relaxed);
  RetainMixSample(sample);
  v->sample = sample;
  v->sampleChannels = sample->channels;
  v->status.store((sample->loop ? sound::kLooped : sound::kOnce) | (paused ? sound::kPaused : 0),
                  std::memory_order_relaxed);
  v->startTime = MixMillis();
  v->handle = handle;
  if (!mix->startQueue.push(v)) {
    ReleaseMixSample(sample);
    v->sample = nullptr;
    mix->spareVoice(v);
    if (fresh) FreeSlot(slot);
    return 0;
  }
  v->started = true;

  if (sound* old = table->voice[slot]) {
    StopVoice(old);
    LetGo(old);
  }
  table->voice[slot] = v;
  return handle;
}

void mix_stop_channel(int handle) {
  if (!Running()) return;
  const int slot = SlotOf(handle);
  if (!slot) return;
  if (sound* v = table->voice[slot]) {
    v->releaseWhenDone.store(1, std::memory_order_release);
    StopVoice(v);
  }
  FreeSlot(slot);
}

int mix_channel_status(int handle) {
  if (!Running()) return 0;
  sound* v = Lookup(handle);
  return v ? v->status.load(std::memory_order_acquire) : 0;
}

std::int64_t mix_channel_position(int handle) {
  if (!Running()) return 0;
  sound* v = Lookup(handle);
  return v ? v->position() : 0;
}

void mix_set_paused(int handle, int paused) {
  if (!Running()) return;
  sound* v = Lookup(handle);
  if (!v) return;
  int s = v->status.load(std::memory_order_relaxed);
  for (;;) {
    if (s == sound::kReleased) return;
    const int want = paused ? (s | sound::kPaused) : (s & ~sound::kPaused);
    if (v->status.compare_exchange_weak(s, want, std::memory_order_acq_rel)) return;
  }
}

void mix_set_volume(int handle, float volume) {
  if (!Running()) return;
  if (sound* v = Lookup(handle)) v->setVolume(Fixed<short>(volume, 4096.0f));
}

void mix_set_pan(int handle, float pan) {
  if (!Running()) return;
  if (sound* v = Lookup(handle)) v->setPan(Fixed<short>(pan, 4096.0f));
}

void mix_set_depth(int handle, float depth) {
  if (!Running()) return;
  if (sound* v = Lookup(handle)) v->setDepth(Fixed<short>(depth, 4096.0f));
}

void mix_set_rate(int handle, float rate) {
  if (!Running()) return;
  if (sound* v = Lookup(handle)) v->setRate(Fixed<int>(rate, 65536.0f));
}
