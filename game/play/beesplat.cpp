// beesplat.cpp - the splat where a bee or the ship died: it spins, grows and fades through six
// frames of the splat picture, then goes. Needs splatlist and splatimg (globals.h).
#include <cstdlib>

#include "core/random.h"
#include "game/play/anaglyph.h"
#include "game/play/entities.h"
#include "game/play/globals.h"

void beesplat_tag::Create(float x, float y, float scale) {
  Ref<beesplat_tag> splat(new beesplat_tag);
  splat->frame = 1;
  splat->alpha = 1.0f;
  splat->scale = scale;
  splat->x = x;
  splat->y = y;
  splat->rotation = static_cast<float>(RandomRange(0, 360));
  playfield.splatlist->AddLast(splat.get());
}

void beesplat_tag::Draw() const {
  drawimage3d(assets.splatimg, x, y, frame, 3.0f, rotation, scale, scale, alpha);
}

void beesplat_tag::update() {
  // Frame 1 shows for 7 updates, frames 2 to 6 for 8 each: 47 drawings, gone in the 48th update.
  frametmr += 1;
  if (frametmr > 7) {
    frametmr = 0;
    frame += 1;
    if (frame > 6) {
      playfield.splatlist->Remove(this);
      return;
    }
  }
  Draw();
  rotation += 15;
  scale += 0.05f;
  alpha -= 0.01f;
}
