// replay_run.h - whole games recorded or replayed: what `--record FILE`, `--replay FILE` and
// `--headless` run.
//
// RecordGame plays the game as usual (start-up, the frame loop, the exit that saves the best
// score) while recording it, and writes the replay when the game ends. ReplayGame plays a replay
// file back, in a window in real time or headless (the null graphics driver on the virtual clock,
// as fast as the machine allows), without saving any best score. Both give the final score and
// the number of frames for the "score N frames M" line, and an exit code:
//
//   0  the game was recorded, or the replay reached its end with every check holding
//   2  the replay file was refused: unreadable, not a replay, another version, or damaged
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
  int score = 0;          // the score on the HUD when the game ended
  int frames = 0;         // frames played (recorded or replayed)
  bool new_best = false;  // RecordGame: the best score rose during the game
  std::string message;    // why a replay was refused or diverged; a failed save; else empty

  int ExitCode() const { return static_cast<int>(exit); }
  // "score 12345 frames 6789"
  std::string Summary() const;
};

// Plays and records a game seeded with `seed` into `path` (and, when the best score rose and
// `best_path` is not empty, into `best_path` too).
GameRunResult RecordGame(const std::string& path, std::int32_t seed,
                         const std::string& best_path = "");
// Plays the replay at `path` back; `headless` runs it on the null driver and the virtual clock.
GameRunResult ReplayGame(const std::string& path, bool headless);
// A seed for a new recording, from the system's entropy (the game itself reads no clock).
std::int32_t NewReplaySeed();
