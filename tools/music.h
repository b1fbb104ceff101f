// music.h - the four techno tracks: stereo, 44100 Hz, each a seamless loop of over a minute.
//
// A track is a grid of sixteenth-note steps. Every note is rendered on its own and added into
// the loop with its tail wrapped round to the start, and the echo runs round the loop until it
// settles, so the last sample flows into the first with no click when the game loops it.
#pragma once

#include <vector>

#include "tools/ogg_file.h"

struct MusicTrack {
  const char* name;  // file name without ".ogg"
  SoundBuffer (*make)();
};

// techno1 (first swarm wave), techno2 (bonus round), techno3 (title, the calm one), techno4
// (second swarm wave).
const std::vector<MusicTrack>& MusicTracks();

constexpr float kMusicPeak = 0.75f;
constexpr float kMinimumLoopSeconds = 60.5f;
