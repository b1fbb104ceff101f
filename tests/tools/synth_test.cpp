// The synthesiser kit and the recipes built on it: the filters do what their names say, and
// every sound comes out the same on every run.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/sound_effects.h"
#include "tools/synth.h"

namespace {

float RmsThroughLowPass(float tone_hz, float cutoff_hz) {
  Svf lp;
  lp.Set(cutoff_hz, 0.2f);
  double sum = 0;
  const int n = kRate / 2;
  for (int i = 0; i < n; ++i) {
    float y = lp.Process(Sine(static_cast<double>(i) * tone_hz / kRate)).low;
    if (i >= n / 2) sum += y * y;  // after the filter has settled
  }
  return static_cast<float>(std::sqrt(sum / (n / 2)));
}

TEST(Synth, LowPassPassesLowTonesAndStopsHighOnes) {
  float sine_rms = 1 / std::sqrt(2.0f);
  EXPECT_NEAR(RmsThroughLowPass(100, 2000), sine_rms, 0.03f);
  EXPECT_LT(RmsThroughLowPass(12000, 500), sine_rms * 0.01f);
}

TEST(Synth, NormalizeAndFadesShapeTheBuffer) {
  SoundBuffer s;
  s.samples.assign(1000, 0.25f);
  s.samples[500] = -0.5f;
  Normalize(s, 0.8f);
  EXPECT_FLOAT_EQ(s.samples[500], -0.8f);
  EXPECT_FLOAT_EQ(s.samples[100], 0.4f);
  FadeEdges(s, 100.0f / kRate, 100.0f / kRate);
  EXPECT_EQ(s.samples.front(), 0);
  EXPECT_EQ(s.samples.back(), 0);
  EXPECT_FLOAT_EQ(s.samples[500], -0.8f);
}

// Nothing may depend on the time or on state left over from an earlier render: the build
// promises the same bytes every time the generator runs.
TEST(SoundRecipes, RenderTheSameSamplesEveryTime) {
  for (const SoundEffect& e : SoundEffects()) {
    SoundBuffer a = e.make(), b = e.make();
    EXPECT_EQ(a.samples, b.samples) << e.name;
  }
}

}  // namespace
