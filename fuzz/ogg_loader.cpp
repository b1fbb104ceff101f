// Fuzz target: arbitrary bytes through the sample loader chain (the WAV loader, then the Ogg
// Vorbis loader). Anything may come back, null included; nothing may crash, hang or leak.
//
// A fresh corpus folder gets a few small valid files first (made with the audio tests' encoder),
// so that the fuzzer starts from inside the decoder rather than at its front door.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/ogg_fixture.h"
#include "audio/sample_loader.h"
#include "core/ramstream.h"

namespace {

void Seed(const std::filesystem::path& dir) {
  std::error_code error;
  if (!std::filesystem::is_directory(dir, error) || !std::filesystem::is_empty(dir, error)) return;
  const struct {
    const char* name;
    int channels, rate, frames;
  } seeds[] = {
      {"mono.ogg", 1, 22050, 2000}, {"stereo.ogg", 2, 44100, 3000}, {"three.ogg", 3, 8000, 1000}};
  for (const auto& s : seeds) {
    std::vector<std::vector<float>> channels;
    for (int c = 0; c < s.channels; ++c) {
      channels.push_back(Sine(s.frames, 300.0 * (c + 1), s.rate));
    }
    std::vector<unsigned char> bytes = EncodeOgg(channels, s.rate);
    std::ofstream(dir / s.name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  for (int i = 1; i < *argc; ++i) {
    if ((*argv)[i][0] != '-') Seed((*argv)[i]);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Ref<TRamStream> stream = TRamStream::Create(const_cast<std::uint8_t*>(data),
                                              static_cast<std::int64_t>(size), true, false);
  Ref<TAudioSample> sample = LoadSample(stream);
  if (sample && sample->length > 0) {
    // Touch the last byte, so that a sample shorter than it claims shows up.
    volatile unsigned char last =
        sample->samples[sample->length * SampleBytesPerFrame(sample->format) - 1];
    (void)last;
  }
  return 0;
}
