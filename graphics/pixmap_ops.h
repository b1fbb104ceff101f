// pixmap_ops.h - whole-pixmap helpers: flipping, bilinear scaling and colour-key masking.
//
// Each returns a new pixmap (rows aligned to 4 bytes) and leaves its argument untouched.
#pragma once

#include "graphics/pixmap.h"

// Row i of the result is row height - 1 - i of `pixmap`.
Ref<TPixmap> FlipPixmapVertically(const Ref<TPixmap>& pixmap);

// Bilinear resampling to width x height in the source's format. Sample centres line up with
// pixel centres, and edge pixels are held rather than blended with what lies outside, so a
// (black, white) pair widened to four pixels reads 0, 63, 191, 255. An empty source gives a
// result of zeroes.
Ref<TPixmap> ScalePixmap(const Ref<TPixmap>& pixmap, int width, int height);

// A FORMAT_RGBA8888 copy in which pixels of colour (r, g, b) become transparent and every other
// pixel opaque (the source's own alpha is dropped). A transparent pixel takes the average colour
// of its non-mask neighbours (3x3), so that filtered drawing does not bleed the mask colour into
// the edges of a sprite.
Ref<TPixmap> ApplyMaskColor(const Ref<TPixmap>& pixmap, int r, int g, int b);
