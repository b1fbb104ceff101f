// beesplat.cpp - PLACEHOLDER until the splats are written: Create appends a splat that draws
// nothing and leaves its list at its first update.
#include "game/entities.h"
#include "game/globals.h"

void beesplat_tag::Create(float x, float y, float scale) {
  Ref<beesplat_tag> splat = New<beesplat_tag>();
  splat->x = x;
  splat->y = y;
  splat->scale = scale;
  splatlist->AddLast(splat.get());
}

void beesplat_tag::update() { splatlist->Remove(this); }
