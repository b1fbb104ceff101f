// frame_sheet.cpp - shelf layout of small pixmaps, and the sheet painted from them.
#include "graphics/frame_sheet.h"

#include <algorithm>

#include "graphics/pixel_format.h"

namespace {

constexpr int kBorder = 1;  // each side of a cell

}  // namespace

// Sides past 2^30 start from 2^30, the largest power of two an int holds.
int PowerOfTwoAtLeast(int n) {
  int p = 1;
  while (p < n && p < (1 << 30)) p <<= 1;
  return p;
}

FrameSheetLayout LayOutFrameSheet(const std::vector<FrameSheetCell>& sizes, int max_side) {
  FrameSheetLayout layout;
  layout.cells.resize(sizes.size());
  int row_x = 0, row_y = 0, row_height = 0, widest = 0;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const int w = sizes[i].width, h = sizes[i].height;
    if (w <= 0 || h <= 0) continue;
    const int cell_w = w + 2 * kBorder, cell_h = h + 2 * kBorder;
    if (cell_w > max_side || cell_h > max_side) return FrameSheetLayout{};
    if (row_x + cell_w > max_side) {
      row_y += row_height;
      row_x = 0;
      row_height = 0;
    }
    layout.cells[i] = FrameSheetCell{row_x + kBorder, row_y + kBorder, w, h};
    row_x += cell_w;
    row_height = std::max(row_height, cell_h);
    widest = std::max(widest, row_x);
  }
  const int height = row_y + row_height;
  if (height > max_side) return FrameSheetLayout{};
  layout.fits = true;
  layout.width = PowerOfTwoAtLeast(std::max(widest, 1));
  layout.height = PowerOfTwoAtLeast(std::max(height, 1));
  return layout;
}

Ref<TPixmap> PaintFrameSheet(const std::vector<Ref<TPixmap>>& pixmaps,
                             const FrameSheetLayout& layout) {
  Ref<TPixmap> sheet = TPixmap::Create(layout.width, layout.height, FORMAT_RGBA8888, 4);
  const std::size_t count = std::min(pixmaps.size(), layout.cells.size());
  for (std::size_t i = 0; i < count; ++i) {
    const Ref<TPixmap>& p = pixmaps[i];
    const FrameSheetCell& c = layout.cells[i];
    if (!p || c.width <= 0 || c.height <= 0) continue;
    const int w = c.width, h = c.height;
    sheet->Paste(p, c.x, c.y);
    sheet->Paste(p->Window(0, 0, 1, h), c.x - kBorder, c.y);
    sheet->Paste(p->Window(w - 1, 0, 1, h), c.x + w, c.y);
    // The rows above and below repeat the first and last rows with their border pixels.
    sheet->Paste(sheet->Window(c.x - kBorder, c.y, w + 2 * kBorder, 1), c.x - kBorder,
                 c.y - kBorder);
    sheet->Paste(sheet->Window(c.x - kBorder, c.y + h - 1, w + 2 * kBorder, 1), c.x - kBorder,
                 c.y + h);
  }
  return sheet;
}
