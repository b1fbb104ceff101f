// ogg_decoder.h - an Ogg Vorbis decoder reading from a framework stream, a piece at a time.
//
// The decoder reads through vorbisfile's callbacks and hands out 16-bit little-endian PCM of
// at most two channels: a file of more channels gives its front left and front right ones. Only
// the first logical stream of a chained file is decoded, since a later one may change the
// channel count or rate. Whole-file loading (ogg_loader.h) is one caller; a music track could be
// decoded in parts from another thread.
//
//   auto d = OggDecoder::Open(stream);
//   if (d) while (int n = d->Decode(buf, 4096)) { if (n < 0) break; ... }
#pragma once

#include <cstdint>
#include <memory>

#include "core/stream.h"

class OggDecoder {
 public:
  ~OggDecoder();
  OggDecoder(const OggDecoder&) = delete;
  OggDecoder& operator=(const OggDecoder&) = delete;

  // Null when the stream does not start an Ogg Vorbis file that can be decoded. The stream is
  // read from its current position and must stay open while the decoder lives.
  static std::unique_ptr<OggDecoder> Open(Ref<TStream> stream);

  // PCM frames of the first logical stream, as its pages advertise them.
  std::int64_t frames() const { return frames_; }
  // Channels handed out: 1 or 2, whatever the file has.
  int channels() const { return channels_ > 1 ? 2 : 1; }
  // Channels in the file.
  int fileChannels() const { return channels_; }
  int hertz() const { return hertz_; }

  // Decodes up to `frames` frames into `dest` (channels() values per frame). Returns the frames
  // decoded, 0 at the end of the data (which may come before frames() when the file is cut
  // short), or -1 when the data is corrupt.
  int Decode(std::int16_t* dest, int frames);

 private:
  struct Glue;
  OggDecoder();
  std::unique_ptr<Glue> glue_;
  std::int64_t frames_ = 0;
  int channels_ = 0;
  int hertz_ = 0;
};
