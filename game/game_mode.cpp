// game_mode.cpp - the mode transitions: which flags each sets and which counters it resets.
#include "game/game_mode.h"

#include "game/globals.h"

namespace {

// A new caption sequence: fully opaque, counting from `first`.
void RestartSequence(int first) {
  fade = 1.0f;
  seqctr = first;
}

// The spawn count and the swarm tallies of one wave.
void ClearWaveCounts() {
  spawnctr = 0;
  swarmid = 0;
  swarmsmade = 0;
  swarmskilled = 0;
}

}  // namespace

void ResetModeForProgramStart() {
  titlemode = getready = playing = waveend = gameover = phase = 0;
  spawnrate = 30;
  ClearWaveCounts();
  escaped = 0;
  swarmsperwave = 10;
  RestartSequence(0);
  cycledone = false;
}

void EnterTitleAfterSplash() {
  titlemode = 1;
  RestartSequence(0);
  cycledone = false;
}

void EnterGetReadyForNewGame() {
  ClearWaveCounts();
  spawnrate = 120;
  swarmsperwave = 10;
  RestartSequence(0);
  titlemode = 0;
  getready = 1;
  phase = 0;
}

void EnterPlay() {
  getready = 0;
  playing = 1;
  RestartSequence(0);
}

void EnterWaveEnd() {
  playing = 0;
  waveend = 1;
  phase += 1;
  if (phase > 2) {
    phase = 0;
    cycledone = true;
  } else {
    // Only a swarm wave makes the next one longer and faster.
    swarmsperwave += 10;
    spawnrate -= 10;
    if (spawnrate < 20) spawnrate = 20;
  }
  // Every wave starts its count afresh, so that its first swarm comes one interval into play,
  // after the bonus round too.
  ClearWaveCounts();
  escaped = 0;
  RestartSequence(-1);
}

void EnterGetReadyAfterWave() {
  getready = 1;
  waveend = 0;
  RestartSequence(0);
  cycledone = false;
}

void EnterGameOver() {
  playing = 0;
  gameover = 1;
}

void EnterTitleAfterGameOver() {
  gameover = 0;
  titlemode = 1;
  spawnrate = 30;
}

void EnterTitleOnAbandon() {
  titlemode = 1;
  playing = getready = waveend = gameover = 0;
  escaped = 0;
  cycledone = false;
  RestartSequence(0);
  spawnrate = 25;
  phase = 0;
}
