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

// A randomly coloured, stretched and translucent copy of the caption behind the 3D one.
void flashcaption() {
  SetAlpha(static_cast<float>(RandomRange(0.4, 0.8)));
  float sx = static_cast<float>(1.2 + RandomRange(0, 0.8));
  float sy = static_cast<float>(1.4 + RandomRange(0, 1.2));
  SetDrawScale(sx, sy);
  int r = static_cast<int>(RandomRange(0, 255));
  int g = static_cast<int>(RandomRange(0, 255));
  int b = static_cast<int>(RandomRange(0, 255));
  SetColor(r, g, b);
  PaintImage(wavedoneimg, 320, 198, 0);
  SetDrawScale(1, 1);
  SetColor(255, 255, 255);
}

}  // namespace

void flyaway() {
  if (!waveend) return;
  player->y -= 6;
  SetBlend(BLEND_ALPHA);
  if (player->y > -999 && player->y < -30 && !cycledone) {
    flashcaption();
  } else {
    fade -= 0.006f;
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
