// ship_destroyed.cpp - what happens when a bee or a bee shot touches the ship: the playfield is
// cleared, the ship bursts into a splat and 80 particles, the music stops and game over begins.
#include "game/play/entities.h"
#include "game/play/game_mode.h"
#include "game/play/globals.h"
#include "game/play/sound_control.h"

void destroyship() {
  clearentities();
  playfield.player->dead = 1;
  playsfx(assets.snd_shipdie);
  HaltChannel(program.musicchannel);
  EnterGameOver();
  beesplat_tag::Create(static_cast<float>(playfield.player->x),
                       static_cast<float>(playfield.player->y), 0.5f);
  particle_tag::Create(static_cast<float>(playfield.player->x),
                       static_cast<float>(playfield.player->y), 0.4f, 80);
}
