// sprite_sheet.h - the sprite sheet: every game image, each frame in its fixed rectangle.
//
// The game cuts frame i of an image at (x + i * step, y). Each frame is drawn on a canvas of its
// own size and pasted there, so no drawing can spill into a neighbour; everything else stays
// pure black, the transparent colour.
#pragma once

#include <string>
#include <vector>

#include "tools/canvas.h"

constexpr int kSheetWidth = 637;
constexpr int kSheetHeight = 423;

struct SheetImage {
  const char* name;
  int width, height, frames;
  int x, y, step;
};

// The sixteen images in the game's loading order.
const std::vector<SheetImage>& SheetImages();

Canvas DrawSpriteSheet();
void WriteSpriteSheet(const std::string& path);
