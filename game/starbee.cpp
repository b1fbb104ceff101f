// starbee.cpp - PLACEHOLDER until the bees are written: Create makes no bees and update does
// nothing, so that the rest of the game builds and runs.
#include "game/entities.h"

void starbee_tag::Create(int, float, float, float, int, int) {}

void starbee_tag::update() {}
