// sheet_cut.cpp - the painted sheet and the rectangles captured from it, in software.
#include "game/assets/sheet_cut.h"

#include <algorithm>
#include <iterator>

#include "game/play/globals.h"
#include "graphics/image_commands.h"
#include "graphics/pixmap_ops.h"

namespace {

// In the layout's order, each named as its row names it.
Ref<TImage>* const kSheetGlobals[] = {
    &assets.starimg,     &assets.shipimg,        &assets.beeimg,      &assets.splatimg,
    &assets.pointsimg,   &assets.bonusbannerimg, &assets.lazerimg,    &assets.beeshotimg,
    &assets.logoimg,     &assets.promptimg,      &assets.getreadyimg, &assets.bonusroundimg,
    &assets.wavedoneimg, &assets.gameoverimg,    &assets.hudlabelimg, &assets.digitimg,
};
static_assert(std::size(kSheetGlobals) == std::size(kSheetImages),
              "one global per image of the sheet");

}  // namespace

std::span<Ref<TImage>* const> SheetImageGlobals() { return kSheetGlobals; }

std::vector<Ref<TPixmap>> CutSheetFrames(const SheetImage& row, const Ref<TPixmap>& screen,
                                         const MaskColour& mask) {
  std::vector<Ref<TPixmap>> frames;
  for (int i = 0; i < row.frames; ++i) {
    frames.push_back(CutPixmap(screen, row.x + i * row.step, row.y, row.width, row.height, &mask));
  }
  return frames;
}

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

Ref<TPixmap> CutPixmap(const Ref<TPixmap>& screen, int x, int y, int width, int height,
                       const MaskColour* mask) {
  Ref<TPixmap> cut = TPixmap::Create(width, height, FORMAT_RGBA8888, 4);
  for (int row = 0; row < height; ++row) {
    unsigned char* d = cut->PixelPtr(0, row);
    for (int col = 0; col < width; ++col, d += 4) {
      const int sx = x + col, sy = y + row;
      d[3] = 255;
      if (sx < 0 || sy < 0 || sx >= screen->width || sy >= screen->height) continue;
      const unsigned char* s = screen->PixelPtr(sx, sy);
      d[0] = s[0], d[1] = s[1], d[2] = s[2];
    }
  }
  return mask ? ApplyMaskColor(cut, mask->r, mask->g, mask->b) : cut;
}
