// best_game_watch.h - watching the best game from the title: a modal screen that plays the best
// game (best_game.h) in the running window, in its display and colour modes and with its sound,
// through the game's own frame loop fed from the recording.
//
// The side bar says "Best game", its score and the time into it. Any key, click or pad button
// ends the watching, and so does the game's end; then the title is back as it was left (the
// attract play, the best score, the volumes and the colour mode). Nothing is saved while
// watching: the recording of the run is paused, and no best score, replay, setting or screenshot
// is written. A close request ends the watching and then the program. The frame log calls the
// screen "bestgame". Any other recorded games (a replay dropped on the window, one from the hall
// of fame) are watched the same way, with their player's name in the caption, on the screen
// "replay". G or the pad's Y ends a watching to race a game against the watched one's ship.
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
  std::string problem;  // a replay that went another way than recorded: where and why
  bool race = false;    // ended with G or the pad's Y: a game against its ghost is due
};

// The key and pad button that end a watching to race its game.
inline constexpr int kRaceKey = 'G';
inline constexpr int kRaceButton = 4;  // Y

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
