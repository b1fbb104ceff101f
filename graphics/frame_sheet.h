// frame_sheet.h - many small pixmaps laid out on one sheet, for a driver that draws them from one
// texture.
//
// Drawing a run of small images (the glyphs of a line of text) from one texture lets a renderer
// keep one batch, where a texture per image ends the batch at every image: on a software renderer
// that costs far more than the drawing. The sheet gives each pixmap a cell of its own with a
// one-pixel border copied from the pixmap's edge, so a sample that strays half a texel past the
// edge (a scaled or turned image) reads what a texture clamped at its edge would, never a
// neighbour. Needs only pixmaps.
//
//   FrameSheetLayout layout = LayOutFrameSheet(sizes, 1024);
//   if (layout.fits) upload(PaintFrameSheet(pixmaps, layout));   // cell i at layout.cells[i]
#pragma once

#include <vector>

#include "graphics/pixmap.h"

struct FrameSheetCell {
  int x = 0, y = 0;  // the pixmap's top-left pixel on the sheet (its border lies around it)
  int width = 0, height = 0;
};

struct FrameSheetLayout {
  bool fits = false;                  // false when some cell is wider than the sheet may be
  int width = 0, height = 0;          // powers of two
  std::vector<FrameSheetCell> cells;  // one per size given, in order; empty sizes get 0 x 0
};

// The smallest power of two at least `n` (1 for n <= 1), at most 2^30.
int PowerOfTwoAtLeast(int n);

// Rows of cells left to right, each row as tall as its tallest cell, the sheet at most
// `max_side` wide and tall (a power of two). Sizes of 0 or less take no room.
FrameSheetLayout LayOutFrameSheet(const std::vector<FrameSheetCell>& sizes, int max_side);

// A FORMAT_RGBA8888 sheet of the layout's size with each pixmap in its cell and its edge copied
// into the border; null pixmaps leave their cell clear. `pixmaps` matches the layout's cells.
Ref<TPixmap> PaintFrameSheet(const std::vector<Ref<TPixmap>>& pixmaps,
                             const FrameSheetLayout& layout);
