// sheet_layout.h - where each of the game's sixteen images lies on the sprite sheet.
//
// One table for both sides of the sheet: the asset generator draws every frame into its rectangle
// (tools/sprite_sheet.cpp) and the game cuts the frames out again (game/assets/sheet_cut.cpp), so
// the two cannot disagree. Frame i of an image is the width x height rectangle at (x + i * step,
// y). Header only and free of the project's other headers, so that the generator can use it without
// linking the game.
#pragma once

// The sheet as the generator writes it: 637 x 423 pixels, black where no image lies.
inline constexpr int kSheetWidth = 637;
inline constexpr int kSheetHeight = 423;

struct SheetImage {
  const char* name;  // the game's global the image becomes (globals.h)
  int width, height, frames;
  int x, y, step;
  bool centred;  // handle at the centre (sprites, captions); else top-left (the HUD's pieces)
};

// Every image on the sheet, in the order the game cuts them at start-up.
inline constexpr SheetImage kSheetImages[] = {
    {"starimg", 16, 16, 1, 357, 56, 0, true},
    {"shipimg", 36, 58, 4, 1, 1, 37, true},
    {"beeimg", 61, 43, 3, 1, 62, 62, true},
    {"splatimg", 61, 45, 7, 1, 261, 62, true},
    {"pointsimg", 35, 10, 8, 1, 309, 36, true},
    {"bonusbannerimg", 158, 99, 3, 1, 322, 159, true},
    {"lazerimg", 7, 26, 1, 151, 1, 0, true},
    {"beeshotimg", 10, 10, 1, 177, 1, 0, true},
    {"logoimg", 352, 110, 1, 1, 109, 0, true},
    {"promptimg", 404, 18, 1, 230, 222, 0, true},
    {"getreadyimg", 160, 47, 1, 191, 56, 0, true},
    {"bonusroundimg", 178, 41, 1, 408, 1, 0, true},
    {"wavedoneimg", 213, 52, 1, 408, 45, 0, true},
    {"gameoverimg", 164, 47, 1, 399, 100, 0, true},
    {"hudlabelimg", 84, 21, 3, 151, 30, 85, false},
    {"digitimg", 16, 16, 10, 223, 1, 17, false},
};
inline constexpr int kSheetImageCount = sizeof(kSheetImages) / sizeof(kSheetImages[0]);
