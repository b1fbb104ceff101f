// replay.h - recording the game's input and playing it back, frame by frame.
//
// A recording listens at the polled-input seam (system/input_seam.h): every event the game's
// input tables take and every joystick read, grouped into frames by the flips of the screen, with
// the game's state hash (state_hash.h) every 60th frame. Playing back puts the recorded input in
// place of the platform's, read for read, and compares the state hash at each recorded check: the
// first difference stops the replay there (ReplayStatus::kDiverged), naming the frame and the
// time into the game, instead of letting a different game pass for the same one. A recording
// cut short by a close request in the middle of a frame (the display lost under the game) ends
// its replay there too: the flips with which the game finishes that frame are not a divergence.
//
// Both start before gamestartup, after the random generator has been seeded with the journal's
// seed, and the game seeds it again with that seed once start-up is over (see replay_run.h,
// which does all of this). One recording or one replay at a time. Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "game/replay_file.h"

// Starts recording a game that will be seeded with `seed`.
void StartRecording(std::int32_t seed);
bool Recording();
// Frames recorded so far (flips since StartRecording).
int RecordedFrames();
// Ends the recording; what came after the last flip becomes the journal's tail.
ReplayJournal StopRecording();
// The best score the recorded game started with (read from the player's file at start-up).
void RecordStartingBest(std::int32_t best);

enum class ReplayStatus {
  kIdle,      // no replay running
  kPlaying,   // input comes from the journal and every check so far held
  kEnded,     // the journal ran out while the game went on: close requests are fed from now
  kDiverged,  // a check failed or the reads no longer match: close requests are fed from now
};

// Puts the journal's input in place of the platform's from now on.
void StartReplay(const ReplayJournal& journal);
ReplayStatus CurrentReplayStatus();
// Flips since StartReplay.
int ReplayFramesPlayed();
// Whether every recorded frame has been played (the game may still read the tail's input).
bool ReplayFramesDone();
// For kDiverged: "replay diverged at frame F (M:SS.ss into the game): ...".
std::string ReplayDivergence();
// Gives input back to the platform.
void StopReplay();

// "M:SS.ss", the time into the game at the end of `frame` at 60 frames a second.
std::string GameTimeText(int frame);
