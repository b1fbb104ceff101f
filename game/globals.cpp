// globals.cpp - the game's state and its values at program start.
#include "game/globals.h"

#include "game/entities.h"
#include "game/game_mode.h"

TList* starlist = nullptr;
TList* shotlist = nullptr;
TList* beelist = nullptr;
TList* beeshotlist = nullptr;
TList* splatlist = nullptr;
TList* pointslist = nullptr;
TList* particlelist = nullptr;
player_tag* player = nullptr;

const int speedtable[8] = {1, 2, 3, 4, 5, 6, 7, 8};
const int pointstable[8] = {25, 50, 100, 200, 400, 800, 1600, 3200};
const std::string pausetexts[4] = {"** Paused **", "F2/B1=Adjust Music Volume:",
                                   "F3/B2=Adjust SoundFX Volume:", "F4=Switch Colour Mode:"};
const std::string volumelabels[11] = {"(off)", "(10%)", "(20%)", "(30%)", "(40%)", "(50%)",
                                      "(60%)", "(70%)", "(80%)", "(90%)", "(100%)"};

int titlemode, getready, playing, waveend, gameover, quitflag, phase;
int spawnrate, spawnctr, swarmid, swarmsmade, swarmsperwave, swarmskilled, escaped;
float musicvol, sfxvol;
int musicstep, sfxstep;
Ref<TChannel> musicchannel;
int steermousex, steermousey;
float fade;
int seqctr;
bool cycledone;

Ref<TImage> starimg, shipimg, beeimg, splatimg, pointsimg, bonusbannerimg, lazerimg, beeshotimg,
    logoimg, promptimg, getreadyimg, bonusroundimg, wavedoneimg, gameoverimg, hudlabelimg, digitimg;

Ref<TSound> snd_shot, snd_hyper, snd_gstart, snd_endwave, snd_bhit, snd_bhit1, snd_lswarm,
    snd_sswarm, snd_sbhit, snd_sbdie, snd_shipdie, snd_flyaway, snd_beewarp, snd_hscore;

namespace {

void Renew(TList*& list) {
  if (list) list->Release();
  list = new TList;
  list->Retain();
}

}  // namespace

void initglobals() {
  for (TList** list :
       {&starlist, &shotlist, &beelist, &beeshotlist, &splatlist, &pointslist, &particlelist}) {
    Renew(*list);
  }
  if (player) player->Release();
  player = new player_tag;
  player->Retain();
  player->wave = 1;

  ResetModeForProgramStart();
  quitflag = 0;
  // The volumes start at full music and half effects on every run: they are never stored.
  musicvol = 1.0f;
  musicstep = 10;
  sfxvol = 0.5f;
  sfxstep = 5;
  musicchannel.reset();
  steermousex = steermousey = 0;
}

void clearentities() {
  for (TList* list : {shotlist, beelist, beeshotlist, splatlist, pointslist, particlelist}) {
    if (list) list->Clear();
  }
}
