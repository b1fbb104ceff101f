// playfield_clip.cpp - the playfield's clip rectangle around the playfield's drawing.
#include "game/play/playfield_clip.h"

#include "graphics/draw2d.h"

namespace {

// Drawing state, apart from the game's: it steers no play. Set for the whole run by the harness
// and the display code; the rectangle is saved by each BeginPlayfield.
struct ClipState {
  bool clipping = true;  // the playfield is clipped at all
  bool clipped = false;  // between BeginPlayfield and EndPlayfield
  int saved_x = 0, saved_y = 0, saved_w = 0, saved_h = 0;  // the clip rectangle before it
} clip;

}  // namespace

void BeginPlayfield() {
  if (!clip.clipping || clip.clipped) return;
  QueryViewport(clip.saved_x, clip.saved_y, clip.saved_w, clip.saved_h);
  SetViewport(kPlayfieldLeft, 0, kPlayfieldWidth, 480);
  clip.clipped = true;
}

void EndPlayfield() {
  if (!clip.clipped) return;
  SetViewport(clip.saved_x, clip.saved_y, clip.saved_w, clip.saved_h);
  clip.clipped = false;
}

void SetPlayfieldClipping(bool on) { clip.clipping = on; }

bool PlayfieldClipping() { return clip.clipping; }
