// practice_game.cpp - the practice mark of the game under way.
#include "game/play/practice_game.h"

namespace {

// Apart from the game's state: the walk's fields start every recorded game, and this mark is kept
// beside the game in its file instead, so that older replays still read. Set by a take-over and by
// each replayed game's start; cleared when the watching that took over gives the title back.
bool practice = false;

}  // namespace

bool PracticeGame() { return practice; }

void SetPracticeGame(bool on) { practice = on; }
