// replay_seek.h - a replay taken to any of its frames: from the latest keyframe at or before it
// (replay.h), or from where it stands when that is nearer, played forward with nothing drawn and
// nothing heard, as fast as the machine allows. A frame beyond those played so far is computed
// ahead the same way, keeping keyframes as it goes. The state reached is the one playing there
// reached (its state hash says so).
//
// Frames are counted as ReplayFramesPlayed counts them, over all the journal's games. A pause
// screen in the recorded game is played through whole: a seek into it stops at its end. Main
// thread, between passes of the frame loop.
#pragma once

// One pass of the frame loop (gameframe()); false when the program is to end.
using ReplayPass = bool (*)();

// Takes the running replay to `frame` (clamped to 0..ReplayLength()) and answers the frame
// reached, which is short of it only when the replay stopped or diverged on the way.
int SeekReplay(int frame, ReplayPass pass);
