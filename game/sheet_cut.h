// sheet_cut.h - the game's images cut from the sprite sheet without reading the screen back.
//
// The game paints the sprite sheet at (0, 0) on a screen cleared to black and captures each
// image from the back buffer. A driver that cannot read pixels back (the null driver) would give
// empty images, and pixel-exact collisions would never hit. These functions give the very pixels
// that capture would: the screen as the masked sheet leaves it (opaque where the sheet's alpha is
// at least one half, black elsewhere), and rectangles of it taken as CaptureImage takes them.
#pragma once

#include <span>

#include "graphics/image.h"
#include "graphics/pixmap.h"

// One of the game's images on the sprite sheet: `frames` frames of width x height, frame i at
// (x + i * step, y).
struct SheetImage {
  Ref<TImage>* image;  // the global it becomes (globals.h)
  int width, height, frames, x, y, step;
  bool centred;  // handle at the centre (sprites, captions); else top-left (the HUD's pieces)
};

// Every image the game cuts from the sheet, in the order start-up cuts them.
std::span<const SheetImage> SheetImages();
// A new image (with the program's automatic image flags and handle) holding `row`'s frames cut
// from `screen`, the painted sheet.
Ref<TImage> CutSheetImage(const SheetImage& row, const Ref<TPixmap>& screen);

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
// As CaptureImage(image, x, y, frame) with `screen` as the back buffer: the image-sized rectangle
// at (x, y), black where it lies off the screen, with the mask colour made transparent when the
// image is masked.
void CutImage(const Ref<TImage>& image, const Ref<TPixmap>& screen, int x, int y, int frame);
