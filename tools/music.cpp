// music.cpp - drum, bass, lead and pad voices, the step sequencer and the four arrangements.
#include "tools/music.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>

#include "tools/synth.h"

namespace {

// What plays in a four-bar phrase.
enum Part : unsigned {
  kKick = 1,
  kHats = 2,
  kOpenHats = 4,
  kClap = 8,
  kBass = 16,
  kLead = 32,
  kPad = 64,
  kRoll = 128,      // a snare roll through the phrase's last bar, building to the next
  kBright = 256,    // the lead's filter open wide
  kSoftKick = 512,  // a rounder, quieter kick
};

struct Chord {
  int root;      // the bass note, semitones from the key
  int tones[3];  // the lead's chord tones, semitones from the key
};

enum class LeadVoice { kStab, kSquare, kBell, kAcid };

struct TrackSpec {
  int step;                   // samples per sixteenth
  int key;                    // MIDI note of the bass's tonic
  std::vector<Chord> chords;  // one a bar, repeating
  const char* bass;           // 16 steps: '.' rest, 'x' root, 'o' octave up, 'f' fifth up
  const char* lead;           // 32 steps: '.' rest, '0'-'5' chord tone (3-5 an octave up)
  LeadVoice voice;
  float echo;  // feedback of the lead's ping-pong echo
  std::vector<unsigned> phrases;
};

// A stereo loop that wraps everything written past its end back to its start.
struct Loop {
  std::size_t frames;
  std::vector<float> left, right;
  explicit Loop(std::size_t n) : frames(n), left(n), right(n) {}
  void Add(std::size_t at, float l, float r) {
    at %= frames;
    left[at] += l;
    right[at] += r;
  }
  // Renders `length` samples of `voice` from frame `start`, placed by `pan` (-1 left, +1 right).
  void Note(std::size_t start, float length, float gain, float pan,
            const std::function<float(float t)>& voice) {
    std::size_t n = static_cast<std::size_t>(length * kRate);
    float gl = gain * std::sqrt((1 - pan) / 2), gr = gain * std::sqrt((1 + pan) / 2);
    for (std::size_t i = 0; i < n; ++i) {
      float v = voice(static_cast<float>(i) / kRate);
      Add(start + i, v * gl, v * gr);
    }
  }
};

float Kick(float t, bool soft) {
  // The pitch falls from about 160 Hz to 45 Hz; the phase is the integral of that sweep.
  float phase = 45 * t + 115 * (1 - std::exp(-t * 28)) / 28;
  float body = Sine(phase) * std::exp(-t * (soft ? 9.0f : 6.5f));
  float click = soft ? 0 : Sine(t * 1800) * std::exp(-t * 400) * 0.4f;
  return body + click;
}

std::function<float(float)> Hat(std::uint32_t seed, bool open) {
  return [noise = Noise(seed), hp = OnePole{}, hp2 = OnePole{}, open](float t) mutable {
    if (t == 0) {
      hp.Set(7000);
      hp2.Set(7000);
    }
    return hp2.High(hp.High(noise.Next())) * std::exp(-t / (open ? 0.09f : 0.022f));
  };
}

std::function<float(float)> Clap(std::uint32_t seed, float decay) {
  return [noise = Noise(seed), bp = Svf{}, decay](float t) mutable {
    if (t == 0) bp.Set(1400, 0.5f);
    // Three quick bursts before the tail, the way hands never quite meet at once.
    float env =
        t < 0.025f ? std::exp(-std::fmod(t, 0.009f) * 300) : std::exp(-(t - 0.025f) / decay);
    return bp.Process(noise.Next()).band * env * 2.5f;
  };
}

std::function<float(float)> Bass(float hz, float gate, float cutoff, float resonance, float env) {
  return [=, a = 0.0, b = 0.0, lp = Svf{}](float t) mutable {
    a += hz / kRate;
    b += hz * 1.006 / kRate;
    float v = 0.5f * (Saw(a) + Saw(b));
    lp.Set(cutoff + env * std::exp(-t * 18), resonance);
    float amp = std::min(1.0f, t / 0.003f) * (t < gate ? 1.0f : std::exp(-(t - gate) / 0.012f));
    return lp.Process(v).low * amp;
  };
}

std::function<float(float)> Lead(LeadVoice voice, float hz, float gate, float brightness) {
  return [=, a = 0.0, b = 0.0, lp = Svf{}](float t) mutable {
    a += hz / kRate;
    b += hz * 1.008 / kRate;
    float release = t < gate ? 1.0f : std::exp(-(t - gate) / 0.03f);
    switch (voice) {
      case LeadVoice::kStab: {
        lp.Set(500 + brightness * 5000 * std::exp(-t * 14), 0.35f);
        return lp.Process(0.5f * (Saw(a) + Saw(b))).low * std::exp(-t * 5) * release;
      }
      case LeadVoice::kSquare: {
        lp.Set(1200 + brightness * 5000, 0.2f);
        float v = 0.5f * (Square(a, 0.25f) + Square(b, 0.5f));
        return lp.Process(v).low * std::exp(-t * 4) * release * 0.7f;
      }
      case LeadVoice::kBell: {
        float v = Sine(a) + 0.35f * Sine(a * 2.01) * std::exp(-t * 6) +
                  0.15f * Sine(a * 3.98) * std::exp(-t * 12);
        return v * std::min(1.0f, t / 0.004f) * std::exp(-t * 3.2f) * 0.8f;
      }
      case LeadVoice::kAcid: {
        lp.Set(300 + brightness * 2600 * std::exp(-t * 10), 0.85f);
        return lp.Process(Saw(a)).low * release * 0.8f;
      }
    }
    return 0.0f;
  };
}

std::function<float(float)> Pad(float hz, float length) {
  return [=, a = 0.0, b = 0.0, lp = Svf{}](float t) mutable {
    a += hz / kRate;
    b += hz * 1.011 / kRate;
    if (t == 0) lp.Set(1100, 0.15f);
    float amp = std::min(1.0f, t / 0.35f) * (t < length ? 1.0f : std::exp(-(t - length) / 0.3f));
    return lp.Process(0.5f * (Saw(a) + Saw(b))).low * amp;
  };
}

SoundBuffer Render(const TrackSpec& track) {
  const int bars = static_cast<int>(track.phrases.size()) * 4;
  const std::size_t step = static_cast<std::size_t>(track.step);
  const std::size_t frames = step * 16 * bars;
  if (static_cast<float>(frames) / kRate < kMinimumLoopSeconds) {
    throw std::logic_error("a music loop is shorter than a minute");
  }
  const float step_seconds = static_cast<float>(track.step) / kRate;
  Loop drums(frames), bass(frames), lead(frames), pad(frames);
  std::uint32_t seed = 1;

  for (int bar = 0; bar < bars; ++bar) {
    unsigned parts = track.phrases[bar / 4];
    const Chord& chord = track.chords[bar % track.chords.size()];
    bool last_bar = bar % 4 == 3;
    // The phrase's progress, 0 to 1, opens the filters as it goes.
    float rise = (bar % 4) / 3.0f;
    for (int s = 0; s < 16; ++s) {
      std::size_t at = (static_cast<std::size_t>(bar) * 16 + s) * step;
      if ((parts & (kKick | kSoftKick)) && s % 4 == 0) {
        bool soft = parts & kSoftKick;
        drums.Note(at, 0.45f, soft ? 0.7f : 1.0f, 0, [soft](float t) { return Kick(t, soft); });
      }
      if (parts & kHats) {
        float accent = s % 4 == 2 ? 0.32f : s % 2 ? 0.12f : 0.18f;
        drums.Note(at, 0.12f, accent, 0.3f, Hat(seed++, false));
      }
      if ((parts & kOpenHats) && s % 4 == 2) drums.Note(at, 0.4f, 0.22f, -0.2f, Hat(seed++, true));
      if ((parts & kClap) && (s == 4 || s == 12))
        drums.Note(at, 0.35f, 0.4f, -0.1f, Clap(seed++, 0.11f));
      if ((parts & kRoll) && last_bar && (s % 2 == 0 || s >= 8)) {
        drums.Note(at, 0.15f, 0.12f + 0.25f * s / 16, 0.1f, Clap(seed++, 0.03f));
      }
      if (parts & kBass) {
        char c = track.bass[s];
        if (c != '.') {
          int note = track.key + chord.root + (c == 'o' ? 12 : c == 'f' ? 7 : 0);
          float accent = s % 4 == 2 ? 1.0f : 0.7f;
          bool acid = track.voice == LeadVoice::kAcid;
          bass.Note(
              at, step_seconds * 1.2f, accent, 0,
              Bass(NoteHz(static_cast<float>(note)), step_seconds * 0.8f,
                   acid ? 180 + 900 * rise : 240, acid ? 0.8f : 0.3f, acid ? 1800 * accent : 900));
        }
      }
      if (parts & kLead) {
        char c = track.lead[(bar % 2) * 16 + s];
        if (c >= '0' && c <= '5') {
          int i = c - '0';
          int note = track.key + 24 + chord.tones[i % 3] + (i >= 3 ? 12 : 0);
          float bright = (parts & kBright ? 0.9f : 0.35f) + 0.1f * rise;
          float length = track.voice == LeadVoice::kBell ? 1.2f : step_seconds * 2.5f;
          lead.Note(
              at, length, 0.5f, 0,
              Lead(track.voice, NoteHz(static_cast<float>(note)), step_seconds * 0.7f, bright));
        }
      }
    }
    if (parts & kPad) {
      float bar_seconds = 16 * step_seconds;
      std::size_t at = static_cast<std::size_t>(bar) * 16 * step;
      for (int i = 0; i < 3; ++i) {
        int note = track.key + 12 + chord.tones[i];
        pad.Note(at, bar_seconds + 1.2f, 0.22f,
                 i == 0   ? -0.5f
                 : i == 1 ? 0.5f
                          : 0,
                 Pad(NoteHz(static_cast<float>(note)), bar_seconds));
      }
    }
  }

  // The lead's ping-pong echo, three sixteenths apart, run round the loop until it has settled.
  std::size_t delay = 3 * step;
  Loop echo(frames);
  for (int pass = 0; pass < 4; ++pass) {
    for (std::size_t i = 0; i < frames; ++i) {
      std::size_t from = (i + frames - delay) % frames;
      echo.left[i] = track.echo * (0.5f * (lead.left[from] + lead.right[from]) + echo.right[from]);
      echo.right[i] = track.echo * echo.left[from];
    }
  }

  SoundBuffer out;
  out.channels = 2;
  out.samples.resize(frames * 2);
  const std::size_t beat = 4 * step;
  for (std::size_t i = 0; i < frames; ++i) {
    unsigned parts = track.phrases[i / (16 * step * 4)];
    // Everything but the drums ducks under each kick and swells back, the pulse of the style.
    float since = static_cast<float>(i % beat) / kRate;
    float duck = (parts & kKick) ? 1 - 0.55f * std::exp(-since / 0.09f) : 1.0f;
    float l = drums.left[i] + duck * (bass.left[i] * 0.55f + lead.left[i] * 0.32f +
                                      echo.left[i] * 0.3f + pad.left[i]);
    float r = drums.right[i] + duck * (bass.right[i] * 0.55f + lead.right[i] * 0.32f +
                                       echo.right[i] * 0.3f + pad.right[i]);
    // A gentle saturator glues the mix and keeps the peaks round.
    out.samples[2 * i] = std::tanh(l * 0.9f);
    out.samples[2 * i + 1] = std::tanh(r * 0.9f);
  }
  Normalize(out, kMusicLevelPeak);
  MasterPeak(out, kMusicMasterPeak, true);
  return out;
}

constexpr unsigned kFull = kKick | kHats | kOpenHats | kClap | kBass | kLead;

SoundBuffer Techno1() {
  // A minor at 125 BPM: the first wave, driving and straight.
  return Render({5292,
                 33,
                 {{0, {0, 3, 7}}, {0, {0, 3, 7}}, {-4, {-4, 0, 3}}, {-2, {-2, 2, 5}}},
                 "..xx..xx..xx..xo",
                 "0.12.0.21.0.12.40.12.0.23.5.43.2",
                 LeadVoice::kStab,
                 0.35f,
                 {kKick | kHats | kBass, kKick | kHats | kOpenHats | kClap | kBass, kFull,
                  kFull | kBright, kHats | kPad | kLead, kHats | kPad | kLead | kBass | kRoll,
                  kFull | kBright | kPad, kFull | kRoll}});
}

SoundBuffer Techno2() {
  // F major at 134 BPM: the bonus round, bouncing octaves and a bright square arpeggio.
  return Render({4937,
                 41,
                 {{0, {0, 4, 7}}, {7, {7, 11, 14}}, {2, {2, 5, 9}}, {-2, {-2, 2, 5}}},
                 "x.o.x.o.x.o.x.oo",
                 "0123432101234321012340.4.3.2.1.0",
                 LeadVoice::kSquare,
                 0.3f,
                 {kKick | kHats | kBass, kKick | kHats | kClap | kBass | kLead, kFull,
                  kFull | kBright, kHats | kPad | kLead | kRoll, kFull | kPad, kFull | kBright,
                  kFull | kBright | kPad, kFull | kRoll}});
}

SoundBuffer Techno3() {
  // E minor at 112 BPM: the title, calm, with a soft kick under pads and bells.
  return Render({5906,
                 40,
                 {{0, {0, 3, 7}}, {-4, {-4, 0, 3}}, {3, {3, 7, 10}}, {-2, {-2, 2, 5}}},
                 "x.......x.....f.",
                 "0..1..2..4..2..1...3..2..1..0...",
                 LeadVoice::kBell,
                 0.45f,
                 {kPad | kLead, kPad | kLead | kHats, kPad | kLead | kSoftKick | kHats | kBass,
                  kPad | kLead | kSoftKick | kHats | kBass, kPad | kLead | kBass,
                  kPad | kLead | kSoftKick | kHats | kBass | kOpenHats,
                  kPad | kLead | kSoftKick | kHats | kBass | kOpenHats, kPad | kLead | kHats}});
}

SoundBuffer Techno4() {
  // D minor at 130 BPM: the second wave, harder, over a squelching acid line.
  return Render({5088,
                 38,
                 {{0, {0, 3, 7}}, {0, {0, 3, 7}}, {-2, {-2, 2, 5}}, {-4, {-4, 0, 3}}},
                 "xxoxx.xoxfx.xoxx",
                 "0...2...1...0.4.0...2...3...5.4.",
                 LeadVoice::kAcid,
                 0.4f,
                 {kKick | kHats | kBass, kKick | kHats | kOpenHats | kBass, kFull, kFull | kBright,
                  kHats | kBass | kPad | kRoll, kFull | kPad, kFull | kBright, kFull | kBright,
                  kFull | kRoll}});
}

}  // namespace

const std::vector<MusicTrack>& MusicTracks() {
  static const std::vector<MusicTrack> tracks = {
      {"techno1", Techno1}, {"techno2", Techno2}, {"techno3", Techno3}, {"techno4", Techno4}};
  return tracks;
}
