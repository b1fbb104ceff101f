// Sample formats, conversion and the loader chain.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "audio/audio_sample.h"
#include "audio/ogg_fixture.h"
#include "audio/sample_loader.h"
#include "core/ramstream.h"

namespace {

Ref<TAudioSample> From(std::vector<unsigned char> bytes, int format) {
  const int frames = static_cast<int>(bytes.size()) / SampleBytesPerFrame(format);
  Ref<TAudioSample> s = TAudioSample::Create(frames, 22050, format);
  std::copy(bytes.begin(), bytes.end(), s->samples);
  return s;
}

std::vector<unsigned char> Bytes(const Ref<TAudioSample>& s) {
  return {s->samples, s->samples + s->length * SampleBytesPerFrame(s->format)};
}

TEST(SampleConvert, EightBitAndSixteenBitValuesMapAsSpecified) {
  // 8-bit u becomes (u - 128) << 8 | u: 0x80 -> 0x0080, 0xFF -> 0x7FFF, 0x00 -> 0x8000.
  Ref<TAudioSample> up = From({0x80, 0xFF, 0x00}, SAMPLE_MONO8)->Convert(SAMPLE_MONO16BE);
  EXPECT_EQ(Bytes(up), (std::vector<unsigned char>{0x00, 0x80, 0x7F, 0xFF, 0x80, 0x00}));
  // 16-bit s becomes (s + 32768) / 257.
  Ref<TAudioSample> down =
      From({0xFF, 0x7F, 0x00, 0x80, 0x00, 0x00}, SAMPLE_MONO16LE)->Convert(SAMPLE_MONO8);
  EXPECT_EQ(Bytes(down), (std::vector<unsigned char>{255, 0, 127}));
  EXPECT_EQ(down->hertz, 22050);
  EXPECT_EQ(down->length, 3);
}

TEST(SampleConvert, ChannelsAndByteOrder) {
  Ref<TAudioSample> mono = From({0x34, 0x12}, SAMPLE_MONO16LE);
  EXPECT_EQ(Bytes(mono->Convert(SAMPLE_STEREO16LE)),
            (std::vector<unsigned char>{0x34, 0x12, 0x34, 0x12}));
  EXPECT_EQ(Bytes(mono->Convert(SAMPLE_MONO16BE)), (std::vector<unsigned char>{0x12, 0x34}));
  Ref<TAudioSample> stereo = From({10, 200}, SAMPLE_STEREO8);
  EXPECT_EQ(Bytes(stereo->Convert(SAMPLE_MONO8)), (std::vector<unsigned char>{10}));
  EXPECT_EQ(Bytes(From({0x12, 0x34, 0x56, 0x78}, SAMPLE_STEREO16BE)->Convert(SAMPLE_STEREO16LE)),
            (std::vector<unsigned char>{0x34, 0x12, 0x78, 0x56}));
  EXPECT_EQ(stereo->Convert(SAMPLE_NONE), nullptr);
  EXPECT_EQ(stereo->Convert(7), nullptr);
}

TEST(SampleConvert, EveryEightBitValueSurvivesARoundTrip) {
  std::vector<unsigned char> all(256);
  for (int i = 0; i < 256; ++i) all[i] = static_cast<unsigned char>(i);
  Ref<TAudioSample> s = From(all, SAMPLE_MONO8);
  for (int via = SAMPLE_MONO16LE; via <= SAMPLE_STEREO16BE; ++via) {
    EXPECT_EQ(Bytes(s->Convert(via)->Convert(SAMPLE_MONO8)), all) << "via " << via;
  }
}

TEST(SampleStorage, CopiesOwnTheirBytesAndStaticSamplesDoNot) {
  unsigned char data[4] = {1, 2, 3, 4};
  Ref<TAudioSample> wrapped = TAudioSample::CreateStatic(data, 2, 8000, SAMPLE_MONO16LE);
  EXPECT_EQ(wrapped->capacity, -1);
  Ref<TAudioSample> copy = wrapped->Copy();
  EXPECT_EQ(copy->capacity, 4);
  data[0] = 99;
  EXPECT_EQ(copy->samples[0], 1);
  wrapped.reset();  // must not free `data`
  EXPECT_EQ(TAudioSample::Create(-1, 8000, SAMPLE_MONO8), nullptr);
  EXPECT_EQ(TAudioSample::Create(4, 8000, 9), nullptr);
}

std::vector<unsigned char> Wav(int channels, int bits, const std::vector<unsigned char>& data,
                               std::uint32_t claimed) {
  std::vector<unsigned char> w;
  auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) w.push_back(static_cast<unsigned char>(v >> (8 * i)));
  };
  auto u16 = [&](int v) {
    w.push_back(static_cast<unsigned char>(v));
    w.push_back(static_cast<unsigned char>(v >> 8));
  };
  w.insert(w.end(), {'R', 'I', 'F', 'F'});
  u32(0);
  w.insert(w.end(), {'W', 'A', 'V', 'E', 'L', 'I', 'S', 'T'});
  u32(3);
  w.insert(w.end(), {'a', 'b', 'c', 0});  // odd chunk, padded
  w.insert(w.end(), {'f', 'm', 't', ' '});
  u32(16);
  u16(1);
  u16(channels);
  u32(11025);
  u32(11025 * channels * bits / 8);
  u16(channels * bits / 8);
  u16(bits);
  w.insert(w.end(), {'d', 'a', 't', 'a'});
  u32(claimed);
  w.insert(w.end(), data.begin(), data.end());
  return w;
}

TEST(SampleLoaders, WavLoadsAndOggStillGetsPastIt) {
  Ref<TAudioSample> wav =
      LoadSample(WriteTempFile("stereo.wav", Wav(2, 16, {1, 0, 2, 0, 3, 0, 4, 0}, 8)));
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->format, SAMPLE_STEREO16LE);
  EXPECT_EQ(wav->length, 2);
  EXPECT_EQ(wav->hertz, 11025);
  EXPECT_EQ(Bytes(wav), (std::vector<unsigned char>{1, 0, 2, 0, 3, 0, 4, 0}));

  // A data chunk claiming more than the file holds keeps what is there.
  Ref<TAudioSample> cut = LoadSample(WriteTempFile("cut.wav", Wav(1, 8, {7, 8, 9}, 1000)));
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->format, SAMPLE_MONO8);
  EXPECT_EQ(cut->length, 3);

  Ref<TAudioSample> ogg =
      LoadSample(WriteTempFile("a.ogg", EncodeOgg({Sine(1000, 440, 44100)}, 44100)));
  ASSERT_TRUE(ogg);
  EXPECT_EQ(ogg->format, SAMPLE_MONO16LE);
}

TEST(SampleLoaders, WhatNoLoaderTakesGivesNull) {
  EXPECT_EQ(LoadSample("no\\such\\file.ogg"), nullptr);
  EXPECT_EQ(LoadSample(WriteTempFile("text.txt", {'h', 'e', 'l', 'l', 'o'})), nullptr);
  EXPECT_EQ(LoadSample(WriteTempFile("empty.ogg", {})), nullptr);
  EXPECT_EQ(LoadSample(WriteTempFile("riff.wav", {'R', 'I', 'F', 'F', 0, 0, 0, 0})), nullptr);
  EXPECT_EQ(LoadSample(WriteTempFile("adpcm.wav",
                                     [] {
                                       auto w = Wav(1, 16, {1, 2}, 2);
                                       w[32] = 2;  // format tag 2: not PCM
                                       return w;
                                     }())),
            nullptr);
}

}  // namespace
