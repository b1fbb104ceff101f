// ogg_loader.cpp - whole-file Ogg Vorbis decoding into a sample.
#include "audio/ogg_loader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr int kChunkFrames = 4096;

}  // namespace

Ref<TAudioSample> TAudioSampleLoaderOGG::LoadAudioSample(const Ref<TStream>& stream) {
  std::unique_ptr<OggDecoder> decoder = OggDecoder::Open(stream);
  if (!decoder) return nullptr;
  return DecodeOggSample(*decoder);
}

Ref<TAudioSample> DecodeOggSample(OggDecoder& decoder) {
  const int channels = decoder.channels();
  const std::int64_t limit =
      std::min<std::int64_t>(decoder.frames(), std::numeric_limits<int>::max() / (2 * channels));
  // The advertised length only caps the decode: the buffer grows with what really arrives, so
  // a few bytes claiming hours of sound cost nothing.
  std::vector<std::int16_t> pcm;
  std::int64_t frames = 0;
  while (frames < limit) {
    const int want = static_cast<int>(std::min<std::int64_t>(kChunkFrames, limit - frames));
    pcm.resize(static_cast<std::size_t>(frames + want) * channels);
    const int got = decoder.Decode(pcm.data() + frames * channels, want);
    if (got < 0) return nullptr;
    if (got == 0) break;
    frames += got;
  }
  if (frames == 0) return nullptr;
  Ref<TAudioSample> sample =
      TAudioSample::Create(static_cast<int>(frames), decoder.hertz(),
                           channels == 1 ? SAMPLE_MONO16LE : SAMPLE_STEREO16LE);
  if (!sample) return nullptr;
  std::memcpy(sample->samples, pcm.data(), static_cast<std::size_t>(frames) * channels * 2);
  return sample;
}
