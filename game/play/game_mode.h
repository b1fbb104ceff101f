// game_mode.h - the game's mode and the transitions between its modes.
//
// The mode is five flags and the sequence state, all globals (globals.h): titlemode, getready,
// playing, waveend, gameover, with seqctr and fade (and cycledone, the fly-away's "the cycle
// wrapped"). The functions here are the only code that changes them when the game goes from
// one mode to another, and each resets what the mode it enters starts afresh; the frame code
// only counts seqctr up and fades fade down within a sequence.
//
//   start-up --> title --click--> get-ready --faded out--> play --wave done--> wave end
//                  ^                  ^                       |                (fly-away)
//                  |                  +----ship off the top---|-----------------------+
//                  +----faded out---- game over <--ship hit---+
//   F1, from any mode --> title
//
// Pause is no mode: the pause screen runs inside one frame (frame_loop.cpp, PauseScreen).
// The title's attract play goes on under titlemode, in the phase and at the difficulty the last
// game reached. Needs the globals; main thread only, like every game function.
#pragma once

// Every mode flag, counter and the sequence state at their program-start values.
void ResetModeForProgramStart();
// After the splash screen: the title, with a fresh sequence.
void EnterTitleAfterSplash();
// A click on the title: a new game's get-ready, its first wave's counters and difficulty.
void EnterGetReadyForNewGame();
// The get-ready caption has faded out: play.
void EnterPlay();
// A wave was completed (or three bonus bees escaped): the fly-away, the next phase and its
// difficulty; the wave bonus is still to pay (seqctr -1).
void EnterWaveEnd();
// The ship has left the top of the screen: the next wave's get-ready.
void EnterGetReadyAfterWave();
// The ship was hit: game over.
void EnterGameOver();
// The game-over caption has faded out: back to the title.
void EnterTitleAfterGameOver();
// F1: back to the title from any mode; every sequence ends and the cycle starts over.
void EnterTitleOnAbandon();
