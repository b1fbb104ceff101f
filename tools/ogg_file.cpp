// ogg_file.cpp - the libvorbisenc analysis loop, writing pages as they come.
#include "tools/ogg_file.h"

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

constexpr int kSerialNumber = 0x5a58;  // fixed, so the files never change between runs
constexpr int kChunkFrames = 4096;

struct Encoder {
  vorbis_info info;
  vorbis_comment comment;
  vorbis_dsp_state dsp;
  vorbis_block block;
  ogg_stream_state stream;
  bool dsp_ready = false;

  Encoder() {
    vorbis_info_init(&info);
    vorbis_comment_init(&comment);
    ogg_stream_init(&stream, kSerialNumber);
  }
  ~Encoder() {
    ogg_stream_clear(&stream);
    if (dsp_ready) {
      vorbis_block_clear(&block);
      vorbis_dsp_clear(&dsp);
    }
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
  }
};

void WritePage(std::FILE* file, const ogg_page& page, const std::string& path) {
  if (std::fwrite(page.header, 1, page.header_len, file) != static_cast<size_t>(page.header_len) ||
      std::fwrite(page.body, 1, page.body_len, file) != static_cast<size_t>(page.body_len)) {
    throw std::runtime_error(path + ": write failed");
  }
}

}  // namespace

void WriteOgg(const std::string& path, const SoundBuffer& sound, float quality) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!file) throw std::runtime_error(path + ": cannot create file");
  Encoder enc;
  if (vorbis_encode_init_vbr(&enc.info, sound.channels, sound.rate, quality) != 0) {
    throw std::runtime_error(path + ": the encoder refuses these settings");
  }
  vorbis_comment_add_tag(&enc.comment, "TITLE", "Zumbrix");
  vorbis_analysis_init(&enc.dsp, &enc.info);
  vorbis_block_init(&enc.dsp, &enc.block);
  enc.dsp_ready = true;

  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&enc.dsp, &enc.comment, &header, &comments, &codebooks);
  ogg_stream_packetin(&enc.stream, &header);
  ogg_stream_packetin(&enc.stream, &comments);
  ogg_stream_packetin(&enc.stream, &codebooks);
  ogg_page page;
  // The headers end on a page of their own, as decoders expect.
  while (ogg_stream_flush(&enc.stream, &page) != 0) WritePage(file.get(), page, path);

  std::size_t frames = sound.Frames();
  std::size_t done = 0;
  bool eos = false;
  while (!eos) {
    std::size_t n = std::min<std::size_t>(kChunkFrames, frames - done);
    if (n == 0) {
      vorbis_analysis_wrote(&enc.dsp, 0);  // marks the end of the stream
    } else {
      float** buffer = vorbis_analysis_buffer(&enc.dsp, static_cast<int>(n));
      for (std::size_t i = 0; i < n; ++i) {
        for (int c = 0; c < sound.channels; ++c) {
          buffer[c][i] = sound.samples[(done + i) * sound.channels + c];
        }
      }
      vorbis_analysis_wrote(&enc.dsp, static_cast<int>(n));
      done += n;
    }
    while (vorbis_analysis_blockout(&enc.dsp, &enc.block) == 1) {
      vorbis_analysis(&enc.block, nullptr);
      vorbis_bitrate_addblock(&enc.block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&enc.dsp, &packet) != 0) {
        ogg_stream_packetin(&enc.stream, &packet);
        while (!eos && ogg_stream_pageout(&enc.stream, &page) != 0) {
          WritePage(file.get(), page, path);
          if (ogg_page_eos(&page)) eos = true;
        }
      }
    }
    if (n == 0) break;
  }
  while (ogg_stream_flush(&enc.stream, &page) != 0) WritePage(file.get(), page, path);
  if (std::fflush(file.get()) != 0) throw std::runtime_error(path + ": write failed");
}

float DecodedPeak(const std::string& path) {
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) throw std::runtime_error(path + ": does not decode");
  float peak = 0;
  for (;;) {
    float** pcm = nullptr;
    int section = 0;
    const long frames = ov_read_float(&file, &pcm, kChunkFrames, &section);
    if (frames < 0) {
      ov_clear(&file);
      throw std::runtime_error(path + ": does not decode");
    }
    if (frames == 0) break;
    const int channels = ov_info(&file, -1)->channels;
    for (int c = 0; c < channels; ++c)
      for (long i = 0; i < frames; ++i) peak = std::max(peak, std::abs(pcm[c][i]));
  }
  ov_clear(&file);
  return peak;
}

void WriteOggWithin(const std::string& path, SoundBuffer sound, float quality, float peak) {
  WriteOgg(path, sound, quality);
  for (int attempt = 0; attempt < 4; ++attempt) {
    const float decoded = DecodedPeak(path);
    if (decoded <= peak) return;
    // A little under the ratio, so that the next encoding's own rounding still fits.
    for (float& s : sound.samples) s *= 0.995f * peak / decoded;
    WriteOgg(path, sound, quality);
  }
}
