// waves.cpp - PLACEHOLDER until the wave cycle is written: nothing spawns and no wave ends.
#include "game/waves.h"

void spawner() {}
void checkwaveend() {}
void flyaway() {}
