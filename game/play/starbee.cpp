// starbee.cpp - the bees: swarms of eight that converge and merge into one bee, the merged bee
// that curves, shoots and dives at the ship, and the bonus-round bee that is kept in the air
// with laser hits. Each update moves the bee by its kind, tests the laser shots, beats its wings
// and draws it.
// Needs the lists, player, tables, images and sounds of globals.h, the other entity classes and
// destroyship.
#include <cmath>
#include <string>

#include "core/random.h"
#include "game/play/anaglyph.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/sound_control.h"
#include "graphics/collision.h"

namespace {

constexpr double kDegrees = 3.14159265358979323846 / 180.0;

double SinDeg(double degrees) { return std::sin(degrees * kDegrees); }
double CosDeg(double degrees) { return std::cos(degrees * kDegrees); }

// What each hit of a bonus bee is worth where it bursts: the three panels over the playfield.
int BurstZoneValue(float x) {
  if (x >= 80 && x < 240) return 125;
  if (x >= 240 && x < 400) return 250;
  if (x >= 400 && x < 560) return 500;
  return 0;
}

bool SwarmHasBees(int spawnid) {
  for (TObject* object : *playfield.beelist) {
    auto* bee = dynamic_cast<starbee_tag*>(object);
    if (bee && bee->btype == BeeType(BeeKind::kSwarm) && bee->spawnid == spawnid) return true;
  }
  return false;
}

}  // namespace

void starbee_tag::Create(int btype, float x, float y, float scale, int spawnid, int valueid) {
  if (btype == BeeType(BeeKind::kMerged)) {
    int side = static_cast<int>(RandomRange(0, 2));
    Ref<starbee_tag> bee(new starbee_tag);
    bee->valueid = valueid;
    bee->x = x;
    bee->y = y;
    bee->btype = BeeType(BeeKind::kMerged);
    bee->rotation = static_cast<float>(side == 1 ? RandomRange(0, 45) : RandomRange(315, 360));
    bee->shotctr = static_cast<int>(RandomRange(20, 100));
    bee->alpha = 0.1f;
    bee->scale = scale;
    bee->speed = speedtable[valueid];
    playfield.beelist->AddLast(bee.get());
  } else if (btype == BeeType(BeeKind::kBonus)) {
    int side = static_cast<int>(RandomRange(0, 2));
    Ref<starbee_tag> bee(new starbee_tag);
    bee->btype = BeeType(BeeKind::kBonus);
    playsfx(assets.snd_sswarm);
    bee->alpha = 1.0f;
    bee->speed = static_cast<int>(RandomRange(2, 6));
    bee->scale = 0.5f;
    bee->y = static_cast<float>(RandomRange(200, 300));
    if (side == 0) {
      bee->x = 60;
      bee->rotation = static_cast<float>(RandomRange(45, 90));
    } else {
      bee->x = 580;
      bee->rotation = static_cast<float>(RandomRange(270, 315));
    }
    playfield.beelist->AddLast(bee.get());
  } else if (btype == BeeType(BeeKind::kSwarm)) {
    if (!game_mode.titlemode && wave_counts.swarmsmade == progress.swarmsperwave) return;
    wave_counts.swarmsmade += 1;
    if (!game_mode.titlemode) playsfx(assets.snd_beewarp);
    int cx = static_cast<int>(RandomRange(140, 500));
    int cy = static_cast<int>(RandomRange(20, 200));
    for (int k = 0; k < 8; ++k) {
      double e = 180 + 45 * k;
      Ref<starbee_tag> bee(new starbee_tag);
      bee->spawnid = spawnid;
      bee->x = static_cast<float>(cx - SinDeg(e) * 150);
      bee->y = static_cast<float>(cy + CosDeg(e) * 150);
      bee->alpha = 0.1f;
      bee->scale = 0.2f;
      bee->rotation = static_cast<float>(e);
      bee->btype = BeeType(BeeKind::kSwarm);
      playfield.beelist->AddLast(bee.get());
    }
  }
}

namespace {
void Turn(starbee_tag& b) {
  // The heading settles at 180 (straight down), alternating between two values 1 apart.
  if (b.rotation > 180) {
    b.rotation -= 1;
  } else {
    b.rotation += 1;
  }
}

void Advance(starbee_tag& b, double distance) {
  b.x = static_cast<float>(b.x + SinDeg(b.rotation) * distance);
  b.y = static_cast<float>(b.y - CosDeg(b.rotation) * distance);
}

void MoveMerged(starbee_tag& b) {
  if (b.alpha < 1.0f) b.alpha += 0.04f;
  Turn(b);
  Advance(b, b.speed);
  if (b.rotation > 179 && b.rotation < 181) {
    // Diving: faster, and homing on the ship's x.
    b.y += 4.0f;
    if (b.x > playfield.player->x) {
      b.x = static_cast<float>(b.x - RandomRange(0.1, 1.0));
    } else {
      b.x = static_cast<float>(b.x + RandomRange(0.1, 1.0));
    }
  } else if (!game_mode.titlemode) {
    b.shotctr -= 1;
    if (b.shotctr <= 0) {
      b.shotctr = static_cast<int>(RandomRange(20, 100));
      beeshot_tag::Create(b.x, b.y);
    }
  }
  if (b.x < 30) b.x = 630;
  if (b.x > 630) b.x = 30;
  if (b.y > 480) {
    if (game_mode.titlemode) {
      playfield.beelist->Remove(&b);
    } else {
      b.x = static_cast<float>(RandomRange(100, 540));
      b.y = -20;
    }
  }
  // The bee's body meets the ship as the small bullet shape, unscaled and unturned.
  if (!game_mode.titlemode &&
      ImagesOverlap(assets.shipimg, static_cast<float>(playfield.player->x),
                    static_cast<float>(playfield.player->y), 0, assets.beeshotimg,
                    static_cast<float>(static_cast<int>(b.x)),
                    static_cast<float>(static_cast<int>(b.y)), 0)) {
    destroyship();
  }
}

void MoveBonus(starbee_tag& b) {
  if (!b.spinning) {
    Turn(b);
    Advance(b, b.speed);
  } else {
    b.x += b.speed;
    b.y += b.ystp;
    if (b.x < 80 || b.x > 560) b.speed = -b.speed;
    b.ystp += 0.06f;
    b.rotation = static_cast<float>(b.rotation + b.speed * (b.ystp * 3.0));
    if (b.y < 100) {
      playsfx(assets.snd_sbdie);
      beesplat_tag::Create(b.x, b.y, 0.5f);
      particle_tag::Create(b.x, b.y, 0.5f, 40);
      playfield.player->score += b.valueid * BurstZoneValue(b.x);
      playfield.beelist->Remove(&b);
    }
  }
  if (b.x < 60 || b.x > 580 || b.y > 480) {
    playfield.beelist->Remove(&b);
    progress.escaped += 1;
  }
}

void Merge(starbee_tag& b) {
  // The first survivor to reach the centre takes its swarm mates with it into one merged bee:
  // the fewer mates are left, the smaller, faster and more valuable the bee.
  float c = 0.2f;
  int n = 8;
  int id = b.spawnid;
  float ix = static_cast<float>(static_cast<int>(b.x));
  float iy = static_cast<float>(static_cast<int>(b.y));
  playfield.beelist->Remove(&b);
  for (TObject* object : *playfield.beelist) {
    auto* mate = dynamic_cast<starbee_tag*>(object);
    if (mate && mate->btype == BeeType(BeeKind::kSwarm) && mate->spawnid == id) {
      c += 0.1f;
      n -= 1;
      playfield.beelist->Remove(mate);
    }
  }
  if (game_mode.titlemode) {
    starbee_tag::Create(BeeType(BeeKind::kMerged), ix, iy,
                        static_cast<float>(RandomRange(0.2, 1.0)), 0, 0);
  } else {
    playsfx(assets.snd_lswarm);
    if (n < 0) n = 0;
    if (n > 7) n = 7;
    starbee_tag::Create(BeeType(BeeKind::kMerged), ix, iy, c, 0, n);
  }
}

void MoveSwarm(starbee_tag& b) {
  b.alpha += 0.01f;
  if (b.alpha > 1.0f) b.alpha = 1.0f;
  Advance(b, 2.0);
  if (b.spawntravel >= 150) Merge(b);
  b.spawntravel += 2;
}

void TestShots(starbee_tag& b) {
  for (TListEnum e = playfield.shotlist->ObjectEnumerator(); e.HasNext();) {
    auto* shot = dynamic_cast<lazershot_tag*>(e.NextObject());
    if (!shot || shot->tracer) continue;
    if (!ImagesOverlapTransformed(
            assets.lazerimg, static_cast<float>(shot->x), static_cast<float>(shot->y), 0, 0, 1, 1,
            assets.beeimg, static_cast<float>(static_cast<int>(b.x)),
            static_cast<float>(static_cast<int>(b.y)), b.frame, b.rotation, b.scale, b.scale)) {
      continue;
    }
    if (b.btype == BeeType(BeeKind::kSwarm)) {
      playsfx(assets.snd_bhit1);
      points_tag::Create(b.x, b.y, 0);
      beesplat_tag::Create(b.x, b.y, 0.0f);
      playfield.player->score += pointstable[0];
      // A bee that merged in this very update lives on in the merged bee; otherwise a swarm shot
      // to its last bee never merges, and counts as destroyed so that the wave can still end.
      const int swarm = b.spawnid;
      bool lastofswarm = playfield.beelist->Remove(&b) == 1 && !SwarmHasBees(swarm);
      playfield.shotlist->Remove(shot);
      if (lastofswarm && !game_mode.titlemode) wave_counts.swarmskilled += 1;
      return;
    }
    if (b.btype == BeeType(BeeKind::kMerged)) {
      if (b.alpha < 1.0f) continue;  // still fading in: the shot passes through
      wave_counts.swarmskilled += 1;
      playsfx(assets.snd_bhit);
      playsfx(assets.snd_sbdie);
      points_tag::Create(b.x, b.y, b.valueid);
      beesplat_tag::Create(b.x, b.y, b.scale);
      particle_tag::Create(b.x, b.y, b.scale, 15);
      playfield.player->score += pointstable[b.valueid];
      playfield.beelist->Remove(&b);
      playfield.shotlist->Remove(shot);
      return;
    }
    if (b.btype == BeeType(BeeKind::kBonus)) {
      b.valueid += 1;
      b.spinning = 1;
      b.ystp = -4.0f;
      if (shot->x > b.x) b.speed = -b.speed;
      playfield.shotlist->Remove(shot);
      playsfx(assets.snd_sbhit);
      return;
    }
  }
}

// The wings beat while the bee flies; a spinning bonus bee holds them still.
void BeatWings(starbee_tag& b) {
  if (b.spinning) {
    b.frame = 0;
  } else {
    b.frame += 1;
    if (b.frame > 2) b.frame = 0;
  }
}

}  // namespace

void starbee_tag::Draw() const {
  if (spinning) {
    drawtext3d("x" + std::to_string(valueid), x - 8, y - 22, 3.0f, 0, 1, 1, 4, 1.0f, 0, 255, 255,
               255, 0, false);
  }
  drawimage3d(assets.beeimg, x, y, frame, 3.0f, rotation, scale, scale, alpha);
}

void starbee_tag::update() {
  // The bee may leave its list below and still needs its fields until it returns.
  Ref<starbee_tag> self(this);
  switch (static_cast<BeeKind>(btype)) {
    case BeeKind::kMerged:
      MoveMerged(*this);
      break;
    case BeeKind::kBonus:
      MoveBonus(*this);
      break;
    case BeeKind::kSwarm:
      MoveSwarm(*this);
      break;
  }
  // A bee that removed itself above still meets the shots and is drawn this frame.
  TestShots(*this);
  BeatWings(*this);
  Draw();
}
