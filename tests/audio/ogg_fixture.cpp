// ogg_fixture.cpp - a small libvorbisenc encoder for test files.
#include "audio/ogg_fixture.h"

#include <unistd.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>

std::vector<unsigned char> EncodeOgg(const std::vector<std::vector<float>>& channels, int rate) {
  const int count = static_cast<int>(channels.size());
  const long frames = static_cast<long>(channels[0].size());
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, count, rate, 0.6f) != 0) std::abort();
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);

  std::vector<unsigned char> out;
  auto put = [&](const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
  };
  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page)) put(page);

  auto drain = [&] {
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page)) put(page);
      }
    }
  };
  const long chunk = 1024;
  for (long at = 0; at < frames; at += chunk) {
    const long n = std::min(chunk, frames - at);
    float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
    for (int c = 0; c < count; ++c) {
      for (long i = 0; i < n; ++i) buffer[c][i] = channels[c][at + i];
    }
    vorbis_analysis_wrote(&dsp, static_cast<int>(n));
    drain();
  }
  vorbis_analysis_wrote(&dsp, 0);
  drain();
  while (ogg_stream_flush(&stream, &page)) put(page);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

std::vector<float> Sine(int frames, double hertz, int rate, double amplitude) {
  std::vector<float> s(static_cast<std::size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    s[i] = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hertz * i / rate));
  }
  return s;
}

namespace {

namespace fs = std::filesystem;

// One folder per test process, removed when the process ends.
struct TempFolder {
  fs::path path = fs::temp_directory_path() / ("zx_audio_" + std::to_string(::getpid()));
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};

}  // namespace

std::string WriteTempFile(const std::string& name, const std::vector<unsigned char>& bytes) {
  static TempFolder folder;
  const fs::path& dir = folder.path;
  fs::create_directories(dir);
  fs::path path = dir / name;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
  return path.string();
}
