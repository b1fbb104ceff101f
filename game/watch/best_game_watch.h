// best_game_watch.h - watching the best game from the title: a modal screen that plays the best
// game (best_game.h) in the running window, in its display and colour modes and with its sound,
// through the game's own frame loop fed from the recording.
//
// The side bar says "Best game", its score and the time into it. It plays as a film
// (replay_viewer.h): ESC or the pad's B ends the watching, and so does the game's end; then the
// title is back as it was left (the attract play, the best score, the volumes, the colour mode and
// the player's own keys, whatever keys the best game was recorded with). Nothing is saved while
// watching: the recording of the run is paused, and no best score, replay, setting or screenshot
// is written. A close request ends the watching and then the program. While the best game plays
// straight on from its start, each frame of play is held against its ship track: where the ship
// and the score depart from it, the watching ends there and best.replay is taken as damaged
// (best_game.h); a seek ends the comparing, the seek itself being exact. The frame log calls the
// screen "bestgame". Any other recorded games (a replay dropped on the window, one from the hall
// of fame) are watched the same way, with their player's name in the caption, on the screen
// "replay". G or the pad's Y ends a watching to race a game against the watched one's ship. T or
// the pad's X takes it over: the game shown is played on from there as a practice game
// (take_over.h), recorded as one when the run records every game, and when it ends the title is
// back as the watching found it, the player's best score and files untouched.
// Main thread, from the frame loop on the title.
#pragma once

#include <string>

#include "game/replay/replay.h"

struct BestGameWatch {
  bool watched = false;                       // there was a best game to watch
  ReplayStatus status = ReplayStatus::kIdle;  // as the replay stood when the watching ended
  bool stopped = false;                       // the viewer ended it
  int score = 0;                              // the score on the HUD when it ended
  int frames = 0;                             // frames played
  bool damaged = false;                       // its ship track departed from its game
  std::string problem;     // a replay that went another way than recorded, or a track that
                           // departed: where and why
  bool race = false;       // ended with G or the pad's Y: a game against its ghost is due
  bool practised = false;  // taken over with T or the pad's X, and played on as practice
  int practice_score = 0;  // the score on the HUD when the practice game ended
};

// Watches the best game to its end or the viewer's key; what came of it.
BestGameWatch WatchBestGame();
// Watches the games of `journal` (a file's: on the screen "replay"), the caption titled `title`;
// a race asked for sets the ghost (ghost.h) to the journal's best game. Nothing when a modal
// screen other than the hall of fame runs or the journal holds no game.
BestGameWatch WatchReplay(ReplayJournal journal, const std::string& title);
// Reads the replay at `path` and watches it, titled with its player's name; a file that is
// refused is named on stderr with why, and nothing is watched.
BestGameWatch WatchReplayFile(const std::string& path);
// What the latest watching came to (for tests and the frame log).
const BestGameWatch& LastBestGameWatch();
// The display lost while the best game is watched: puts back what the exit's saves read (the
// run's best score, the player's settings and keys, the writing of the player's files), touching
// neither the display nor the sound; nothing when none is watched. Main thread.
void PutBackWatchedForSaves();
