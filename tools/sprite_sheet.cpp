// sprite_sheet.cpp - the image table and the assembly of the sheet.
#include "tools/sprite_sheet.h"

#include "tools/png_file.h"
#include "tools/sprites.h"

const std::vector<SheetImage>& SheetImages() {
  static const std::vector<SheetImage> images = {
      {"starimg", 16, 16, 1, 357, 56, 0},      {"shipimg", 36, 58, 4, 1, 1, 37},
      {"beeimg", 61, 43, 3, 1, 62, 62},        {"splatimg", 61, 45, 7, 1, 261, 62},
      {"pointsimg", 35, 10, 8, 1, 309, 36},    {"bonusbannerimg", 158, 99, 3, 1, 322, 159},
      {"lazerimg", 7, 26, 1, 151, 1, 0},       {"beeshotimg", 10, 10, 1, 177, 1, 0},
      {"logoimg", 352, 110, 1, 1, 109, 0},     {"promptimg", 404, 18, 1, 230, 222, 0},
      {"getreadyimg", 160, 47, 1, 191, 56, 0}, {"bonusroundimg", 178, 41, 1, 408, 1, 0},
      {"wavedoneimg", 213, 52, 1, 408, 45, 0}, {"gameoverimg", 164, 47, 1, 399, 100, 0},
      {"hudlabelimg", 84, 21, 3, 151, 30, 85}, {"digitimg", 16, 16, 10, 223, 1, 17},
  };
  return images;
}

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
  const auto& images = SheetImages();
  for (std::size_t i = 0; i < images.size(); ++i) {
    const SheetImage& image = images[i];
    for (int f = 0; f < image.frames; ++f) {
      Canvas frame(image.width, image.height);
      DrawFrame(frame, static_cast<int>(i), f);
      sheet.Paste(frame, image.x + f * image.step, image.y);
    }
  }
  return sheet;
}

void WriteSpriteSheet(const std::string& path) {
  Canvas sheet = DrawSpriteSheet();
  WritePng(path, {sheet.width(), sheet.height(), sheet.ToRgb8()});
}
