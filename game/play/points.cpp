// points.cpp - the score picture left where a bee was shot: it stays put and fades out over
// about 100 frames. Needs pointslist and pointsimg (globals.h).
#include "game/play/anaglyph.h"
#include "game/play/entities.h"
#include "game/play/globals.h"

void points_tag::Create(float x, float y, int frame) {
  Ref<points_tag> points(new points_tag);
  points->alpha = 1.0f;
  points->frame = frame;
  points->x = x;
  points->y = y;
  playfield.pointslist->AddLast(points.get());
}

void points_tag::Draw() const {
  drawimage3d(assets.pointsimg, x, y, frame, 3.0f, 0, 1.0f, 1.0f, alpha);
}

void points_tag::update() {
  Draw();
  // In 32-bit floats alpha is still just above 0 after 100 steps: 101 drawings.
  alpha -= 0.01f;
  if (!(alpha > 0)) playfield.pointslist->Remove(this);
}
