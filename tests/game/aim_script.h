// aim_script.h - a player for the headless harness: before each frame it picks the most
// dangerous bee that a shot can hit, moves the pointer to where the shot will meet it, fires when
// the ship is there, and steps aside from bee bullets that would hit the ship. On the title
// screen it starts a new game when asked to. Bonus bees are left alone unless `shootbonus`.
#pragma once

#include <cmath>
#include <vector>

#include "game/play/entities.h"
#include "game/play/globals.h"
#include "harness/harness.h"

struct AimScript {
  bool restart = true;      // click on the title screen to start the next game
  bool shootbonus = false;  // also keep bonus bees in the air
  int shipy = 440;          // where the ship is held
  int shots = 0;
  // Moves the pointer to a picture position; by default the window's position (an unscaled
  // window's are the picture's).
  void (*movepointer)(int x, int y) = HarnessMoveMouse;
  // Fires; by default with a left click.
  void (*fire)() = [] { HarnessClick(1); };

  void Step() {
    if (game_mode.titlemode && !game_mode.getready) {
      if (restart) HarnessClick(1);
      return;
    }
    if (!game_mode.playing) return;
    const starbee_tag* target = nullptr;
    float aimx = static_cast<float>(playfield.player->x);
    WalkList<starbee_tag>(*playfield.beelist, [&](starbee_tag* bee) {
      if (bee->btype == 1 && !shootbonus) return;
      if (bee->btype == 0 && bee->alpha < 0.6f) return;
      if (bee->y < 0 || bee->y > playfield.player->y - 100) return;
      // The lowest bee first: it is the one that dives at the ship.
      if (target && bee->y <= target->y) return;
      target = bee;
    });
    if (target) aimx = Lead(*target);
    if (aimx < 96 || aimx > 544) target = nullptr;
    float goal = Dodge(aimx);
    if (goal < 96) goal = 96;
    if (goal > 544) goal = 544;
    movepointer(static_cast<int>(goal), shipy);
    if (target && goal == aimx && std::fabs(playfield.player->x - aimx) < 5 &&
        playfield.player->shotctr == 0) {
      fire();
      ++shots;
    }
  }

  // Where the shot fired now meets the bee, from the bee's own heading and speed.
  static float Lead(const starbee_tag& bee) {
    const double rad = bee.rotation * 3.14159265358979 / 180.0;
    double vx = 0, vy = 0;
    if (bee.btype == 0) {
      vx = std::sin(rad) * bee.speed;
      vy = -std::cos(rad) * bee.speed;
      if (bee.rotation > 179 && bee.rotation < 181) vy += 4;
    } else if (bee.btype == 2) {
      vx = std::sin(rad) * 2;
      vy = -std::cos(rad) * 2;
    } else if (bee.spinning) {
      vx = bee.speed;
      vy = bee.ystp;
    } else {
      vx = std::sin(rad) * bee.speed;
      vy = -std::cos(rad) * bee.speed;
    }
    double closing = 8 + vy;
    if (closing < 1) closing = 1;
    double t = (playfield.player->y - bee.y) / closing + 1;
    return static_cast<float>(bee.x + vx * t);
  }

  // The aim, or the nearest point beside it that no bee bullet or diving bee will cross while
  // passing the ship.
  static float Dodge(float aimx) {
    std::vector<float> danger;
    WalkList<beeshot_tag>(*playfield.beeshotlist, [&](beeshot_tag* shot) {
      float below = playfield.player->y + 36 - shot->y;  // still to fall before it is past the ship
      if (below < 0 || below > 5 * 40) return;
      float t = (playfield.player->y - shot->y) / 5.0f;
      if (t < 0) t = 0;
      danger.push_back(shot->x + shot->xstp * t);
      danger.push_back(shot->x);
    });
    WalkList<starbee_tag>(*playfield.beelist, [&](starbee_tag* bee) {
      if (bee->btype == 0 && bee->y > playfield.player->y - 140 &&
          bee->y < playfield.player->y + 40) {
        danger.push_back(bee->x);
      }
    });
    auto safe = [&](float x) {
      for (float d : danger) {
        if (std::fabs(d - x) < 30) return false;
      }
      return true;
    };
    if (safe(aimx)) return aimx;
    for (int step = 1; step < 14; ++step) {
      for (int side : {-1, 1}) {
        float x = aimx + side * 35.0f * step;
        if (x >= 96 && x <= 544 && safe(x)) return x;
      }
    }
    return aimx;
  }
};
