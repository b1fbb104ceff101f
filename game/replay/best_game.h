// best_game.h - the best game the title offers to watch and the ghost flies: the game of this
// run in which the best score rose last, or else the one kept in best.replay.
//
// best.replay is read once, when the run starts: a file that is not there offers nothing; one
// that is refused (no regular file, damaged, of another version, not a replay) is named in one
// line on stderr and in the one line the title shows in place of the offer, and the game goes on.
// A game of this run that raises the best takes its place at once, the file being written only
// when the run ends, and then only over a game that scored less. Main thread only.
#pragma once

#include <string>
#include <vector>

#include "game/replay/replay_file.h"
#include "game/replay/ship_track.h"

// Reads the best game kept at `path` (empty: none), forgetting any before.
void UseBestReplay(const std::string& path);

struct BestGameOffer {
  bool watchable = false;
  int score = -1;       // its final score; -1 when its track does not say
  std::string problem;  // why best.replay is not offered ("best.replay: ..."), else empty
};
// What the title offers now.
const BestGameOffer& OfferedBestGame();
// The game itself; null when none is offered.
const RecordedGame* BestGameToWatch();
// Who played it (empty when none is offered or its file does not say).
const std::string& BestGamePlayer();
// Its ship's track, point by point (empty when none is offered or it has none).
const std::vector<ShipPoint>& BestGameTrack();
// The title's line for it: "W = Watch Best Game (275)  V = Video", or the problem; empty for
// neither.
std::string BestGameLine();
// The best game's track was found departing from its game while it was watched: it is offered no
// more ("best.replay cannot be watched: damaged"), its ghost no more flies, and KeepBestGame
// writes over it whatever it claims.
void SetBestGameDamaged();

// Writes `game` (a journal of the one game) to best.replay at `path` unless the file as it is
// now holds a game scoring as much or more, as the best score's file never falls: another copy of
// the game may have saved a better one meanwhile. A file that is no regular file (a FIFO, a
// folder) is left alone. True when saved or left holding the better game (or when this run
// writes none of the player's files); false, with a line on stderr, when it could not be saved.
bool KeepBestGame(const std::string& path, const ReplayJournal& game);
