// options_screen.h - the options screen: the display mode and scale, the colours, the stereo mode,
// the sound output, pausing on focus loss, the flashing, and the way to the controls screen, each
// row with its value; left and right (or a choice) change a value at once and save it.
//
// Opened from the title and the pause screen by O, the pad's Y or a click on their "O = Options"
// line; ESC, B or Back (as the pad in use labels them) returns there. Main thread only.
#pragma once

#include <string>

#include "graphics/image.h"

// The line the title and the pause screen show for the screen.
extern const char kOptionsLine[];
// Whether a left click at picture point (x, y) falls on that line drawn centred at line `line_y`.
bool OnOptionsLine(int x, int y, float line_y);
// Whether O or the pad's Y was hit since the last read (both are read).
bool OptionsKeyHit();

// Row `row`'s words as the screen shows them now ("Display: fullscreen"; the display's row says
// why the desktop stands in for a refused full-screen mode).
std::string OptionsRowText(int row);

// The screen's loop over `backdrop` (the screen it was opened from), until the player returns or
// the program is asked to close (quitflag).
void OptionsScreen(const Ref<TImage>& backdrop);
