// points.cpp - PLACEHOLDER until the score pop-ups are written: Create makes none and update does
// nothing.
#include "game/entities.h"

void points_tag::Create(float, float, int) {}

void points_tag::update() {}
