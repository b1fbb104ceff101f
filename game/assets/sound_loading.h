// sound_loading.h - the game's sounds read and decoded while the display is being set up.
//
// The effects' files are decoded by a thread of their own, and the music tracks prepared by
// another (music_stream.h), both started before the display opens: opening it takes hundreds of
// milliseconds that are mostly waiting. The sounds themselves are made on the game thread, where
// the audio driver is used, once the decoding is done. Needs the data folder (game_files.h). Main
// thread only.
#pragma once

// Starts decoding the effects and preparing the music tracks. Once per start-up; the files of
// this run must be chosen (UseGameFiles) first.
void StartLoadingSounds();
// Waits for the effects' decoding and makes the snd_ globals from it; a file that cannot be
// loaded leaves its effect silent (null), with one line on stderr. Without StartLoadingSounds
// first, decodes them here.
void FinishLoadingSounds();
