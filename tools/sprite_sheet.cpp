// sprite_sheet.cpp - the assembly of the sheet: every frame drawn into its rectangle of the layout.
#include "tools/sprite_sheet.h"

#include "tools/png_file.h"
#include "tools/sprites.h"

namespace {

void DrawFrame(Canvas& c, int image, int frame) {
  switch (image) {
    case 0:
      return DrawStar(c);
    case 1:
      return DrawShip(c, frame);
    case 2:
      return DrawBee(c, frame);
    case 3:
      return DrawSplat(c, frame);
    case 4:
      return DrawPoints(c, frame);
    case 5:
      return DrawBonusPanel(c, frame);
    case 6:
      return DrawLaser(c);
    case 7:
      return DrawBeeShot(c);
    case 8:
      return DrawTitleLogo(c);
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
      return DrawCaption(c, image - 9);
    case 14:
      return DrawHudLabel(c, frame);
    case 15:
      return DrawDigit(c, frame);
  }
}

}  // namespace

Canvas DrawSpriteSheet() {
  Canvas sheet(kSheetWidth, kSheetHeight);
  for (int i = 0; i < kSheetImageCount; ++i) {
    const SheetImage& image = kSheetImages[i];
    for (int f = 0; f < image.frames; ++f) {
      Canvas frame(image.width, image.height);
      DrawFrame(frame, i, f);
      sheet.Paste(frame, image.x + f * image.step, image.y);
    }
  }
  return sheet;
}

void WriteSpriteSheet(const std::string& path) {
  Canvas sheet = DrawSpriteSheet();
  WritePng(path, {sheet.width(), sheet.height(), sheet.ToRgb8()});
}
