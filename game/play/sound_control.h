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
// Stops the track playing and starts the one of the phase the get-ready leads into: track 0 or 1
// for the swarm waves, 2 for the bonus round (progress.phase). Main thread.
void StartPhaseMusic();
void playsfx(const Ref<TSound>& sound);
// The pause screen's volume steps: +10%, wrapping from 100% to off.
void stepmusicvolume();
void stepsfxvolume();
// Waits while the program is in the background, with the music paused; a close request meanwhile
// sets quitflag. Main thread.
void waitwhilesuspended();

// Frames the viewer of a replay does not hear (a seek's, those played faster or slower, a held
// picture's): while silenced, effects and music starts do nothing and the music channel is held.
// Main thread.
void SilenceGameSound(bool silent);
bool GameSoundSilenced();
// The track the game's state plays: the title's, the phase's in a get-ready or in play, and none
// (-1) at a wave's end, at game over or before a get-ready's first frame.
int MusicTrackOfState();
// Ends the silence with the music of the state: the held track carries on when it is still the
// state's, and otherwise the state's starts from its beginning (or none plays). Main thread.
void ResumeMusicOfState();
