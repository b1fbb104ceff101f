// screen_name.h - which screen the player is looking at, named for the frame log.
//
// The frame loop's mode lives in the flags of globals.h; start-up, the splash screen, the pause
// screen and the options screens are loops of their own that the flags do not show, so those say
// when they run. Main thread only.
#pragma once

enum class ModalScreen {
  None,
  Startup,
  Splash,
  Pause,
  Options,
  Controls,
  BestGame,
  Replay,      // a replay file watched (opened, dropped, or from the hall of fame)
  HallOfFame,  // the table of the player's best games
  Name,        // typing or picking the player's name
  Video,       // saving the best game as a video
};

// Set by start-up and the splash and pause loops while they run, None otherwise.
void SetModalScreen(ModalScreen screen);
ModalScreen CurrentModalScreen();
// Whether a recorded game is being watched through the frame loop (the best game, or a replay).
bool WatchingRecordedGame();
// "startup", "splash", "pause", "options", "controls", "bestgame" (watching the best game from
// the title), "replay" (watching a replay file), "halloffame", "name", "video" (saving the best
// game as a video), "practice" (any frame of a practice game, practice_game.h), "title",
// "getready", "play", "waveend", "flyaway", "gameover" or "idle" (between sequences, as while a
// game is abandoned).
const char* CurrentScreenName();

// Marks a modal loop for the length of a scope, whichever way the scope is left.
class ModalScreenScope {
 public:
  explicit ModalScreenScope(ModalScreen screen) : before_(CurrentModalScreen()) {
    SetModalScreen(screen);
  }
  ~ModalScreenScope() { SetModalScreen(before_); }
  ModalScreenScope(const ModalScreenScope&) = delete;
  ModalScreenScope& operator=(const ModalScreenScope&) = delete;

 private:
  ModalScreen before_;
};
