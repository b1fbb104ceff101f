// sprite_sheet.h - the sprite sheet: every game image, each frame in its fixed rectangle.
//
// Each image lies where the sheet's layout (game/assets/sheet_layout.h, shared with the game) puts
// it: every frame is drawn on a canvas of its own size and pasted at its rectangle, so no drawing
// can spill into a neighbour; everything else stays pure black, the transparent colour.
#pragma once

#include <string>

#include "game/assets/sheet_layout.h"
#include "tools/canvas.h"

Canvas DrawSpriteSheet();
void WriteSpriteSheet(const std::string& path);
