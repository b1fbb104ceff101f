// mix_sample.h - PCM data shared by the voices that play it.
//
// A mix_sample owns a copy of the caller's frames plus one guard frame, so that interpolation may
// always read one frame ahead of the last: the guard repeats the first frame of a looping sample
// (the sound goes on from there) and the last frame of a one-shot. The record counts its users:
// the sound object that made it, and every voice that plays it. Counts change on the game thread
// only; the count is atomic all the same so that no thread ever sees it torn.
#pragma once

#include <atomic>

// Bytes after the guard frame that readers may touch (and ignore).
constexpr int kMixSamplePadding = 8;

struct mix_sample {
  int hertz = 0;
  int channels = 0;  // 1 or 2
  int bits = 0;      // 8 (unsigned) or 16 (signed, machine order)
  int length = 0;    // frames
  int bytesPerFrame = 0;
  int dataBytes = 0;
  std::atomic<int> references{1};
  int loop = 0;
  unsigned char* data = nullptr;  // length + 1 frames, then kMixSamplePadding spare bytes
  // Frames the voices may read: `length`, except for a stream whose producer is still writing
  // (voices then hold at the written end). Written with release order after the data.
  std::atomic<int> filled{0};
};

// A new sample holding a copy of `length` frames at `data`, with one reference; null when the
// description makes no playable sound (no frames, a rate of 0, other than 8/16 bits or 1/2
// channels).
mix_sample* NewMixSample(int length, int bits, int channels, int hertz, const void* data, int loop);
// A sample whose `length` frames a producer writes after creation, on any thread, storing the
// count written so far in `filled` (starting at 0) and the guard frame before the last store.
// Null as for NewMixSample.
mix_sample* NewStreamMixSample(int length, int bits, int channels, int hertz, int loop);
void RetainMixSample(mix_sample* sample);
// Drops one reference; the last one frees the record and its data.
void ReleaseMixSample(mix_sample* sample);
