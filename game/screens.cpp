// screens.cpp - PLACEHOLDER until the screens are written: the title shows its logo and prompt,
// the HUD only keeps the best score up to date, the side bars are drawn, and the pause screen
// shows the frozen frame with its texts.
#include "game/screens.h"

#include "game/anaglyph.h"
#include "game/globals.h"
#include "game/scores.h"
#include "graphics/draw2d.h"
#include "graphics/image_draw.h"

void drawtitle() {
  drawimage3d(logoimg, 320, 120, 0, 3, 0, 1, 1, 1.0f);
  fade -= 0.02f;
  if (fade < 0) fade = 1.0f;
  drawimage3d(promptimg, 320, 290, 0, 3, 0, 1, 1, fade);
}

void drawhud() { updatebestscore(); }

void drawsidebars() {
  SetBlend(BLEND_SOLID);
  SetColor(0, 0, 0);
  DrawRect(0, 0, 80, 480);
  DrawRect(560, 0, 80, 480);
  SetColor(255, 255, 255);
}

void drawbonuspanels() {}

void drawpause(const Ref<TImage>& frozen) {
  SetBlend(BLEND_SOLID);
  PaintImage(frozen, 0, 0);
  drawtext3d(pausetexts[0], 320, 180, 2, 0, 1, 1, 0, 1.0f, 0, 0, 0, 0, 0, true);
  drawtext3d(pausetexts[1] + volumelabels[musicstep], 320, 210, 2, 0, 1, 1, 0, 1.0f, 0, 0, 0, 0, 0,
             true);
  drawtext3d(pausetexts[2] + volumelabels[sfxstep], 320, 230, 2, 0, 1, 1, 0, 1.0f, 0, 0, 0, 0, 0,
             true);
  SetColor(255, 255, 255);
}
