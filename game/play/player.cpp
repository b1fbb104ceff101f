// player.cpp - the ship: follows the pointer inside its zone at the bottom of the screen, fires
// laser shots at most every 8 frames and jumps into hyperspace for 100 frames. Needs polled
// mouse input, the key bindings and the pointer placement of the system driver.
#include "game/config/key_bindings.h"
#include "game/play/anaglyph.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/sound_control.h"
#include "graphics/draw2d.h"
#include "system/polled_input.h"
#include "system/system_driver.h"

namespace {

// Each test consumes its presses; the first source that reports one wins and the later ones are
// left for the next frame.
bool FirePressed() {
  return MouseHits(1) || ActionButtonHits(GameAction::kFire) || ActionKeyHits(GameAction::kFire);
}
bool HyperspacePressed() {
  return MouseHits(2) || ActionButtonHits(GameAction::kHyperspace) ||
         ActionKeyHits(GameAction::kHyperspace);
}

}  // namespace

void player_tag::reset() {
  shotctr = 0;
  x = 320;
  y = 400;
  PlaceMouse(320, 400);
}

void player_tag::update(int controls) {
  if (dead) return;
  if (shotctr > 0) --shotctr;
  if (++frame > 3) frame = 0;
  Draw();
  if (hyperctr > 0) --hyperctr;
  if (controls) {
    // A press during the cool-down is consumed all the same: holding or hammering does not queue.
    if (FirePressed() && shotctr == 0) {
      shotctr = 8;
      playsfx(assets.snd_shot);
      lazershot_tag::Create(0, x, y);
    }
    if (HyperspacePressed() && hyperctr == 0) {
      hyperctr = 100;
      playsfx(assets.snd_hyper);
    }
    const int mx = MousePosX(), my = MousePosY();
    if (mx != x || my != y) {
      x = mx;
      y = my;
    }
    // The pointer is put back at each clamped edge so that it cannot wander off.
    if (y < 280) {
      y = 280;
      PlaceMouse(x, y);
    }
    if (y > 460) {
      y = 460;
      PlaceMouse(x, y);
    }
    if (x < 95) {
      x = 95;
      PlaceMouse(x, y);
    }
    if (x > 545) {
      x = 545;
      PlaceMouse(x, y);
    }
  }
  SetAlpha(1.0f);
}

void player_tag::Draw() const {
  if (dead) return;
  drawimage3d(assets.shipimg, static_cast<float>(x), static_cast<float>(y), frame, 3.0f, 0, 0.9f,
              0.7f, hyperctr > 0 ? 0.2f : 1.0f);
}
