// screens.h - what the game draws besides its moving objects: the title screen, the HUD, the side
// bars, the bonus-round panels and the pause screen's texts.
#pragma once

#include "graphics/image.h"

// The title's bottom line: "Version 1.0 - a Zumbrix production - Press ESC/B4 to Quit" for 1.0.x.
extern const char kCreditLine[];
// The line the title shows on a first start, and where: between the edition line and the prompt,
// above the highest the ship goes (y 280, its picture reaching 20 pixels above that).
extern const char kFirstStartHint[];
inline constexpr float kFirstStartHintY = 234;

// The title over the attract play: the logo, the prompt, the edition, the options line (and the
// first start's hint), the best game's line (best_game.h) and the credit line.
void drawtitle();
// The title as drawtitle leaves it, the prompt's fade not stepped. Main thread.
void DrawTitlePicture();
// The first start's hint, centred on kFirstStartHintY in plain white on a black plate. Main
// thread.
void DrawFirstStartHint();
// Whether the picture point (x, y) is on the best game's line of the title.
bool OnBestGameLine(int x, int y);
// Score, best score (updated here) and wave, as digit images.
void drawhud();
// Black bars over x 0..79 and 560..639; leaves the blend at solid.
void drawsidebars();
// The 125 / 250 / 500 panels and one small bee per escaped bonus bee.
void drawbonuspanels();
// The frozen frame and the pause texts with the volume labels and the options line.
void drawpause(const Ref<TImage>& frozen);
