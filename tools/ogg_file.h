// ogg_file.h - encoding synthesised sound as Ogg Vorbis through libvorbisenc.
//
// The stream serial number is fixed and the encoder has no other source of variation, so the
// same samples always give the same bytes.
#pragma once

#include <string>
#include <vector>

struct SoundBuffer {
  int channels = 1;
  int rate = 44100;
  std::vector<float> samples;  // interleaved, full scale at +-1
  std::size_t Frames() const { return samples.size() / channels; }
};

// Encodes at the given variable-bit-rate quality (0 to 1). Throws std::runtime_error naming the
// file when it cannot be written.
void WriteOgg(const std::string& path, const SoundBuffer& sound, float quality);
// The largest sample of the file at `path` as a decoder gives it back (the encoder's rounding
// can raise a peak a little). Throws std::runtime_error when the file does not decode.
float DecodedPeak(const std::string& path);
// WriteOgg, then, while the decoded file peaks above `peak`, the sound turned down by the
// overshoot and written again: the file never decodes above `peak`.
void WriteOggWithin(const std::string& path, SoundBuffer sound, float quality, float peak);
