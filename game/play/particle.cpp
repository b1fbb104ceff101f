// particle.cpp - explosion debris: thrown up and sideways, spinning, falling under a gravity
// that varies from frame to frame, until it leaves through the bottom edge. Needs particlelist
// and splatimg (globals.h).
#include "core/random.h"
#include "game/play/anaglyph.h"
#include "game/play/entities.h"
#include "game/play/globals.h"

void particle_tag::Create(float x, float y, float maxscale, int count) {
  for (int i = 0; i < count; ++i) {
    Ref<particle_tag> p(new particle_tag);
    p->frame = 1;
    p->alpha = 1.0f;
    p->x = x;
    p->y = y;
    p->scale = static_cast<float>(RandomRange(0.1, maxscale));
    p->rotation = static_cast<float>(RandomRange(0, 360));
    p->xstp = static_cast<float>(RandomRange(-2.5, 2.5));
    p->ystp = static_cast<float>(RandomRange(-2.5, 0));
    playfield.particlelist->AddLast(p.get());
  }
}

void particle_tag::Draw() const {
  drawimage3d(assets.splatimg, x, y, frame, 6.0f, rotation, scale, scale, alpha);
}

void particle_tag::update() {
  x += xstp;
  y += ystp;
  ystp = static_cast<float>(ystp + RandomRange(0.01, 0.1));
  rotation += 15;
  alpha -= 0.001f;
  Draw();
  // Particles are not removed at the side edges: the side bars hide them until they fall out.
  if (alpha <= 0 || y > 480) playfield.particlelist->Remove(this);
}
