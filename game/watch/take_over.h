// take_over.h - a film taken over: the game it shows played on from that moment as a practice
// game (play/practice_game.h), with the recorded game's state and score and the player's keys.
//
// T or the pad's X ends a film (replay_viewer.h) asking for this; the watchings (the best game, a
// replay file dropped or from the hall of fame) and `--replay FILE` in a window then call
// PlayPractice. The frame loop plays the game as its own (no modal screen, the pointer held):
// ESC or F1 end it to the title, the pause screen, the volumes and the picture's keys work, and
// the side bar says "Practice". A recording paused for the watching is resumed for the game, so
// that it is kept from its first flip, marked as practice, by a recording of every game
// (`--record FILE`). Main thread, from the caller of a film ViewReplay ended with kTakeOver.
#pragma once

#include "game/config/key_bindings.h"

// Stops the replay and plays its game on until the title is back (true) or the program is to end
// (false: a close request, or the quit chosen in the pause screen). `keys` are in force from the
// take-over; `record` resumes the paused recording for the game and pauses it again once the
// title is back (a game the program's end cuts short stays under way, for the run's end to keep).
// The practice mark stays on: the caller clears it when it gives back the title it had.
bool PlayPractice(const InputChoices& keys, bool record);
