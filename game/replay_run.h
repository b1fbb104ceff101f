// replay_run.h - whole games recorded or replayed: what `--record FILE`, `--replay FILE` and
// `--headless` run.
//
// RecordGame plays the game as usual (start-up, the frame loop, the exit that saves the best
// score) while recording its games, and when the run ends writes them all to the --record file
// and the one in which the best score rose last to best.replay. ReplayGame plays a replay file's
// games back, one after another, in a window in real time (ESC ends it) or headless (the null
// graphics driver on the virtual clock, as fast as the machine allows), and writes none of the
// player's files (game_files.h); taken over in the window (T, the pad's X), it plays the game on
// from there as a practice game (watch/take_over.h) and then the title, until the player quits,
// every game started there being practice too. Both give the last game's final score and the number
// of frames for the "score N frames M" line, and an exit code:
//
//   0  the game was recorded, or the replay reached its end with every check holding, or the
//      viewer ended it or took it over (the score and frames then those of that moment)
//   2  the replay file was refused: unreadable, a folder, not a replay, another version, too
//      large, damaged, or holding no game
//   3  the replay diverged from the recording (the message names the frame and the time into
//      the game; in a window it is also shown on screen until a key, a click or 10 seconds)
//
// Run once per process, in the game's folder, from the main thread, instead of the plain game.
#pragma once

#include <cstdint>
#include <string>

enum class ReplayExit { kOk = 0, kRefused = 2, kDiverged = 3 };

struct GameRunResult {
  ReplayExit exit = ReplayExit::kOk;
  int score = 0;          // the score on the HUD when the (last) game ended
  int frames = 0;         // frames played (recorded or replayed), over all games
  int games = 0;          // games recorded, or held by the replay
  bool new_best = false;  // RecordGame: the best score rose during the run
  bool stopped = false;   // ReplayGame: the viewer ended it
  std::string message;    // why a replay was refused or diverged; a failed save; else empty

  int ExitCode() const { return static_cast<int>(exit); }
  // "score 12345 frames 6789"
  std::string Summary() const;
};

// Plays a run whose start-up seeds the random generator with `seed`, recording its games into
// `path` (none when empty), and the game in which the best score rose last into `best_path`
// (none when empty, or when the best did not rise, or when this run writes no player's files).
GameRunResult RecordGame(const std::string& path, std::int32_t seed,
                         const std::string& best_path = "");
// Plays the replay at `path` back; `headless` runs it on the virtual clock with no window: on the
// null driver, or `drawn` on the OpenGL driver offscreen (for a video, which reads each picture).
// From `from` on (a frame; -1 or 0: from the start), the frames before it computed unseen. In a
// window the replay plays as a film (replay_viewer.h).
GameRunResult ReplayGame(const std::string& path, bool headless, bool drawn = false, int from = -1);
