// playfield_clip.cpp - the playfield's clip rectangle around the playfield's drawing.
#include "game/playfield_clip.h"

#include "graphics/draw2d.h"

namespace {

bool clipping = true;
bool clipped = false;
int saved_x = 0, saved_y = 0, saved_w = 0, saved_h = 0;

}  // namespace

void BeginPlayfield() {
  if (!clipping || clipped) return;
  QueryViewport(saved_x, saved_y, saved_w, saved_h);
  SetViewport(kPlayfieldLeft, 0, kPlayfieldWidth, 480);
  clipped = true;
}

void EndPlayfield() {
  if (!clipped) return;
  SetViewport(saved_x, saved_y, saved_w, saved_h);
  clipped = false;
}

void SetPlayfieldClipping(bool on) { clipping = on; }

bool PlayfieldClipping() { return clipping; }
