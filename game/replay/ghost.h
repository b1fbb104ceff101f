// ghost.h - the ghost: the ship of the best game (best_game.h) flying along in play, at the same
// moment of its run, translucent, and its score at that moment in the right side bar.
//
// A game's moments are the frame loop's flips since the flip at which the game started, counted
// as the recorder counts its ship track, so the ghost of a game played exactly as the best one
// covers the ship. With the `ghost` setting on, the frame loop draws it before the ship in every
// frame of a game while the track lasts and the recorded ship was on the playfield. Drawing it
// reads the game's state and changes none of it: no collision, score or random number. Main
// thread only.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "game/replay/replay_file.h"
#include "game/replay/ship_track.h"

// The frame loop, after its flip: counts the moments of the game under way (none while a game
// is being watched); at a game's start takes the best game's track.
void CountGhostFrame();
// The frame loop, before the ship: draws the ghost when it is on and has a point for now.
void drawghost();
// The recorded ship's point the ghost shows in this frame; none when it shows nothing.
std::optional<ShipPoint> GhostPoint();

// The right side bar's words: whose ghost it is (the player's name, else "Best game"), its score
// now and "ahead"/"behind"/"tied" with the difference; all empty when the ghost shows nothing.
struct GhostCaptionText {
  std::string title, score, lead, difference;
};
GhostCaptionText GhostCaption();

// For tests and benchmarks: the track the next game's ghost follows instead of the best game's
// (empty: the best game's again).
void UseGhostTrack(std::vector<ShipPoint> track);
// Races every later game of the run against the recorded game `game` of `player` (--ghost FILE,
// G while watching, the hall of fame), the `ghost` setting on or off; false (nothing changed)
// when the game has no track to fly.
bool RaceGhost(const RecordedGame& game, const std::string& player);
// The game of `journal` a race flies: its highest-scoring game with a track; null when none.
const RecordedGame* RacedGame(const ReplayJournal& journal);
