// beeshot.cpp - PLACEHOLDER until the bee shots are written: Create makes no shot and update does
// nothing.
#include "game/entities.h"

void beeshot_tag::Create(float, float) {}

void beeshot_tag::update() {}
