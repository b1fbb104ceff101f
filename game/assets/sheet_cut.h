// sheet_cut.h - the game's images cut from the sprite sheet without reading the screen back.
//
// The game's images are the rectangles that painting the sprite sheet at (0, 0) on a screen
// cleared to black and capturing them from the back buffer would give. They are cut in software
// instead, on every driver: a driver that cannot read pixels back (the null driver) would give
// empty images and collisions that never hit, and the round trip through a real one costs start-up
// time. These functions give the very pixels that capture would: the screen as the masked sheet
// leaves it (opaque where the sheet's alpha is at least one half, black elsewhere), and
// rectangles of it taken as CaptureImage takes them.
#pragma once

#include <span>
#include <vector>

#include "game/assets/sheet_layout.h"
#include "graphics/image.h"
#include "graphics/pixmap.h"

// The global each image of the sheet's layout becomes (globals.h): entry i is kSheetImages[i]'s.
std::span<Ref<TImage>* const> SheetImageGlobals();

// The width x height screen after Cls() to black and PaintImage(sheet, 0, 0) under BLEND_MASK,
// white and alpha 1, with no rotation or scale and the sheet's handle at 0, 0.
Ref<TPixmap> PaintedSheet(const Ref<TImage>& sheet, int width, int height);
struct MaskColour {
  int r = 0, g = 0, b = 0;
};

// The width x height rectangle of `screen` at (x, y) as CaptureImage takes it: opaque, black
// where it lies off the screen, with `mask` (when given) made transparent. Pure: any thread.
Ref<TPixmap> CutPixmap(const Ref<TPixmap>& screen, int x, int y, int width, int height,
                       const MaskColour* mask);
// The frames of `row` cut from `screen`, the painted sheet, masked. Pure: any thread.
std::vector<Ref<TPixmap>> CutSheetFrames(const SheetImage& row, const Ref<TPixmap>& screen,
                                         const MaskColour& mask);
