// waves.cpp - the wave cycle: two swarm waves and a bonus round, over and over. The spawner
// releases swarms (or bonus bees) at a fixed cadence, the end check closes a wave and steps the
// difficulty, and the fly-away sequence takes the ship off the top of the screen and pays the
// 2000-point wave bonus once. Needs the globals, the bee class, sound control and the anaglyph
// drawing.
#include "game/waves.h"
#include "core/random.h"
#include "game/anaglyph.h"
#include "game/entities.h"
#include "game/game_mode.h"
#include "game/globals.h"
#include "game/settings_store.h"
#include "game/sound_control.h"
#include "graphics/draw2d.h"
#include "graphics/image_draw.h"

void spawner() {
  spawnctr += 1;
  if (phase < 2 && spawnctr >= spawnrate) {
    spawnctr = 0;
    // The id advances even when the wave is full and the swarm is refused.
    swarmid += 1;
    if (swarmid > 150) swarmid = 0;
    starbee_tag::Create(BeeType(BeeKind::kSwarm), 0, 0, 0, swarmid, 0);
  } else if (phase == 2 && spawnctr >= 140) {
    spawnctr = 0;
    starbee_tag::Create(BeeType(BeeKind::kBonus), 0, 0, 0, 0, 0);
  }
}

void checkwaveend() {
  if (!((playing == 1 && swarmskilled >= swarmsperwave) || escaped >= 3)) return;
  clearentities();
  HaltChannel(musicchannel);
  playsfx(snd_flyaway);
  EnterWaveEnd();
}

namespace {

// Reduced flashing holds a look this many frames: at most three changes a second.
constexpr int kHeldFlashFrames = 20;

FlashLook shown;    // the look last drawn
int held_for = -1;  // frames the held look has been shown; -1: none held (a new flash)

// The caption's flashing copy in `look`.
void PaintFlash(const FlashLook& look) {
  SetAlpha(look.alpha);
  SetDrawScale(look.sx, look.sy);
  SetColor(look.r, look.g, look.b);
  PaintImage(wavedoneimg, 320, 198, 0);
  SetDrawScale(1, 1);
  SetColor(255, 255, 255);
}

// A randomly coloured, stretched and translucent copy of the caption behind the 3D one. Reduced,
// the random numbers are drawn all the same, so that the game goes on exactly as it would.
void flashcaption() {
  FlashLook look;
  look.alpha = static_cast<float>(RandomRange(0.4, 0.8));
  look.sx = static_cast<float>(1.2 + RandomRange(0, 0.8));
  look.sy = static_cast<float>(1.4 + RandomRange(0, 1.2));
  look.r = static_cast<int>(RandomRange(0, 255));
  look.g = static_cast<int>(RandomRange(0, 255));
  look.b = static_cast<int>(RandomRange(0, 255));
  const bool reduced = RunSettings().flashing == Flashing::kReduced;
  if (!reduced || held_for < 0 || held_for >= kHeldFlashFrames) {
    shown = look;
    held_for = 0;
  }
  ++held_for;
  PaintFlash(shown);
}

}  // namespace

FlashLook LastFlashLook() { return shown; }

void DrawWaveEndCaption() {
  if (!waveend || !(player->y < -30) || cycledone) return;
  SetBlend(BLEND_ALPHA);
  if (player->y > -999) PaintFlash(shown);
  SetAlpha(1);
  // Where the shaking caption is on the average.
  drawimage3d(wavedoneimg, 320, 200, 0, 3, 0, 1.2f, 1.4f, player->y < -999 ? fade : 1.0f);
}

void flyaway() {
  if (!waveend) return;
  player->y -= 6;
  SetBlend(BLEND_ALPHA);
  if (player->y > -999 && player->y < -30 && !cycledone) {
    flashcaption();
  } else {
    fade -= 0.006f;
    held_for = -1;  // the next flash starts with a look of its own
  }
  SetAlpha(1);
  if (player->y < -30 && !cycledone) {
    float x = static_cast<float>(318 + RandomRange(0, 4));
    float y = static_cast<float>(198 + RandomRange(0, 4));
    drawimage3d(wavedoneimg, x, y, 0, 3, 0, 1.2f, 1.4f, player->y < -999 ? fade : 1.0f);
    // Paid once, in the frame the ship first rises above y = -30.
    if (seqctr == -1) {
      playsfx(snd_endwave);
      seqctr = 0;
      player->score += 2000;
      player->wave += 1;
    }
  }
  if ((!(fade > 0) || cycledone) && player->y < -299) EnterGetReadyAfterWave();
}
