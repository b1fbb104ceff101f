// sound_control.h - music tracks and sound effects.
//
// One looping track plays at a time on musicchannel; each start loads its file afresh and plays
// it from the beginning. Effects play once each on a channel of their own at the effects volume.
// A sound that could not be loaded (null) plays nothing.
#pragma once

#include "audio/audio_driver.h"

// Track 0: techno1 (first swarm wave), 1: techno4 (second), 2: techno2 (bonus round),
// 3: techno3 (splash and title). The caller stops the previous track first.
void playmusic(int track);
// Starts preparing the four tracks on a thread of their own, so that starting one costs the
// frame next to nothing (music_stream.h).
void PrepareMusic();
void playsfx(const Ref<TSound>& sound);
// The pause screen's volume steps: +10%, wrapping from 100% to off.
void stepmusicvolume();
void stepsfxvolume();
// Waits while the program is in the background, with the music paused; a close request meanwhile
// sets quitflag. Main thread.
void waitwhilesuspended();
