// waves.h - the wave cycle: two swarm waves, then a bonus round, over and over.
#pragma once

// Each frame of play: releases a swarm every spawnrate frames (bonus bees every 140 frames in the
// bonus round).
void spawner();
// Ends the wave when its condition holds: clears the playfield, steps the difficulty and starts
// the fly-away sequence.
void checkwaveend();
// One frame of the fly-away sequence while waveend is 1: the ship climbs out, the wave bonus is
// paid once, and the get-ready sequence follows.
void flyaway();

// The fly-away's caption as this frame showed it, without drawing random numbers: the flashing
// copy in its latest look and the shaking caption at the middle of its shake. Main thread.
void DrawWaveEndCaption();
// How the wave-end caption's flashing copy was last drawn: alpha, stretch and colour.
struct FlashLook {
  float alpha = 0, sx = 0, sy = 0;
  int r = 0, g = 0, b = 0;
  friend bool operator==(const FlashLook&, const FlashLook&) = default;
};
// The look of the latest flash (for tests and the frame log). Main thread.
FlashLook LastFlashLook();
