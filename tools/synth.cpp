// synth.cpp - oscillators, noise, filters and envelopes.
#include "tools/synth.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

namespace {
double Frac(double x) { return x - std::floor(x); }
}  // namespace

float Sine(double phase) { return static_cast<float>(std::sin(Frac(phase) * 6.283185307179586)); }
float Saw(double phase) { return static_cast<float>(2 * Frac(phase) - 1); }
float Square(double phase, float duty) { return Frac(phase) < duty ? 1.0f : -1.0f; }
float Triangle(double phase) { return static_cast<float>(4 * std::abs(Frac(phase) - 0.5) - 1); }
float NoteHz(float midi_note) { return 440.0f * std::pow(2.0f, (midi_note - 69) / 12); }

float Noise::Next() {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return static_cast<float>(state) / 2147483648.0f - 1.0f;
}

void Svf::Set(float cutoff_hz, float resonance) {
  float f = std::clamp(cutoff_hz, 10.0f, kRate * 0.45f);
  g = std::tan(3.14159265f * f / kRate);
  k = 2 - 2 * std::clamp(resonance, 0.0f, 0.98f);
}

Svf::Out Svf::Process(float x) {
  float a1 = 1 / (1 + g * (g + k));
  float v3 = x - ic2;
  float v1 = a1 * ic1 + g * a1 * v3;
  float v2 = ic2 + g * v1;
  ic1 = 2 * v1 - ic1;
  ic2 = 2 * v2 - ic2;
  return {v2, v1, x - k * v1 - v2};
}

void OnePole::Set(float cutoff_hz) { a = 1 - std::exp(-kTwoPi * cutoff_hz / kRate); }
float OnePole::Low(float x) { return z += a * (x - z); }

float Pluck(float t, float attack, float decay) {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decay);
}

void Normalize(SoundBuffer& sound, float peak) {
  float top = 0;
  for (float s : sound.samples) top = std::max(top, std::abs(s));
  if (top <= 0) return;
  for (float& s : sound.samples) s *= peak / top;
}

void FadeEdges(SoundBuffer& sound, float in_seconds, float out_seconds) {
  std::size_t frames = sound.Frames();
  std::size_t in = std::min<std::size_t>(frames, static_cast<std::size_t>(in_seconds * kRate));
  std::size_t out = std::min<std::size_t>(frames, static_cast<std::size_t>(out_seconds * kRate));
  for (std::size_t i = 0; i < frames; ++i) {
    float gain = 1;
    if (i < in) gain *= static_cast<float>(i) / in;
    if (i >= frames - out) gain *= static_cast<float>(frames - 1 - i) / out;
    for (int c = 0; c < sound.channels; ++c) sound.samples[i * sound.channels + c] *= gain;
  }
}

void Limit(SoundBuffer& sound, float ceiling, float attack_seconds, float release_seconds,
           bool loop) {
  const std::size_t frames = sound.Frames();
  if (frames == 0) return;
  const int channels = sound.channels;
  // The gain each frame needs on its own.
  std::vector<float> need(frames, 1.0f);
  for (std::size_t i = 0; i < frames; ++i) {
    float top = 0;
    for (int c = 0; c < channels; ++c)
      top = std::max(top, std::abs(sound.samples[i * channels + c]));
    if (top > ceiling) need[i] = ceiling / top;
  }
  const auto at = [&](std::vector<float>& v, long long i) -> float& {
    const long long n = static_cast<long long>(frames);
    if (loop) return v[static_cast<std::size_t>(((i % n) + n) % n)];
    return v[static_cast<std::size_t>(std::clamp(i, 0LL, n - 1))];
  };
  const long long half = std::max(1LL, static_cast<long long>(attack_seconds * kRate / 2));
  // The least need within `half` frames either side (a sliding minimum over the needs, padded
  // at the ends as the buffer plays): every frame that the smoothing below averages into a
  // peak's gain is at most the peak's own need.
  std::vector<float> padded;
  for (long long i = -half; i < static_cast<long long>(frames) + half; ++i)
    padded.push_back(at(need, i));
  std::vector<float> least(frames);
  std::deque<std::size_t> window;  // indices into `padded` of rising needs
  const std::size_t width = static_cast<std::size_t>(2 * half + 1);
  for (std::size_t i = 0; i < padded.size(); ++i) {
    while (!window.empty() && padded[window.back()] >= padded[i]) window.pop_back();
    window.push_back(i);
    if (window.front() + width <= i) window.pop_front();
    if (i + 1 >= width) least[i + 1 - width] = padded[window.front()];
  }
  // The gain recovers exponentially, never above the least need; a loop runs round twice so
  // that its start continues its end.
  const float recover = std::exp(-1.0f / (release_seconds * kRate));
  float g = 1.0f;
  for (int pass = 0; pass < (loop ? 2 : 1); ++pass) {
    for (std::size_t i = 0; i < frames; ++i) {
      g = std::min(least[i], 1.0f - (1.0f - g) * recover);
      least[i] = g;
    }
  }
  // A moving average over the attack smooths the falls into ramps.
  std::vector<float> gain(frames);
  double sum = 0;
  for (long long k = -half; k <= half; ++k) sum += at(least, k);
  for (std::size_t i = 0; i < frames; ++i) {
    gain[i] = static_cast<float>(sum / static_cast<double>(2 * half + 1));
    const long long next = static_cast<long long>(i);
    sum += at(least, next + half + 1) - at(least, next - half);
  }
  for (std::size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) sound.samples[i * channels + c] *= gain[i];
}

float Rms(const SoundBuffer& sound) {
  double sum = 0;
  for (float s : sound.samples) sum += static_cast<double>(s) * s;
  return sound.samples.empty()
             ? 0.0f
             : static_cast<float>(std::sqrt(sum / static_cast<double>(sound.samples.size())));
}

void MasterPeak(SoundBuffer& sound, float peak, bool loop) {
  const float loudness = Rms(sound);
  float top = 0;
  for (float s : sound.samples) top = std::max(top, std::abs(s));
  if (loudness <= 0 || top <= 0) return;
  // Limited at a ceiling c and raised back to its loudness, the buffer peaks at c times the
  // raise; the ceiling that makes that `peak` is found by halving the interval it lies in.
  const auto peak_after = [&](float ceiling, SoundBuffer* out) {
    SoundBuffer limited = sound;
    Limit(limited, ceiling, 0.002f, 0.08f, loop);
    const float raise = loudness / Rms(limited);
    if (out) {
      for (float& s : limited.samples) s *= raise;
      *out = std::move(limited);
    }
    return ceiling * raise;
  };
  float low = 0.05f * top, high = top;
  if (top <= peak) return;
  for (int step = 0; step < 12; ++step) {
    const float mid = 0.5f * (low + high);
    (peak_after(mid, nullptr) > peak ? high : low) = mid;
  }
  peak_after(low, &sound);
}
