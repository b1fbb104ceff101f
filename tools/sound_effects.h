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

// Peaks of every effect sit here, comfortably below full scale after encoding.
constexpr float kEffectPeak = 0.8f;
