// scores.cpp - PLACEHOLDER until the scoring is written: the best score is read and written as
// four bytes, and follows the running score without the jingle.
#include "game/scores.h"

#include <cstdio>

#include "game/entities.h"
#include "game/globals.h"

void loadhiscore() {
  player->hscore = 0;
  if (std::FILE* f = std::fopen("data/hiscore.dat", "rb")) {
    unsigned char b[4] = {};
    if (std::fread(b, 1, 4, f) > 0) player->hscore = b[0] | b[1] << 8 | b[2] << 16 | b[3] << 24;
    std::fclose(f);
  }
}

void savehiscore() {
  std::FILE* f = std::fopen("data/hiscore.dat", "wb");
  if (!f) {
    std::fprintf(stderr, "The best score could not be saved to data/hiscore.dat\n");
    return;
  }
  const unsigned v = static_cast<unsigned>(player->hscore);
  const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                              static_cast<unsigned char>(v >> 16),
                              static_cast<unsigned char>(v >> 24)};
  std::fwrite(b, 1, 4, f);
  std::fclose(f);
}

void updatebestscore() {
  if (player->score > player->hscore) player->hscore = player->score;
}
