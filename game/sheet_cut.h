// sheet_cut.h - the game's images cut from the sprite sheet without reading the screen back.
//
// The game paints the sprite sheet at (0, 0) on a screen cleared to black and captures each
// image from the back buffer. A driver that cannot read pixels back (the null driver) would give
// empty images, and pixel-exact collisions would never hit. These functions give the very pixels
// that capture would: the screen as the masked sheet leaves it (opaque where the sheet's alpha is
// at least one half, black elsewhere), and rectangles of it taken as CaptureImage takes them.
#pragma once

#include "graphics/image.h"
#include "graphics/pixmap.h"

// The width x height screen after Cls() to black and PaintImage(sheet, 0, 0) under BLEND_MASK,
// white and alpha 1, with no rotation or scale and the sheet's handle at 0, 0.
Ref<TPixmap> PaintedSheet(const Ref<TImage>& sheet, int width, int height);
// As CaptureImage(image, x, y, frame) with `screen` as the back buffer: the image-sized rectangle
// at (x, y), black where it lies off the screen, with the mask colour made transparent when the
// image is masked.
void CutImage(const Ref<TImage>& image, const Ref<TPixmap>& screen, int x, int y, int frame);
