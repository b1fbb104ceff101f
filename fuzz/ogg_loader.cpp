// Fuzz target: arbitrary bytes through the sample loader chain (the WAV loader, then the Ogg
// Vorbis loader). Anything may come back, null included; nothing may crash, hang or leak.
//
// A fresh corpus folder gets a few small valid files first (made here with libvorbisenc), so
// that the fuzzer starts from inside the decoder rather than at its front door.
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/sample_loader.h"
#include "core/ramstream.h"

namespace {

std::vector<unsigned char> EncodeSeed(int channels, int rate, int frames) {
  std::vector<unsigned char> out;
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, rate, 0.1f) != 0) return out;
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 7);
  ogg_page page;
  auto put = [&] {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
  };
  ogg_packet a, b, c;
  vorbis_analysis_headerout(&dsp, &comment, &a, &b, &c);
  ogg_stream_packetin(&stream, &a);
  ogg_stream_packetin(&stream, &b);
  ogg_stream_packetin(&stream, &c);
  while (ogg_stream_flush(&stream, &page)) put();
  float** buffer = vorbis_analysis_buffer(&dsp, frames);
  for (int ch = 0; ch < channels; ++ch) {
    for (int i = 0; i < frames; ++i) buffer[ch][i] = 0.4f * std::sin(0.05f * i * (ch + 1));
  }
  vorbis_analysis_wrote(&dsp, frames);
  vorbis_analysis_wrote(&dsp, 0);
  while (vorbis_analysis_blockout(&dsp, &block) == 1) {
    vorbis_analysis(&block, nullptr);
    vorbis_bitrate_addblock(&block);
    ogg_packet packet;
    while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
      ogg_stream_packetin(&stream, &packet);
      while (ogg_stream_pageout(&stream, &page)) put();
    }
  }
  while (ogg_stream_flush(&stream, &page)) put();
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

void Seed(const std::filesystem::path& dir) {
  std::error_code error;
  if (!std::filesystem::is_directory(dir, error) || !std::filesystem::is_empty(dir, error)) return;
  const struct {
    const char* name;
    int channels, rate, frames;
  } seeds[] = {
      {"mono.ogg", 1, 22050, 2000}, {"stereo.ogg", 2, 44100, 3000}, {"three.ogg", 3, 8000, 1000}};
  for (const auto& s : seeds) {
    std::vector<unsigned char> bytes = EncodeSeed(s.channels, s.rate, s.frames);
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
