// beeshot.cpp - a merged bee's bullet: it falls 5 pixels a frame, spins, flickers in size and
// drifts towards the side where the ship was when it was fired. Touching the ship destroys it.
// Needs beeshotlist, player, the ship and bullet images (globals.h) and destroyship.
#include "core/random.h"
#include "game/play/anaglyph.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "graphics/collision.h"

void beeshot_tag::Create(float x, float y) {
  Ref<beeshot_tag> shot(new beeshot_tag);
  shot->x = x;
  shot->y = y;
  // Fired at or right of the ship it drifts left, otherwise right; it never homes afterwards.
  if (x >= playfield.player->x) {
    shot->xstp = static_cast<float>(RandomRange(-0.5, -2.0));
  } else {
    shot->xstp = static_cast<float>(RandomRange(0.5, 2.0));
  }
  playfield.beeshotlist->AddLast(shot.get());
}

void beeshot_tag::Draw() const {
  drawimage3d(assets.beeshotimg, x, y, 0, 3.0f, rotation, flicker, flicker, 1.0f);
}

void beeshot_tag::update() {
  // The ship's destruction empties the list; the bullet still finishes its update.
  Ref<beeshot_tag> self(this);
  flicker = static_cast<float>(RandomRange(0.5, 1.5));
  rotation += 15;
  x += xstp;
  y += 5;
  Draw();
  // The test takes the bullet unscaled and unturned: the flicker is only for the eye.
  if (!game_mode.titlemode &&
      ImagesOverlap(assets.shipimg, static_cast<float>(playfield.player->x),
                    static_cast<float>(playfield.player->y), 0, assets.beeshotimg,
                    static_cast<float>(static_cast<int>(x)),
                    static_cast<float>(static_cast<int>(y)), 0)) {
    destroyship();
  }
  if (x < 80 || x > 560 || y > 480) playfield.beeshotlist->Remove(this);
}
