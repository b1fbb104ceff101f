// Which channels of a surround Vorbis file become the stereo pair: Vorbis orders four channels
// left, right, rear left, rear right, and five or more left, centre, right, then the rest.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio/audio_sample.h"
#include "audio/ogg_fixture.h"
#include "audio/sample_loader.h"
#include "core/ramstream.h"

namespace {

// The loudest value of channel `c` of a stereo 16-bit sample, in -1..1 terms.
double Peak(const Ref<TAudioSample>& s, int c) {
  const auto* pcm = reinterpret_cast<const std::int16_t*>(s->samples);
  int peak = 0;
  for (int i = 0; i < s->length; ++i) peak = std::max(peak, std::abs(int{pcm[2 * i + c]}));
  return peak / 32768.0;
}

TEST(OggChannels, TheFrontLeftAndRightBecomeTheStereoPairForEveryLayout) {
  const int rate = 16000, frames = 4000;
  const std::vector<float> left = Sine(frames, 300, rate, 0.5),
                           right = Sine(frames, 500, rate, 0.25), silent(frames, 0.0f);
  struct Layout {
    int channels, right_at;
  };
  for (Layout layout : {Layout{4, 1}, Layout{5, 2}, Layout{6, 2}}) {
    std::vector<std::vector<float>> channels(layout.channels, silent);
    channels[0] = left;
    channels[layout.right_at] = right;
    std::vector<unsigned char> bytes = EncodeOgg(channels, rate);
    Ref<TAudioSample> s = LoadSample(TRamStream::CreateOwning(bytes, true, false));
    ASSERT_TRUE(s) << layout.channels << " channels";
    EXPECT_EQ(s->format, SAMPLE_STEREO16LE);
    EXPECT_EQ(s->length, frames);
    EXPECT_NEAR(Peak(s, 0), 0.5, 0.05) << layout.channels << " channels";
    EXPECT_NEAR(Peak(s, 1), 0.25, 0.05) << layout.channels << " channels";
  }
}

}  // namespace
