// lazershot.cpp - the ship's laser shots: each climbs 8 pixels a frame and drops a tracer at every
// step, which fades over ten frames. The bees test the moving shots for hits and remove them.
#include "game/play/anaglyph.h"
#include "game/play/entities.h"
#include "game/play/globals.h"

void lazershot_tag::Create(int tracer, int x, int y) {
  Ref<lazershot_tag> shot = New<lazershot_tag>();
  shot->alpha = 1.0f;
  shot->x = x;
  shot->y = y;
  shot->tracer = tracer != 0 ? 1 : 0;
  playfield.shotlist->AddLast(shot.get());
}

void lazershot_tag::Draw() const {
  const float scale = tracer == 1 ? 0.7f : 0.9f;
  drawimage3d(assets.lazerimg, static_cast<float>(x), static_cast<float>(y), 0, 4.0f, 0, scale,
              scale, alpha);
}

void lazershot_tag::update() {
  Draw();
  if (tracer == 1) {
    alpha -= 0.1f;
  } else {
    y -= 8;
    Create(1, x, y);
  }
  // The list may hold the last reference: nothing is touched after the removal.
  if (y < 10 || !(alpha > 0)) playfield.shotlist->Remove(this);
}
