// audio_sample.h - raw PCM in memory, and conversions between its seven formats.
//
// Frames are interleaved left/right. Format codes (bytes per frame, channels):
//   0 none (0, 0)   1 8-bit unsigned mono (1, 1)   2 16-bit mono little-endian (2, 1)
//   3 16-bit mono big-endian (2, 1)                4 8-bit unsigned stereo (2, 2)
//   5 16-bit stereo little-endian (4, 2)           6 16-bit stereo big-endian (4, 2)
#pragma once

#include "core/object.h"

enum {
  SAMPLE_NONE = 0,
  SAMPLE_MONO8 = 1,
  SAMPLE_MONO16LE = 2,
  SAMPLE_MONO16BE = 3,
  SAMPLE_STEREO8 = 4,
  SAMPLE_STEREO16LE = 5,
  SAMPLE_STEREO16BE = 6,
};

// 0 for codes outside 0..6.
int SampleBytesPerFrame(int format);
int SampleChannels(int format);

class TAudioSample : public TObject {
 public:
  ~TAudioSample() override;

  // A new sample of the same length, rate and format, owning a copy of the bytes.
  Ref<TAudioSample> Copy() const;
  // A new sample in `format` (1..6): 8-bit values u become 16-bit (u - 128) << 8 | u, 16-bit
  // values s become 8-bit (s + 32768) / 257, mono becomes both channels and stereo keeps the left.
  // Null when either format is not 1..6.
  Ref<TAudioSample> Convert(int format) const;

  // `length` frames, not cleared, owned by the sample. Null for a format outside 0..6 or a
  // negative length.
  static Ref<TAudioSample> Create(int length, int hertz, int format);
  // Wraps data that stays the caller's (capacity -1).
  static Ref<TAudioSample> CreateStatic(void* samples, int length, int hertz, int format);

  unsigned char* samples = nullptr;
  int length = 0;
  int hertz = 0;
  int format = SAMPLE_NONE;
  int capacity = -1;  // bytes owned, or -1 when the data belongs to someone else
};
