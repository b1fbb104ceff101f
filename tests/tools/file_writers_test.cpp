// The generator's PNG and Ogg writers: what they write reads back, and what they cannot write
// or read fails with a message instead of a broken file.
#include <vorbis/vorbisfile.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "tools/ogg_file.h"
#include "tools/png_file.h"

namespace {

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("zx_tools_test_" + name)).string();
}

TEST(PngFile, WhatIsWrittenReadsBackPixelForPixel) {
  RgbImage image{5, 3, {}};
  for (int i = 0; i < 5 * 3 * 3; ++i) image.rgb.push_back(static_cast<std::uint8_t>(i * 17));
  std::string path = TempPath("roundtrip.png");
  WritePng(path, image);
  RgbImage back = ReadPng(path);
  EXPECT_EQ(back.width, 5);
  EXPECT_EQ(back.height, 3);
  EXPECT_EQ(back.rgb, image.rgb);
  std::filesystem::remove(path);
}

TEST(PngFile, BadInputAndUnwritablePlacesThrowNamingTheFile) {
  std::string junk = TempPath("junk.png");
  std::ofstream(junk) << "not a png at all";
  EXPECT_THROW(ReadPng(junk), std::runtime_error);
  std::filesystem::remove(junk);
  EXPECT_THROW(ReadPng(TempPath("missing.png")), std::runtime_error);
  RgbImage wrong_size{4, 4, std::vector<std::uint8_t>(10)};
  EXPECT_THROW(WritePng(TempPath("short.png"), wrong_size), std::runtime_error);
  try {
    WritePng("/nonexistent-folder/x.png", RgbImage{1, 1, {0, 0, 0}});
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent-folder/x.png"), std::string::npos);
  }
}

TEST(OggFile, EncodesEveryFrameOfASoundAndKeepsItsShape) {
  SoundBuffer tone;
  tone.channels = 2;
  for (int i = 0; i < 44100; ++i) {
    float v = 0.5f * std::sin(i * 2 * 3.14159265f * 440 / 44100);
    tone.samples.push_back(v);
    tone.samples.push_back(-v);
  }
  std::string path = TempPath("tone.ogg");
  WriteOgg(path, tone, 0.4f);
  OggVorbis_File vf;
  ASSERT_EQ(ov_fopen(path.c_str(), &vf), 0);
  EXPECT_EQ(ov_info(&vf, -1)->channels, 2);
  EXPECT_EQ(ov_pcm_total(&vf, -1), 44100);
  float** pcm;
  int section;
  double sum = 0;
  long total = 0;
  while (long n = ov_read_float(&vf, &pcm, 4096, &section)) {
    ASSERT_GT(n, 0);
    for (long i = 0; i < n; ++i) sum += pcm[0][i] * pcm[1][i];  // the channels are opposites
    total += n;
  }
  ov_clear(&vf);
  EXPECT_LT(sum / total, -0.1);
  std::filesystem::remove(path);
  EXPECT_THROW(WriteOgg("/nonexistent-folder/x.ogg", tone, 0.4f), std::runtime_error);
}

}  // namespace
