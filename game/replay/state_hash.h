// state_hash.h - one number for the whole state of the game, to compare runs frame by frame.
//
// The hash covers everything play depends on, as WalkGameState() (state_fields.h) names it: the
// fields of the state structs of globals.h, the random generator's state, the ship and the score
// state, and every entity of every list with all its fields, in list order. Two runs that agree on
// it agree on the game; replays carry it as their check, soaks print it. It is FNV-1a over the
// values' bytes (floats by their bit patterns), the same on every machine of one byte order.
// Volumes and images are left out: they never steer play. Main thread only; needs the globals made
// by the start-up.
#pragma once

#include <cstdint>

// The hash of the game's state as it stands (0 before the start-up made the globals).
std::uint64_t GameStateHash();
