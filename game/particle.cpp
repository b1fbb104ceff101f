// particle.cpp - PLACEHOLDER until the particles are written: Create appends `count` particles
// that draw nothing and leave their list at their first update.
#include "game/entities.h"
#include "game/globals.h"

void particle_tag::Create(float x, float y, float maxscale, int count) {
  for (int i = 0; i < count; ++i) {
    Ref<particle_tag> particle = New<particle_tag>();
    particle->x = x;
    particle->y = y;
    particle->scale = maxscale;
    particlelist->AddLast(particle.get());
  }
}

void particle_tag::update() { particlelist->Remove(this); }
