// globals.cpp - the game's state and its values at program start.
#include "game/play/globals.h"

#include "game/play/entities.h"
#include "game/play/game_mode.h"

GameAssets assets;
Playfield playfield;
ModeState game_mode;
GameProgress progress;
WaveCounts wave_counts;
ProgramState program;
FrameInput frame_input;

const int speedtable[8] = {1, 2, 3, 4, 5, 6, 7, 8};
const int pointstable[8] = {25, 50, 100, 200, 400, 800, 1600, 3200};
const std::string pausetexts[4] = {"** Paused **", "F2/B1=Adjust Music Volume:",
                                   "F3/B2=Adjust SoundFX Volume:", "F4=Switch Colour Mode:"};
const std::string volumelabels[11] = {"(off)", "(10%)", "(20%)", "(30%)", "(40%)", "(50%)",
                                      "(60%)", "(70%)", "(80%)", "(90%)", "(100%)"};

namespace {

TList* NewList() {
  auto* list = new TList;
  list->Retain();
  return list;
}

// A playfield of empty lists and a ship on wave 1. The previous run's objects are released.
Playfield NewPlayfield(const Playfield& old) {
  for (TList* list : {old.starlist, old.shotlist, old.beelist, old.beeshotlist, old.splatlist,
                      old.pointslist, old.particlelist}) {
    if (list) list->Release();
  }
  if (old.player) old.player->Release();
  Playfield fresh{NewList(), NewList(), NewList(), NewList(),
                  NewList(), NewList(), NewList(), new player_tag};
  fresh.player->Retain();
  fresh.player->wave = 1;
  return fresh;
}

}  // namespace

void initglobals() {
  playfield = NewPlayfield(playfield);
  ResetModeForProgramStart();
  program = ProgramState{};
  frame_input = FrameInput{};
}

void clearentities() {
  for (TList* list : {playfield.shotlist, playfield.beelist, playfield.beeshotlist,
                      playfield.splatlist, playfield.pointslist, playfield.particlelist}) {
    if (list) list->Clear();
  }
}
