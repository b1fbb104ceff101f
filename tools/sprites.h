// sprites.h - the drawing of each sprite-sheet image, one frame at a time.
//
// Each function paints frame `frame` onto a canvas exactly the frame's size. The game draws
// every sprite as a cyan and a red copy added together, so what counts is brightness: the art is
// light grey to white with grey shading, and dark only where a shape needs separating.
#pragma once

#include "tools/canvas.h"

void DrawStar(Canvas& c);
void DrawShip(Canvas& c, int frame);
void DrawBee(Canvas& c, int frame);
void DrawSplat(Canvas& c, int frame);
void DrawLaser(Canvas& c);
void DrawBeeShot(Canvas& c);

void DrawPoints(Canvas& c, int frame);      // 25, 50, ... 3200
void DrawBonusPanel(Canvas& c, int frame);  // 125, 250, 500
void DrawTitleLogo(Canvas& c);
void DrawCaption(Canvas& c, int which);   // the five captions in the sheet's order
void DrawHudLabel(Canvas& c, int frame);  // Score, Best, Wave
void DrawDigit(Canvas& c, int digit);
