// The generated sound effects and music, decoded as the game will decode them: rate, channels,
// length, headroom, silent edges on effects and a click-free seam on the looping music.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "audio/sample_loader.h"

namespace {

struct Decoded {
  int rate = 0, channels = 0;
  std::vector<std::vector<float>> channel;  // one vector of samples per channel
  double Seconds() const { return channel.empty() ? 0 : double(channel[0].size()) / rate; }
};

// Decodes through the game's own loader chain, into floats of -1..1 per channel.
Decoded Decode(const std::string& name) {
  std::string path = std::string(ZX_DATA_DIR) + "/" + name + ".ogg";
  Decoded d;
  Ref<TAudioSample> sample = LoadSample(path);
  if (!sample) {
    ADD_FAILURE() << path << " does not load as a sample";
    return d;
  }
  if (sample->format != SAMPLE_MONO16LE && sample->format != SAMPLE_STEREO16LE) {
    ADD_FAILURE() << path << " loads in format " << sample->format << ", not 16-bit";
    return d;
  }
  d.rate = sample->hertz;
  d.channels = sample->format == SAMPLE_STEREO16LE ? 2 : 1;
  d.channel.resize(d.channels);
  const unsigned char* bytes = sample->samples;
  for (int i = 0; i < sample->length; ++i) {
    for (int c = 0; c < d.channels; ++c) {
      std::int16_t v;
      std::memcpy(&v, bytes + 2 * (i * d.channels + c), 2);
      d.channel[c].push_back(v / 32768.0f);
    }
  }
  return d;
}

float Peak(const Decoded& d) {
  float peak = 0;
  for (const auto& ch : d.channel)
    for (float s : ch) peak = std::max(peak, std::abs(s));
  return peak;
}

struct Effect {
  const char* name;
  double min_seconds, max_seconds;
};

// The fourteen effects the game loads. The shot can fire every eight frames, so it must be over
// well within 0.3 s; the jingles and the explosion may run on for a couple of seconds.
const Effect kEffects[] = {
    {"shot1", 0.05, 0.3},  {"hypersp", 0.3, 2.0}, {"gstart", 0.5, 3.0},  {"endwave", 0.5, 3.0},
    {"bhit", 0.1, 1.0},    {"bhit1", 0.05, 0.5},  {"lswarm", 0.2, 1.5},  {"sswarm", 0.2, 1.5},
    {"sbhit", 0.05, 0.8},  {"sbdie", 0.2, 1.5},   {"shipdie", 0.8, 3.0}, {"flyaway", 0.5, 3.0},
    {"beewarp", 0.2, 1.5}, {"hscore", 0.5, 3.0},
};

TEST(SoundEffects, DecodeAsMonoAt44100WithinTheirLengthsAndBelowFullScale) {
  for (const Effect& e : kEffects) {
    SCOPED_TRACE(e.name);
    Decoded d = Decode(e.name);
    ASSERT_EQ(d.channels, 1);
    EXPECT_EQ(d.rate, 44100);
    EXPECT_GE(d.Seconds(), e.min_seconds);
    EXPECT_LE(d.Seconds(), e.max_seconds);
    float peak = Peak(d);
    EXPECT_LT(peak, 0.98f) << "clips";
    EXPECT_GT(peak, 0.3f) << "too quiet to be heard over the music";
  }
}

// A sound that starts or stops on a step clicks. The encoder smears a sharp attack a little
// ahead of itself, so "silence" allows a few hundredths of full scale.
TEST(SoundEffects, StartAndEndInSilenceSoTheyNeverClick) {
  for (const Effect& e : kEffects) {
    SCOPED_TRACE(e.name);
    Decoded d = Decode(e.name);
    ASSERT_FALSE(d.channel.empty());
    ASSERT_FALSE(d.channel[0].empty());
    EXPECT_LT(std::abs(d.channel[0].front()), 0.05f);
    EXPECT_LT(std::abs(d.channel[0].back()), 0.05f);
  }
}

// The loop point is heard as a click when the jump from the last frame back to the first is
// larger than the steps the music itself makes. "Typical" here is the step that 99 in 100 of the
// track's own steps stay below.
float TypicalStep(const std::vector<float>& s) {
  std::vector<float> steps(s.size() - 1);
  for (std::size_t i = 1; i < s.size(); ++i) steps[i - 1] = std::abs(s[i] - s[i - 1]);
  std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
  return steps[steps.size() * 99 / 100];
}

TEST(Music, TracksAreStereoLoopsOfOverAMinuteWithHeadroomAndAQuietSeam) {
  for (const char* name : {"techno1", "techno2", "techno3", "techno4"}) {
    SCOPED_TRACE(name);
    Decoded d = Decode(name);
    ASSERT_EQ(d.channels, 2);
    EXPECT_EQ(d.rate, 44100);
    EXPECT_GE(d.Seconds(), 60.0);
    EXPECT_LE(d.Seconds(), 180.0);
    float peak = Peak(d);
    EXPECT_LT(peak, 0.98f) << "clips";
    EXPECT_GT(peak, 0.3f);
    for (int c = 0; c < 2; ++c) {
      const std::vector<float>& s = d.channel[c];
      float seam = std::abs(s.front() - s.back());
      float typical = TypicalStep(s);
      EXPECT_LE(seam, typical) << "channel " << c << " clicks at the loop point";
    }
  }
}

// The title track plays under the attract screen for as long as nobody plays: it is the calm
// one, with less energy than any track of the game itself.
TEST(Music, TheTitleTrackIsTheCalmest) {
  auto rms = [](const Decoded& d) {
    double sum = 0;
    std::size_t n = 0;
    for (const auto& ch : d.channel) {
      for (float s : ch) sum += double(s) * s;
      n += ch.size();
    }
    return std::sqrt(sum / std::max<std::size_t>(n, 1));
  };
  double title = rms(Decode("techno3"));
  for (const char* name : {"techno1", "techno2", "techno4"}) {
    EXPECT_LT(title, rms(Decode(name))) << name;
  }
}

}  // namespace

namespace {

// At the game's default volumes (music 1.0, effects 0.5) the music and two effects started
// together (a bee destroyed plays two) add up within full scale, whatever their phase; and the
// music keeps its loudness under that ceiling by having its peaks limited, not by being turned
// down: a track whose peaks stand more than 10.5 dB over its RMS (the unlimited mix stands 11.4
// to 14.3 dB over) has lost loudness to the headroom.
TEST(Mastering, TheMusicAndTwoEffectsFitFullScaleAtTheDefaultVolumesAndTheMusicKeepsItsLoudness) {
  float music = 0, effects = 0;
  for (const char* name : {"techno1", "techno2", "techno3", "techno4"}) {
    SCOPED_TRACE(name);
    Decoded d = Decode(name);
    const float peak = Peak(d);
    double sum = 0;
    std::size_t n = 0;
    for (const auto& ch : d.channel) {
      for (float s : ch) sum += double(s) * s;
      n += ch.size();
    }
    const double rms = std::sqrt(sum / std::max<std::size_t>(n, 1));
    EXPECT_LE(20 * std::log10(peak / rms), 10.5) << "peaks over loudness, dB";
    music = std::max(music, peak);
  }
  for (const Effect& e : kEffects) effects = std::max(effects, Peak(Decode(e.name)));
  EXPECT_LE(music * 1.0f + 2 * effects * 0.5f, 1.0f)
      << "music peaks at " << music << ", effects at " << effects;
}

}  // namespace
