// joystick_buttons.h - every button of the pad the game reads, in one place, and the reads of
// them. The game reads one joystick, the one on port 0: its X and Y axes, the buttons bound to
// the actions (key_bindings.h: by default A, B, X and Back), Start for the pause, and on the title
// and the screens of rows A, B, X, Y, Back and the right shoulder as below. Needs the system's
// joystick queries.
#pragma once

#include <string>

#include "system/input_names.h"
#include "system/joystick.h"

// The buttons of the layout every mapped pad shares (system/joystick.h), by their number there.
inline constexpr int kPadA = 0, kPadB = 1, kPadX = 2, kPadBack = 3, kPadY = 4, kPadLeftShoulder = 5,
                     kPadRightShoulder = 6, kPadStart = 10;
// The triggers are axes of that layout, 0 at rest to 1 pressed home.
inline constexpr int kPadLeftTriggerAxis = 4, kPadRightTriggerAxis = 5;

// Start pauses and resumes whatever button the pause is bound to, and is bound to nothing else.
inline constexpr int kStartButton = kPadStart;
// On the title, when a best game is offered: X watches it.
inline constexpr int kWatchButton = kPadX;
// On the title, when a best game is offered: the right shoulder saves it as a video.
inline constexpr int kVideoButton = kPadRightShoulder;
// The screens of rows (menu.h): A chooses, B or Back returns.
inline constexpr int kMenuChooseButton = kPadA;
inline constexpr int kMenuBackButton = kPadB;
inline constexpr int kMenuPadBackButton = kPadBack;
// Y opens the options from the title and the pause screen, and is bound to nothing else; while a
// recorded game is watched, and on the hall of fame, it races the game's ghost.
inline constexpr int kOptionsButton = kPadY;
inline constexpr int kRaceButton = kPadY;
// On the title the left shoulder opens the hall of fame; there X removes a game (pressed twice).
inline constexpr int kHallOfFameButton = kPadLeftShoulder;
inline constexpr int kRemoveButton = kPadX;

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
inline int JoystickButtonHits(int button) { return JoyButtonHits(button, kGameJoystickPort); }
