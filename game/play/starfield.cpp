// starfield.cpp - the 300 background stars in three depth layers, scrolling down behind
// everything. Needs the anaglyph drawing, the colour mode and the random generator.
#include "core/random.h"
#include "game/config/colour_mode.h"
#include "game/play/anaglyph.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "graphics/draw2d.h"

namespace {

struct Layer {
  float scale, separation;
  int speed;
  int brightness;  // the grey the flat colour mode tints it with, where depth cannot show
};
// Nearer layers are larger, faster, stand further out of the screen and, flat, shine brighter.
constexpr Layer kLayers[3] = {{0.8f, 4.0f, 3, 255}, {0.7f, 2.0f, 2, 185}, {0.6f, 0.0f, 1, 120}};

}  // namespace

void starfield_tag::Create() {
  for (int i = 0; i < 300; ++i) {
    Ref<starfield_tag> star = New<starfield_tag>();
    star->size = static_cast<int>(RandomRange(0, 3));
    star->x = static_cast<int>(RandomRange(80, 560));
    star->y = static_cast<int>(RandomRange(0, 480));
    playfield.starlist->AddLast(star.get());
  }
}

void starfield_tag::Draw() const {
  const Layer& layer = kLayers[size < 0 || size > 2 ? 0 : size];
  if (DrawnWithoutDepth()) {
    drawimageflat(assets.starimg, static_cast<float>(x), static_cast<float>(y), 0, 0, layer.scale,
                  layer.scale, 1.0f, layer.brightness);
  } else {
    drawimage3d(assets.starimg, static_cast<float>(x), static_cast<float>(y), 0, layer.separation,
                0, layer.scale, layer.scale, 1.0f);
  }
  SetColor(255, 255, 255);
}

void starfield_tag::update() {
  Draw();
  y += kLayers[size < 0 || size > 2 ? 0 : size].speed;
  if (y > 482) {
    x = static_cast<int>(RandomRange(80, 560));
    y = -3;
  }
}
