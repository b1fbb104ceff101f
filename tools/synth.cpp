// synth.cpp - oscillators, noise, filters and envelopes.
#include "tools/synth.h"

#include <algorithm>
#include <cmath>

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
