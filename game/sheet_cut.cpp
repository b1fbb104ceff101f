// sheet_cut.cpp - the painted sheet and the rectangles captured from it, in software.
#include "game/sheet_cut.h"

#include <algorithm>

#include "graphics/image_commands.h"
#include "graphics/pixmap_ops.h"

Ref<TPixmap> PaintedSheet(const Ref<TImage>& sheet, int width, int height) {
  Ref<TPixmap> screen = TPixmap::Create(width, height, FORMAT_RGBA8888, 4);
  for (int y = 0; y < height; ++y) {
    unsigned char* row = screen->PixelPtr(0, y);
    for (int x = 0; x < width; ++x) row[4 * x + 3] = 255;
  }
  if (!sheet || sheet->FrameCount() < 1) return screen;
  Ref<TPixmap> source = sheet->Lock(0, true, false);
  if (source->format != FORMAT_RGBA8888) source = source->Convert(FORMAT_RGBA8888);
  const int w = std::min(width, source->width), h = std::min(height, source->height);
  for (int y = 0; y < h; ++y) {
    const unsigned char* s = source->PixelPtr(0, y);
    unsigned char* d = screen->PixelPtr(0, y);
    for (int x = 0; x < w; ++x, s += 4, d += 4) {
      if (s[3] < 128) continue;  // the mask blend's alpha test
      d[0] = s[0], d[1] = s[1], d[2] = s[2];
    }
  }
  return screen;
}

void CutImage(const Ref<TImage>& image, const Ref<TPixmap>& screen, int x, int y, int frame) {
  Ref<TPixmap> cut = TPixmap::Create(image->width, image->height, FORMAT_RGBA8888, 4);
  for (int row = 0; row < image->height; ++row) {
    unsigned char* d = cut->PixelPtr(0, row);
    for (int col = 0; col < image->width; ++col, d += 4) {
      const int sx = x + col, sy = y + row;
      d[3] = 255;
      if (sx < 0 || sy < 0 || sx >= screen->width || sy >= screen->height) continue;
      const unsigned char* s = screen->PixelPtr(sx, sy);
      d[0] = s[0], d[1] = s[1], d[2] = s[2];
    }
  }
  if (image->flags & IMAGE_MASKED) {
    int r, g, b;
    QueryMaskColor(r, g, b);
    cut = ApplyMaskColor(cut, r, g, b);
  }
  image->SetPixmap(frame, cut);
}
