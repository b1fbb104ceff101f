// replay_snapshot.h - the state a recorded game starts from, taken and put back.
//
// A recording keeps each game from the flip at which it started, not from the program's start,
// so the title and the attract play before it are never kept. What the game then starts from is
// whatever the title left: the mode's flags and counters, the random generator's state, the ship
// and the score state (the best score included), every entity of every list with every field
// (the 300 stars' places above all), the polled-input tables (the pointer, keys and buttons held,
// presses not yet counted) and the joystick ports. That is everything the state hash covers and
// everything the game's input queries answer from; the snapshot also holds the hash itself, so
// that a replay can tell that it put back the very state that was recorded.
//
// As bytes: the hash, then each part as variable-length integers and float bit patterns. A
// snapshot is checked whole before anything is put back: values out of the ranges a game can
// reach (a flag of 2, a frame an image does not have, a non-finite position) make it no snapshot.
// Taking and restoring: main thread, with the globals made by the start-up.
#pragma once

#include <cstdint>
#include <vector>

// The state as it is now.
std::vector<std::uint8_t> TakeGameSnapshot();
// Whether `bytes` make a snapshot (nothing is changed; needs no game, any thread).
bool CheckGameSnapshot(const std::vector<std::uint8_t>& bytes);

enum class SnapshotRestore {
  kRestored,     // the state is back, and its hash is the recorded one
  kOtherState,   // put back, but the hash differs: the game keeps state the snapshot lacks
  kNotSnapshot,  // the bytes make no snapshot; nothing was changed
};
SnapshotRestore RestoreGameSnapshot(const std::vector<std::uint8_t>& bytes);
