// sound_effects.h - the fourteen sound effects, synthesised: mono, 44100 Hz.
#pragma once

#include <string>
#include <vector>

#include "tools/ogg_file.h"

struct SoundEffect {
  const char* name;  // file name without ".ogg"
  SoundBuffer (*make)();
};

// In the game's loading order: shot1, hypersp, gstart, endwave, bhit, bhit1, lswarm, sswarm,
// sbhit, sbdie, shipdie, flyaway, beewarp, hscore.
const std::vector<SoundEffect>& SoundEffects();

// Every effect is first brought to peaks of kEffectLevelPeak, which sets how loud it is; the
// limiter then brings its peaks down to kEffectMasterPeak at that loudness, and the file decodes
// at kEffectPeak at most, so that the music and two effects at once stay within full scale
// (music.h).
constexpr float kEffectLevelPeak = 0.8f;
constexpr float kEffectPeak = 0.42f;
constexpr float kEffectMasterPeak = 0.94f * kEffectPeak;  // the encoder raises peaks a little
