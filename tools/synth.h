// synth.h - the small synthesiser kit the sound effects and music are made from.
//
// Oscillators take a phase in cycles (0 to 1); filters and noise carry their own state, so each
// voice owns its instances and renders independently of every other. No time and no global
// randomness: a noise source is seeded by its owner, so every render gives the same samples.
#pragma once

#include <cstdint>

#include "tools/ogg_file.h"

constexpr int kRate = 44100;
constexpr float kTwoPi = 6.28318530718f;

float Sine(double phase);
float Saw(double phase);
float Square(double phase, float duty = 0.5f);
float Triangle(double phase);
float NoteHz(float midi_note);  // 69 is A 440

// White noise in [-1, 1) from a 32-bit xorshift generator.
struct Noise {
  std::uint32_t state;
  explicit Noise(std::uint32_t seed) : state(seed ? seed : 0x9e3779b9u) {}
  float Next();
};

// A state-variable filter (the trapezoidal form, stable at any cut-off below half the rate).
struct Svf {
  float ic1 = 0, ic2 = 0;
  float g = 0, k = 1;
  void Set(float cutoff_hz, float resonance);  // resonance 0 (none) to just under 1
  struct Out {
    float low, band, high;
  };
  Out Process(float x);
};

// One-pole smoothing; High() is the input less the smoothed part.
struct OnePole {
  float z = 0, a = 0;
  void Set(float cutoff_hz);
  float Low(float x);
  float High(float x) { return x - Low(x); }
};

// Attack then exponential fall: 0 before start, 1 at the end of the attack, e^-1 `decay` later.
float Pluck(float t, float attack, float decay);

// Scales the whole buffer so that its largest sample is `peak`.
void Normalize(SoundBuffer& sound, float peak);
// Ramps the first and last frames from and to silence, so a sound never starts or ends on a step.
void FadeEdges(SoundBuffer& sound, float in_seconds, float out_seconds);
// Holds every sample within `ceiling`: a look-ahead limiter whose gain starts to fall
// `attack_seconds` before a peak and recovers over about `release_seconds` after it, so that
// peaks come down as level rather than as distortion. The channels share one gain, so the
// stereo picture holds. With `loop` the gain runs on round the end into the start, as the buffer
// will be played, so that a seamless loop stays seamless.
void Limit(SoundBuffer& sound, float ceiling, float attack_seconds, float release_seconds,
           bool loop);
// Masters the buffer for the game's mix: its peaks brought down to `peak` by the limiter while
// its loudness (RMS) stays what it was, so that it sits as loud as before under less headroom.
void MasterPeak(SoundBuffer& sound, float peak, bool loop);
// The root mean square of every sample.
float Rms(const SoundBuffer& sound);
