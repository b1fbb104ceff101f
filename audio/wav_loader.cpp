// wav_loader.cpp - RIFF WAVE parsing: the "fmt " and "data" chunks, everything else skipped.
#include "audio/wav_loader.h"

#include <cstdint>
#include <cstring>

Ref<TAudioSample> TAudioSampleLoaderWAV::LoadAudioSample(const Ref<TStream>& stream) {
  char riff[12];
  if (stream->Read(riff, 12) != 12) return nullptr;
  if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) return nullptr;

  int channels = 0, bits = 0, hertz = 0;
  bool haveFormat = false;
  while (!stream->Eof()) {
    char id[4];
    if (stream->ReadBytes(id, 4) != 4 || stream->Eof()) return nullptr;
    const auto size = static_cast<std::uint32_t>(stream->ReadInt());
    if (std::memcmp(id, "fmt ", 4) == 0) {
      if (size < 16) return nullptr;
      const int tag = stream->ReadShort();
      channels = stream->ReadShort();
      hertz = stream->ReadInt();
      stream->ReadInt();    // bytes per second
      stream->ReadShort();  // block alignment
      bits = stream->ReadShort();
      if (tag != 1 || (channels != 1 && channels != 2) || (bits != 8 && bits != 16) || hertz <= 0) {
        return nullptr;
      }
      haveFormat = true;
      stream->SkipBytes(static_cast<std::int64_t>(size) - 16 + (size & 1));
    } else if (std::memcmp(id, "data", 4) == 0) {
      if (!haveFormat) return nullptr;
      const int frameBytes = channels * bits / 8;
      const std::int64_t left = stream->Size() - stream->Pos();
      const std::int64_t bytes = size < left ? size : left;  // a cut file keeps what it has
      if (bytes / frameBytes > INT32_MAX / 4) return nullptr;
      const int format = bits == 8 ? (channels == 1 ? SAMPLE_MONO8 : SAMPLE_STEREO8)
                                   : (channels == 1 ? SAMPLE_MONO16LE : SAMPLE_STEREO16LE);
      Ref<TAudioSample> sample =
          TAudioSample::Create(static_cast<int>(bytes / frameBytes), hertz, format);
      if (!sample) return nullptr;
      stream->ReadBytes(sample->samples, static_cast<std::int64_t>(sample->length) * frameBytes);
      return sample;
    } else {
      stream->SkipBytes(static_cast<std::int64_t>(size) + (size & 1));
    }
  }
  return nullptr;
}
