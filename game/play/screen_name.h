// screen_name.h - which screen the player is looking at, named for the frame log.
//
// The frame loop's mode lives in the flags of globals.h; start-up, the splash screen, the pause
// screen and the options screens are loops of their own that the flags do not show, so those say
// when they run. Main thread only.
#pragma once

enum class ModalScreen { None, Startup, Splash, Pause, Options, Controls, BestGame, Video };

// Set by start-up and the splash and pause loops while they run, None otherwise.
void SetModalScreen(ModalScreen screen);
ModalScreen CurrentModalScreen();
// "startup", "splash", "pause", "options", "controls", "bestgame" (watching the best game from
// the title), "video" (saving it as a video), "title", "getready", "play", "waveend", "flyaway",
// "gameover" or "idle" (between sequences, as while a game is abandoned).
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
