// joystick_buttons.h - what the buttons of the joystick on port 0 do in the game, and the reads
// of them. The game reads one joystick, the first four buttons and the X and Y axes of the one on
// port 0. Needs the system's joystick queries.
#pragma once

#include <string>

#include "system/input_names.h"
#include "system/joystick.h"

// The game's joystick buttons by what they do; the number is the system's button number.
enum class JoystickButton : int {
  kFire = 0,        // fires; starts a game from the title, skips the splash; pause: music volume
  kHyperspace = 1,  // jumps into hyperspace; pause: effects volume
  kPause = 2,       // pauses, and carries on from the pause screen
  kQuit = 3,        // quits
  kWatch = 2,       // on the title, when a best game is offered: watches it (X on a pad)
  kVideo = 6,       // on the title, when a best game is offered: saves it as a video (the right
                    // shoulder)
};

// A pad's Start, by its place in the pad layout (system/joystick.h): it pauses and resumes
// whatever button the pause is bound to, and is bound to nothing else.
inline constexpr int kStartButton = 10;

// A pad's Y, by its place in the pad layout: it opens the options from the title and the pause
// screen, and is bound to nothing else.
inline constexpr int kOptionsButton = 4;

// The port of the joystick the game reads.
inline constexpr int kGameJoystickPort = 0;

// The word on button `button` of the game's joystick, as the screens name it: the pad's own
// label ("A", "Cross", a Nintendo pad's "B"), or "B1".. for a joystick SDL does not map or none;
// "" for no button (kNoButton). Main thread only.
inline std::string PadButtonWord(int button) {
  return JoyButtonLabel(button, JoystickPadFamily(kGameJoystickPort));
}

// Presses of the button on the game's joystick since the last read, as JoyButtonHits counts
// them (the read consumes them). Main thread only.
inline int JoystickButtonHits(JoystickButton button) {
  return JoyButtonHits(static_cast<int>(button), kGameJoystickPort);
}
