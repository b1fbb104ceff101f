// game_mode.cpp - the mode transitions: which flags each sets and which counters it resets.
#include "game/play/game_mode.h"

#include "game/play/globals.h"

namespace {

// A new caption sequence: fully opaque, counting from `first`.
void RestartSequence(int first) {
  game_mode.fade = 1.0f;
  game_mode.seqctr = first;
}

// The spawn count and the swarm tallies of one wave.
void ClearWaveCounts() { wave_counts = WaveCounts{}; }

}  // namespace

void ResetModeForProgramStart() {
  game_mode = ModeState{};
  progress = GameProgress{};
  wave_counts = WaveCounts{};
}

void EnterTitleAfterSplash() {
  game_mode.titlemode = 1;
  RestartSequence(0);
  game_mode.cycledone = false;
}

void EnterGetReadyForNewGame() {
  ClearWaveCounts();
  progress.spawnrate = 120;
  progress.swarmsperwave = 10;
  RestartSequence(0);
  game_mode.titlemode = 0;
  game_mode.getready = 1;
  progress.phase = 0;
}

void EnterPlay() {
  game_mode.getready = 0;
  game_mode.playing = 1;
  RestartSequence(0);
}

void EnterWaveEnd() {
  game_mode.playing = 0;
  game_mode.waveend = 1;
  progress.phase += 1;
  if (progress.phase > 2) {
    progress.phase = 0;
    game_mode.cycledone = true;
  } else {
    // Only a swarm wave makes the next one longer and faster.
    progress.swarmsperwave += 10;
    progress.spawnrate -= 10;
    if (progress.spawnrate < 20) progress.spawnrate = 20;
  }
  // Every wave starts its count afresh, so that its first swarm comes one interval into play,
  // after the bonus round too.
  ClearWaveCounts();
  progress.escaped = 0;
  RestartSequence(-1);
}

void EnterGetReadyAfterWave() {
  game_mode.getready = 1;
  game_mode.waveend = 0;
  RestartSequence(0);
  game_mode.cycledone = false;
}

void EnterGameOver() {
  game_mode.playing = 0;
  game_mode.gameover = 1;
}

void EnterTitleAfterGameOver() {
  game_mode.gameover = 0;
  game_mode.titlemode = 1;
  progress.spawnrate = 30;
}

void EnterTitleOnAbandon() {
  game_mode.titlemode = 1;
  game_mode.playing = game_mode.getready = game_mode.waveend = game_mode.gameover = 0;
  progress.escaped = 0;
  game_mode.cycledone = false;
  RestartSequence(0);
  progress.spawnrate = 25;
  progress.phase = 0;
}
