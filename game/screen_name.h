// screen_name.h - which screen the player is looking at, named for the frame log.
//
// The frame loop's mode lives in the flags of globals.h; the splash screen and the pause screen
// are loops of their own that the flags do not show, so those two say when they run. Main thread
// only.
#pragma once

enum class ModalScreen { None, Splash, Pause };

// Set by the splash and pause loops while they run, None otherwise.
void SetModalScreen(ModalScreen screen);
ModalScreen CurrentModalScreen();
// "splash", "pause", "title", "getready", "play", "waveend", "flyaway", "gameover" or "idle"
// (between sequences, as while a game is abandoned).
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
