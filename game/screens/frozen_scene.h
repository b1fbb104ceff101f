// frozen_scene.h - the picture a modal screen stands on, drawn anew from the game's state.
//
// The pause and options screens show the frame they were opened in, grabbed whole. When the
// colours change there, the frozen scene is drawn again from what the frame loop left: the
// stars, every object in the frame loop's order, the ghost and the ship, the mode's caption, the
// HUD and the side bars. Drawing it changes nothing of the game (no random number, no sound, no
// counter), so play carries on afterwards exactly as it would have.
#pragma once

#include "graphics/image.h"

// The get-ready (or bonus-round) caption at the sequence's fade, once it shows. Main thread.
void DrawGetReadyCaption();
// The game-over caption at the sequence's fade. Main thread.
void DrawGameOverCaption();
// Draws the frozen scene into the back buffer (a held replay's picture). Main thread.
void DrawFrozenScene();
// Draws the frozen scene into the back buffer and grabs it into `backdrop` (640x480), which
// then shows it in the colour mode now in use. Main thread, inside a modal screen.
void RedrawBackdrop(const Ref<TImage>& backdrop);
