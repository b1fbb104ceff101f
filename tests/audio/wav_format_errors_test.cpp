// RIFF WAVE files the loader must refuse, and the layouts it must read past.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "audio/audio_sample.h"
#include "audio/sample_loader.h"
#include "core/ramstream.h"

namespace {

// A RIFF WAVE file built chunk by chunk.
class WavBuilder {
 public:
  WavBuilder() { Add("RIFF"), U32(0), Add("WAVE"); }
  WavBuilder& Chunk(const std::string& id, const std::vector<unsigned char>& body,
                    std::uint32_t claimed) {
    Add(id);
    U32(claimed);
    bytes.insert(bytes.end(), body.begin(), body.end());
    return *this;
  }
  WavBuilder& Format(int tag, int channels, int hertz, int bits, int extra = 0) {
    Add("fmt ");
    U32(16 + extra);
    U16(tag);
    U16(channels);
    U32(hertz);
    U32(hertz * channels * bits / 8);
    U16(channels * bits / 8);
    U16(bits);
    for (int i = 0; i < extra; ++i) bytes.push_back(0xee);
    if (extra & 1) bytes.push_back(0);  // the pad byte
    return *this;
  }
  Ref<TAudioSample> Load() const {
    return LoadSample(TRamStream::CreateOwning(bytes, true, false));
  }

  std::vector<unsigned char> bytes;

 private:
  WavBuilder& Add(const std::string& id) {
    bytes.insert(bytes.end(), id.begin(), id.end());
    return *this;
  }
  void U16(int v) {
    bytes.push_back(static_cast<unsigned char>(v));
    bytes.push_back(static_cast<unsigned char>(v >> 8));
  }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
  }
};

const std::vector<unsigned char> kFourBytes = {1, 2, 3, 4};

TEST(WavFormatErrors, EachPlainLayoutGetsItsSampleFormat) {
  struct Case {
    int channels, bits, format, length;
  };
  for (Case c : {Case{1, 8, SAMPLE_MONO8, 4}, Case{2, 8, SAMPLE_STEREO8, 2},
                 Case{1, 16, SAMPLE_MONO16LE, 2}, Case{2, 16, SAMPLE_STEREO16LE, 1}}) {
    Ref<TAudioSample> s =
        WavBuilder().Format(1, c.channels, 8000, c.bits).Chunk("data", kFourBytes, 4).Load();
    ASSERT_TRUE(s) << c.channels << " x " << c.bits;
    EXPECT_EQ(s->format, c.format);
    EXPECT_EQ(s->length, c.length);
    EXPECT_EQ(s->hertz, 8000);
  }
}

TEST(WavFormatErrors, ALongerFormatChunkWithAnOddSizeIsReadPast) {
  Ref<TAudioSample> s = WavBuilder().Format(1, 1, 8000, 8, 3).Chunk("data", kFourBytes, 4).Load();
  ASSERT_TRUE(s);
  EXPECT_EQ(s->length, 4);
  EXPECT_EQ(s->samples[0], 1);
  EXPECT_EQ(s->samples[3], 4);
}

TEST(WavFormatErrors, UnsupportedOrMissingFormatsGiveNull) {
  EXPECT_EQ(WavBuilder().Format(1, 3, 8000, 16).Chunk("data", kFourBytes, 4).Load(), nullptr);
  EXPECT_EQ(WavBuilder().Format(1, 0, 8000, 16).Chunk("data", kFourBytes, 4).Load(), nullptr);
  EXPECT_EQ(WavBuilder().Format(1, 1, 8000, 24).Chunk("data", kFourBytes, 4).Load(), nullptr);
  EXPECT_EQ(WavBuilder().Format(1, 1, 0, 16).Chunk("data", kFourBytes, 4).Load(), nullptr);
  EXPECT_EQ(WavBuilder().Format(3, 1, 8000, 16).Chunk("data", kFourBytes, 4).Load(), nullptr);
  // A format chunk too short to hold the format.
  EXPECT_EQ(WavBuilder().Chunk("fmt ", {1, 0, 1, 0, 0x40, 0x1f, 0, 0}, 8).Load(), nullptr);
  // Sound before any format.
  EXPECT_EQ(WavBuilder().Chunk("data", kFourBytes, 4).Format(1, 1, 8000, 8).Load(), nullptr);
  // A format and no sound.
  EXPECT_EQ(WavBuilder().Format(1, 1, 8000, 8).Load(), nullptr);
  EXPECT_EQ(WavBuilder().Format(1, 1, 8000, 8).Chunk("LIST", {1, 2}, 2).Load(), nullptr);
  // A file that ends inside a chunk header.
  WavBuilder cut;
  cut.Format(1, 1, 8000, 8);
  cut.bytes.insert(cut.bytes.end(), {'d', 'a', 't', 'a'});
  EXPECT_EQ(cut.Load(), nullptr);
}

}  // namespace
