// Ogg Vorbis decoding: formats, lengths, fidelity, and what cut or damaged files give.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "audio/ogg_fixture.h"
#include "audio/ogg_loader.h"
#include "audio/sample_loader.h"
#include "core/ramstream.h"

namespace {

Ref<TAudioSample> LoadBytes(const std::vector<unsigned char>& bytes) {
  TAudioSampleLoaderOGG loader;
  return loader.LoadAudioSample(TRamStream::CreateOwning(bytes, true, false));
}

// The largest difference between decoded 16-bit values and the encoded sine, in the middle of
// the sound (the codec's edges are left aside).
double WorstError(const Ref<TAudioSample>& s, int channel, const std::vector<float>& sine) {
  const int channels = s->format == SAMPLE_STEREO16LE ? 2 : 1;
  const auto* pcm = reinterpret_cast<const std::int16_t*>(s->samples);
  double worst = 0;
  for (int i = 200; i < s->length - 200; ++i) {
    worst = std::max(worst, std::abs(pcm[i * channels + channel] / 32768.0 - sine[i]));
  }
  return worst;
}

TEST(OggLoader, MonoAndStereoFilesKeepTheirLengthRateAndSound) {
  const std::vector<float> a = Sine(22050, 440, 22050), b = Sine(22050, 660, 22050);
  Ref<TAudioSample> mono = LoadBytes(EncodeOgg({a}, 22050));
  ASSERT_TRUE(mono);
  EXPECT_EQ(mono->format, SAMPLE_MONO16LE);
  EXPECT_EQ(mono->length, 22050);
  EXPECT_EQ(mono->hertz, 22050);
  EXPECT_LT(WorstError(mono, 0, a), 0.05);

  Ref<TAudioSample> stereo = LoadBytes(EncodeOgg({a, b}, 22050));
  ASSERT_TRUE(stereo);
  EXPECT_EQ(stereo->format, SAMPLE_STEREO16LE);
  EXPECT_LT(WorstError(stereo, 0, a), 0.05);
  EXPECT_LT(WorstError(stereo, 1, b), 0.05);
}

TEST(OggLoader, OneSecondOfCdStereoIs176400Bytes) {
  Ref<TAudioSample> s =
      LoadBytes(EncodeOgg({Sine(44100, 440, 44100), Sine(44100, 220, 44100)}, 44100));
  ASSERT_TRUE(s);
  EXPECT_EQ(s->length * SampleBytesPerFrame(s->format), 176400);
  EXPECT_EQ(s->capacity, 176400);
}

TEST(OggLoader, MoreThanTwoChannelsGiveTheFrontPair) {
  // Vorbis orders three channels left, centre, right.
  const std::vector<float> left = Sine(8000, 300, 16000), centre(8000, 0.0f),
                           right = Sine(8000, 900, 16000, 0.3);
  Ref<TAudioSample> s = LoadBytes(EncodeOgg({left, centre, right}, 16000));
  ASSERT_TRUE(s);
  EXPECT_EQ(s->format, SAMPLE_STEREO16LE);
  EXPECT_EQ(s->length, 8000);
  EXPECT_LT(WorstError(s, 0, left), 0.05);
  EXPECT_LT(WorstError(s, 1, right), 0.05);
}

TEST(OggLoader, CutAndDamagedFilesGiveNullOrWhatDecodedCleanly) {
  const std::vector<unsigned char> good = EncodeOgg({Sine(20000, 500, 44100)}, 44100);
  Ref<TAudioSample> whole = LoadBytes(good);
  ASSERT_TRUE(whole);

  EXPECT_EQ(LoadBytes({}), nullptr);
  EXPECT_EQ(LoadBytes(std::vector<unsigned char>(good.begin(), good.begin() + 40)), nullptr);
  std::vector<unsigned char> garbage(4000);
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<unsigned char>(i * 7);
  EXPECT_EQ(LoadBytes(garbage), nullptr);

  // Cut anywhere: never more than the whole file, and what comes out is its beginning.
  for (std::size_t cut = 100; cut < good.size(); cut += good.size() / 23) {
    Ref<TAudioSample> part =
        LoadBytes(std::vector<unsigned char>(good.begin(), good.begin() + cut));
    if (!part) continue;
    ASSERT_LE(part->length, whole->length) << cut;
    EXPECT_EQ(0, std::memcmp(part->samples, whole->samples, part->length * 2)) << cut;
  }

  // Damage in the middle: no crash, no leak, and no more than the advertised length.
  for (std::size_t at = good.size() / 3; at < good.size(); at += good.size() / 7) {
    std::vector<unsigned char> bad = good;
    for (std::size_t i = at; i < at + 64 && i < bad.size(); ++i) bad[i] ^= 0x5A;
    Ref<TAudioSample> s = LoadBytes(bad);
    if (s) {
      EXPECT_LE(s->length, whole->length);
    }
  }
}

TEST(OggLoader, AStreamEndingBeforeItsAdvertisedLengthGivesWhatWasDecoded) {
  // Noise, so that the file is far larger than what the decoder reads ahead.
  std::vector<float> noise(200000);
  std::uint32_t x = 12345;
  for (float& v : noise) {
    x = x * 1664525u + 1013904223u;
    v = static_cast<float>(static_cast<int>(x >> 16) - 32768) / 40000.0f;
  }
  const std::vector<unsigned char> bytes = EncodeOgg({noise}, 44100);
  Ref<TRamStream> stream = TRamStream::CreateOwning(bytes, true, false);
  std::unique_ptr<OggDecoder> decoder = OggDecoder::Open(stream);
  ASSERT_TRUE(decoder);
  EXPECT_EQ(decoder->frames(), 200000);
  stream->_size = stream->_size / 2;  // the rest of the file is gone once decoding starts
  Ref<TAudioSample> s = DecodeOggSample(*decoder);
  ASSERT_TRUE(s);
  EXPECT_GT(s->length, 0);
  EXPECT_LT(s->length, 200000);
}

TEST(OggLoader, DecodesInPieces) {
  const std::vector<float> a = Sine(10000, 440, 44100);
  std::unique_ptr<OggDecoder> d =
      OggDecoder::Open(TRamStream::CreateOwning(EncodeOgg({a}, 44100), true, false));
  ASSERT_TRUE(d);
  std::vector<std::int16_t> pcm, piece(777);
  while (int n = d->Decode(piece.data(), 777)) {
    ASSERT_GT(n, 0);
    pcm.insert(pcm.end(), piece.begin(), piece.begin() + n);
  }
  EXPECT_EQ(pcm.size(), 10000u);
}

}  // namespace
