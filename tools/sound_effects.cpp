// sound_effects.cpp - one small recipe per game event.
#include "tools/sound_effects.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "tools/synth.h"

namespace {

// Runs `voice` once per sample for `seconds`, with t the time in seconds, from and to silence.
SoundBuffer Synthesise(float seconds, const std::function<float(float t)>& voice) {
  SoundBuffer s;
  s.samples.resize(static_cast<std::size_t>(seconds * kRate));
  for (std::size_t i = 0; i < s.samples.size(); ++i)
    s.samples[i] = voice(static_cast<float>(i) / kRate);
  FadeEdges(s, 0.002f, 0.02f);
  return s;
}

// Finishes a sound: silence at both ends, its level set by kEffectLevelPeak, mastered to peaks
// of kEffectMasterPeak.
SoundBuffer Finish(SoundBuffer s) {
  FadeEdges(s, 0.002f, 0.02f);
  Normalize(s, kEffectLevelPeak);
  MasterPeak(s, kEffectMasterPeak, false);
  return s;
}

SoundBuffer Render(float seconds, const std::function<float(float t)>& voice) {
  return Finish(Synthesise(seconds, voice));
}

// A phase accumulator, for tones whose pitch moves.
struct Phase {
  double p = 0;
  double Step(float hz) { return p += hz / kRate; }
};

// A short square-wave note with a fast decay, the voice of the jingles.
float Chip(float t, float start, float hz, float length) {
  float u = t - start;
  if (u < 0 || u > length + 0.25f) return 0;
  float env = Pluck(u, 0.004f, length * 0.6f);
  double ph = u * hz;
  return env * (0.6f * Square(ph, 0.3f) + 0.4f * Triangle(ph * 2));
}

// The laser: a bright square wave diving from a whistle to a buzz, gone in 0.17 s.
SoundBuffer Shot() {
  Phase ph;
  Noise noise(11);
  Svf lp;
  return Render(0.17f, [=](float t) mutable {
    float hz = 260 + 1900 * std::exp(-t * 28);
    float tone = Square(ph.Step(hz), 0.35f) * 0.7f + Saw(ph.p * 0.5) * 0.3f;
    lp.Set(7000 * std::exp(-t * 12) + 600, 0.3f);
    float click = t < 0.006f ? noise.Next() * (1 - t / 0.006f) : 0;
    return lp.Process(tone).low * Pluck(t, 0.002f, 0.05f) + click * 0.5f;
  });
}

// Hyperspace: a warbling tone that climbs out of hearing while a whoosh swells and fades.
SoundBuffer Hyperspace() {
  Phase ph;
  Noise noise(23);
  Svf bp;
  return Render(0.95f, [=](float t) mutable {
    float hz = 180 * std::pow(12.0f, t / 0.95f) * (1 + 0.08f * Sine(t * 14));
    float tone = Sine(ph.Step(hz)) + 0.3f * Sine(ph.p * 3.01);
    bp.Set(300 * std::pow(20.0f, t / 0.95f), 0.7f);
    float whoosh = bp.Process(noise.Next()).band;
    float env = Pluck(t, 0.08f, 0.35f);
    return (0.55f * tone + 0.8f * whoosh) * env;
  });
}

// Game start: a quick rising arpeggio into a held chord.
SoundBuffer GameStart() {
  const float notes[] = {60, 64, 67, 72, 76, 79};
  return Render(1.3f, [&](float t) {
    float v = 0;
    for (int i = 0; i < 6; ++i) v += Chip(t, i * 0.07f, NoteHz(notes[i]), 0.12f);
    for (float n : {72.0f, 76.0f, 79.0f, 84.0f}) v += 0.5f * Chip(t, 0.45f, NoteHz(n), 0.55f);
    return v;
  });
}

// Wave bonus paid: a two-note "ding-ding" of bells over a coin-like shimmer.
SoundBuffer EndWave() {
  Noise noise(31);
  OnePole hp;
  hp.Set(5000);
  return Render(1.4f, [=](float t) mutable {
    float v = 0;
    const float starts[] = {0, 0.12f, 0.24f}, notes[] = {83, 88, 95};
    for (int i = 0; i < 3; ++i) {
      float u = t - starts[i], note = notes[i];
      if (u < 0) continue;
      float hz = NoteHz(note);
      float env = Pluck(u, 0.003f, 0.35f);
      v += env * (Sine(u * hz) + 0.4f * Sine(u * hz * 2.76) * std::exp(-u * 6) +
                  0.25f * Sine(u * hz * 5.4) * std::exp(-u * 12));
    }
    float sparkle = hp.High(noise.Next()) * Pluck(t, 0.01f, 0.2f) * (0.6f + 0.4f * Sine(t * 30));
    return 0.6f * v + 0.35f * sparkle;
  });
}

// A merged bee shot down: a punchy thump under a crunchy burst.
SoundBuffer BeeHit() {
  Phase ph;
  Noise noise(41);
  Svf lp;
  return Render(0.38f, [=](float t) mutable {
    float thump = Sine(ph.Step(60 + 240 * std::exp(-t * 30))) * Pluck(t, 0.002f, 0.09f);
    lp.Set(200 + 6000 * std::exp(-t * 14), 0.4f);
    float crunch = lp.Process(noise.Next()).low * Pluck(t, 0.001f, 0.08f);
    return thump + 0.9f * crunch;
  });
}

// A swarm bee popped: a short blip with a tick.
SoundBuffer SwarmBeeHit() {
  Phase ph;
  Noise noise(43);
  OnePole hp;
  hp.Set(3000);
  return Render(0.16f, [=](float t) mutable {
    float blip = Square(ph.Step(1300 * std::exp(-t * 14)), 0.5f) * Pluck(t, 0.001f, 0.035f);
    float tick = hp.High(noise.Next()) * Pluck(t, 0.0005f, 0.008f);
    return 0.6f * blip + 0.7f * tick;
  });
}

// The swarm merges: a falling sweep that lands in a menacing, wobbling buzz.
SoundBuffer SwarmMerge() {
  Phase a, b;
  Svf lp;
  return Render(0.8f, [=](float t) mutable {
    float hz = 90 + 700 * std::exp(-t * 7);
    float wobble = 1 + 0.04f * Sine(t * 11);
    float v = Saw(a.Step(hz * wobble)) + Saw(b.Step(hz * 1.012f * wobble));
    lp.Set(500 + 3500 * std::exp(-t * 4), 0.55f);
    return lp.Process(v).low * Pluck(t, 0.01f, 0.3f);
  });
}

// A bonus bee enters: a buzzing drone whose wings beat 28 times a second.
SoundBuffer BonusBee() {
  Phase ph;
  Svf bp;
  return Render(0.55f, [=](float t) mutable {
    float hz = 210 + 25 * Sine(t * 5);
    float buzz = Saw(ph.Step(hz)) * (0.6f + 0.4f * Sine(t * 28));
    bp.Set(900 + 300 * Sine(t * 3), 0.6f);
    float env = std::min(1.0f, t / 0.05f) * std::min(1.0f, (0.55f - t) / 0.15f);
    return (bp.Process(buzz).band * 1.5f + 0.3f * buzz) * env;
  });
}

// A bonus bee kicked upwards: a springy upward "boing".
SoundBuffer BonusBeeHit() {
  Phase ph;
  return Render(0.3f, [=](float t) mutable {
    float hz = 300 + 500 * (1 - std::exp(-t * 25)) + 40 * Sine(t * 35) * std::exp(-t * 8);
    return (Sine(ph.Step(hz)) + 0.25f * Triangle(ph.p * 2)) * Pluck(t, 0.002f, 0.09f);
  });
}

// A bee bursts: a splashy pop with crackle that darkens as it dies.
SoundBuffer BeeBurst() {
  Noise noise(53), crackle(59);
  Svf lp;
  Phase ph;
  return Render(0.65f, [=](float t) mutable {
    lp.Set(300 + 9000 * std::exp(-t * 9), 0.2f);
    float body = lp.Process(noise.Next()).low * Pluck(t, 0.001f, 0.16f);
    float pop = Sine(ph.Step(90 + 500 * std::exp(-t * 40))) * Pluck(t, 0.001f, 0.05f);
    float spark = crackle.Next();
    float crack = (spark > 0.96f ? 1.0f : spark < -0.96f ? -1.0f : 0.0f) * Pluck(t, 0.0f, 0.2f);
    return body + 0.8f * pop + 0.15f * crack;
  });
}

// The ship destroyed: a long low explosion, with a falling tone for the loss.
SoundBuffer ShipDie() {
  Noise noise(61), rumble_noise(67);
  Svf lp, low;
  Phase ph;
  return Render(1.9f, [=](float t) mutable {
    lp.Set(150 + 5000 * std::exp(-t * 5), 0.25f);
    float blast = lp.Process(noise.Next()).low * Pluck(t, 0.002f, 0.45f);
    low.Set(90, 0.5f);
    float rumble = low.Process(rumble_noise.Next()).low * 3 * Pluck(t, 0.02f, 0.7f);
    float fall = Square(ph.Step(400 * std::exp(-t * 1.6f)), 0.5f) * 0.2f * Pluck(t, 0.01f, 0.5f);
    float boom = Sine(t * 45 - 20 * t * t) * Pluck(t, 0.003f, 0.3f);
    return blast + rumble + fall + boom;
  });
}

// The wave is over and the ship flies off: a rising whoosh and a climbing tone.
SoundBuffer FlyAway() {
  Noise noise(71);
  Svf bp;
  Phase ph;
  return Render(1.5f, [=](float t) mutable {
    float u = t / 1.5f;
    bp.Set(200 * std::pow(30.0f, u), 0.8f);
    float whoosh = bp.Process(noise.Next()).band;
    float tone = Triangle(ph.Step(150 * std::pow(8.0f, u))) * 0.35f;
    float env = std::sin(3.14159265f * std::pow(u, 0.7f));
    return (whoosh + tone) * env;
  });
}

// A swarm warps in: a shimmering ring-modulated sweep with an echo.
SoundBuffer BeeWarp() {
  SoundBuffer dry = Synthesise(0.7f, [ph = Phase{}](float t) mutable {
    float hz = 400 + 900 * t + 250 * Sine(t * 22);
    float ring = Sine(ph.Step(hz)) * Sine(t * 1730);
    return ring * Pluck(t, 0.05f, 0.18f);
  });
  // Two quieter repeats 90 ms apart make it ring out like a warp field.
  std::size_t gap = static_cast<std::size_t>(0.09f * kRate);
  std::vector<float> out(dry.samples.size() + 2 * gap);
  for (std::size_t i = 0; i < dry.samples.size(); ++i) {
    out[i] += dry.samples[i];
    out[i + gap] += 0.45f * dry.samples[i];
    out[i + 2 * gap] += 0.2f * dry.samples[i];
  }
  dry.samples = out;
  return Finish(std::move(dry));
}

// A new best score: a short fanfare in two voices.
SoundBuffer HighScore() {
  const struct {
    float start, note, length;
  } melody[] = {{0, 67, 0.1f},     {0.12f, 67, 0.1f}, {0.24f, 67, 0.1f},
                {0.36f, 72, 0.5f}, {0.62f, 76, 0.1f}, {0.74f, 79, 0.6f}};
  return Render(1.5f, [&](float t) {
    float v = 0;
    for (auto n : melody) {
      v += Chip(t, n.start, NoteHz(n.note), n.length);
      v += 0.45f * Chip(t, n.start, NoteHz(n.note - 12), n.length);
    }
    return v;
  });
}

}  // namespace

const std::vector<SoundEffect>& SoundEffects() {
  static const std::vector<SoundEffect> effects = {
      {"shot1", Shot},        {"hypersp", Hyperspace}, {"gstart", GameStart},  {"endwave", EndWave},
      {"bhit", BeeHit},       {"bhit1", SwarmBeeHit},  {"lswarm", SwarmMerge}, {"sswarm", BonusBee},
      {"sbhit", BonusBeeHit}, {"sbdie", BeeBurst},     {"shipdie", ShipDie},   {"flyaway", FlyAway},
      {"beewarp", BeeWarp},   {"hscore", HighScore},
  };
  return effects;
}
