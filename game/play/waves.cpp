// waves.cpp - the wave cycle: two swarm waves and a bonus round, over and over. The spawner
// releases swarms (or bonus bees) at a fixed cadence, the end check closes a wave and steps the
// difficulty, and the fly-away sequence takes the ship off the top of the screen and pays the
// 2000-point wave bonus once. Needs the globals, the bee class, sound control and the anaglyph
// drawing.
#include "game/play/waves.h"
#include "core/random.h"
#include "game/config/settings_store.h"
#include "game/play/anaglyph.h"
#include "game/play/entities.h"
#include "game/play/game_mode.h"
#include "game/play/globals.h"
#include "game/play/sound_control.h"
#include "graphics/draw2d.h"
#include "graphics/image_draw.h"

void spawner() {
  wave_counts.spawnctr += 1;
  if (progress.phase < 2 && wave_counts.spawnctr >= progress.spawnrate) {
    wave_counts.spawnctr = 0;
    // The id advances even when the wave is full and the swarm is refused.
    wave_counts.swarmid += 1;
    if (wave_counts.swarmid > 150) wave_counts.swarmid = 0;
    starbee_tag::Create(BeeType(BeeKind::kSwarm), 0, 0, 0, wave_counts.swarmid, 0);
  } else if (progress.phase == 2 && wave_counts.spawnctr >= 140) {
    wave_counts.spawnctr = 0;
    starbee_tag::Create(BeeType(BeeKind::kBonus), 0, 0, 0, 0, 0);
  }
}

void checkwaveend() {
  if (!((game_mode.playing == 1 && wave_counts.swarmskilled >= progress.swarmsperwave) ||
        progress.escaped >= 3))
    return;
  clearentities();
  HaltChannel(program.musicchannel);
  playsfx(assets.snd_flyaway);
  EnterWaveEnd();
}

namespace {

// Reduced flashing holds a look this many frames: at most three changes a second.
constexpr int kHeldFlashFrames = 20;

// The caption's held look, apart from the game's state: reduced flashing changes only what is
// drawn, never the random draws or the state hash.
struct HeldFlash {
  FlashLook shown;    // the look last drawn
  int held_for = -1;  // frames the held look has been shown; -1: none held (a new flash)
} held_flash;

// The caption's flashing copy in `look`.
void PaintFlash(const FlashLook& look) {
  SetAlpha(look.alpha);
  SetDrawScale(look.sx, look.sy);
  SetColor(look.r, look.g, look.b);
  PaintImage(assets.wavedoneimg, 320, 198, 0);
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
  if (!reduced || held_flash.held_for < 0 || held_flash.held_for >= kHeldFlashFrames) {
    held_flash.shown = look;
    held_flash.held_for = 0;
  }
  ++held_flash.held_for;
  PaintFlash(held_flash.shown);
}

}  // namespace

FlashLook LastFlashLook() { return held_flash.shown; }

void DrawWaveEndCaption() {
  const int y = playfield.player->y;
  if (!game_mode.waveend || !(y < -30) || game_mode.cycledone) return;
  SetBlend(BLEND_ALPHA);
  if (y > -999) PaintFlash(held_flash.shown);
  SetAlpha(1);
  // Where the shaking caption is on the average.
  drawimage3d(assets.wavedoneimg, 320, 200, 0, 3, 0, 1.2f, 1.4f, y < -999 ? game_mode.fade : 1.0f);
}

void flyaway() {
  if (!game_mode.waveend) return;
  playfield.player->y -= 6;
  SetBlend(BLEND_ALPHA);
  if (playfield.player->y > -999 && playfield.player->y < -30 && !game_mode.cycledone) {
    flashcaption();
  } else {
    game_mode.fade -= 0.006f;
    held_flash.held_for = -1;  // the next flash starts with a look of its own
  }
  SetAlpha(1);
  if (playfield.player->y < -30 && !game_mode.cycledone) {
    float x = static_cast<float>(318 + RandomRange(0, 4));
    float y = static_cast<float>(198 + RandomRange(0, 4));
    drawimage3d(assets.wavedoneimg, x, y, 0, 3, 0, 1.2f, 1.4f,
                playfield.player->y < -999 ? game_mode.fade : 1.0f);
    // Paid once, in the frame the ship first rises above y = -30.
    if (game_mode.seqctr == -1) {
      playsfx(assets.snd_endwave);
      game_mode.seqctr = 0;
      playfield.player->score += 2000;
      playfield.player->wave += 1;
    }
  }
  if ((!(game_mode.fade > 0) || game_mode.cycledone) && playfield.player->y < -299)
    EnterGetReadyAfterWave();
}
