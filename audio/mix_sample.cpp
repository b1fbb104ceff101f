// mix_sample.cpp - making, sharing and freeing mixer samples.
#include "audio/mix_sample.h"

#include <cstdint>
#include <cstring>

mix_sample* NewStreamMixSample(int length, int bits, int channels, int hertz, int loop) {
  if (length <= 0 || hertz <= 0) return nullptr;
  if ((bits != 8 && bits != 16) || (channels != 1 && channels != 2)) return nullptr;
  const int frame = channels * bits / 8;
  if (length > (INT32_MAX / frame) - 1) return nullptr;

  auto* s = new mix_sample;
  s->hertz = hertz;
  s->channels = channels;
  s->bits = bits;
  s->length = length;
  s->bytesPerFrame = frame;
  s->dataBytes = length * frame;
  s->loop = loop;
  // Stored as 16-bit words so that 16-bit frames can be read as what they are, with spare bytes
  // after the guard frame: the vector loops read a few bytes more than an 8-bit frame holds.
  const std::size_t words =
      (static_cast<std::size_t>(s->dataBytes) + frame + kMixSamplePadding + 1) / 2;
  s->data = reinterpret_cast<unsigned char*>(new std::int16_t[words]);
  std::memset(s->data + s->dataBytes + frame, 0, kMixSamplePadding);
  return s;
}

mix_sample* NewMixSample(int length, int bits, int channels, int hertz, const void* data,
                         int loop) {
  if (!data) return nullptr;
  mix_sample* s = NewStreamMixSample(length, bits, channels, hertz, loop);
  if (!s) return nullptr;
  const int frame = s->bytesPerFrame;
  std::memcpy(s->data, data, static_cast<std::size_t>(s->dataBytes));
  const unsigned char* guard = loop ? s->data : s->data + s->dataBytes - frame;
  std::memcpy(s->data + s->dataBytes, guard, static_cast<std::size_t>(frame));
  s->filled.store(length, std::memory_order_release);
  return s;
}

void RetainMixSample(mix_sample* sample) {
  if (sample) sample->references.fetch_add(1, std::memory_order_relaxed);
}

void ReleaseMixSample(mix_sample* sample) {
  if (!sample) return;
  if (sample->references.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
  delete[] reinterpret_cast<std::int16_t*>(sample->data);
  delete sample;
}
