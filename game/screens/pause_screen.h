// pause_screen.h - the pause screen, and the frozen frame it and the options screen stand on.
//
// The pause screen is modal: nothing else runs while it lasts. It shows the frame it was opened
// in, steps the volumes (F2, F3, or the fire and hyperspace buttons), switches the colour mode
// (F4) and opens the options screen. Main thread only.
#pragma once

#include "graphics/image.h"

// Where the pause screen shows the options line.
inline constexpr float kPauseOptionsY = 290;

// The picture drawn so far, with the HUD and the side bars, grabbed and flipped: the backdrop of
// a screen drawn over the frame it was opened in.
Ref<TImage> FreezeFrame();
// The options screen over `backdrop`, and back with nothing of its presses left over.
void OpenOptions(const Ref<TImage>& backdrop);
// Where the pause screen opens: over the frame being drawn (its picture grabbed before the
// flip), or once that frame was shown (its picture drawn anew, as the focus lost in the flip's
// own message pump asks).
enum class PauseOpening { kBeforeFlip, kAfterFlip };
// Runs the pause screen until the pause key or button (or a click off the options line) resumes
// play. ESC and F1 end it with a down test, leaving their hit counted for the frame loop to act
// on in the same frame; a close request ends it with quitflag set. A pad pulled out or the focus
// lost while it lasts asks for no second pause.
void PauseScreen(PauseOpening opening = PauseOpening::kBeforeFlip);
