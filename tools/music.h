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

// The mix is first brought to peaks of kMusicLevelPeak, which sets how loud the track is; the
// limiter then brings its peaks down to kMusicMasterPeak at that loudness, and the file decodes
// at kMusicPeak at most. With the effects' kEffectPeak that leaves room, in the game's default
// volumes (music 1.0, effects 0.5), for the music and two effects at their peaks at once (a bee
// destroyed plays two together) within full scale.
constexpr float kMusicLevelPeak = 0.75f;
constexpr float kMusicPeak = 0.45f;
constexpr float kMusicMasterPeak = 0.94f * kMusicPeak;  // the encoder raises peaks a little
constexpr float kMinimumLoopSeconds = 60.5f;
