// anaglyph.cpp - the red/cyan pair drawing behind nearly every image and text of the game.
// Needs the 2D layer (draw2d.h), image drawing, the default font and the stereo views.
#include "game/play/anaglyph.h"

#include <algorithm>

#include "game/config/colour_mode.h"
#include "graphics/draw2d.h"
#include "graphics/font.h"
#include "graphics/image_draw.h"
#include "graphics/view_recorder.h"

namespace {

// What every drawing of the game expects to find, and what it leaves behind.
void RestoreDrawState() {
  SetAlpha(1);
  SetBlend(BLEND_MASK);
  SetColor(255, 255, 255);
  SetRotationAndScale(0, 1, 1);
}

// Flat colours: the flat mode's, and every stereo view's.
bool DrawnFlat() {
  return GetColourMode() == ColourMode::Flat || StereoModeInUse() != StereoMode::Off;
}

// Runs draw(dx) once per eye in a stereo mode, with the left eye's view moved by +separation
// (where the red copy is, which the red glass shows the left eye) and the right eye's by
// -separation; otherwise once, moved as the flat eye says (not at all for the flat picture).
template <class Draw>
void ForEachEye(float separation, Draw draw) {
  if (StereoModeInUse() != StereoMode::Off) {
    SetStereoEye(StereoEye::Left);
    draw(separation);
    SetStereoEye(StereoEye::Right);
    draw(-separation);
    SetStereoEye(StereoEye::Both);
    return;
  }
  const StereoEye eye = FlatEye();
  draw(eye == StereoEye::Left ? separation : eye == StereoEye::Right ? -separation : 0.0f);
}

}  // namespace

void drawimageflat(const Ref<TImage>& image, float x, float y, int frame, float rotation,
                   float scalex, float scaley, float alpha, int tint) {
  if (!image) return;
  SetRotationAndScale(rotation, scalex, scaley);
  SetAlpha(alpha);
  SetBlend(BLEND_ALPHA);
  SetColor(tint, tint, tint);
  PaintImage(image, x, y, frame);
  RestoreDrawState();
}

void drawimage3d(const Ref<TImage>& image, float x, float y, int frame, float separation,
                 float rotation, float scalex, float scaley, float alpha) {
  if (!image) return;
  // Once, in the image's own colours: halfway between the two copies, or where one eye sees it.
  if (DrawnFlat()) {
    SetRotationAndScale(rotation, scalex, scaley);
    SetAlpha(alpha);
    SetBlend(BLEND_ALPHA);
    SetColor(255, 255, 255);
    ForEachEye(separation, [&](float dx) { PaintImage(image, x + dx, y, frame); });
    RestoreDrawState();
    return;
  }
  SetRotationAndScale(rotation, scalex, scaley);
  SetAlpha(alpha);
  SetBlend(BLEND_LIGHT);
  // Each copy twice: the additive pair is then bright enough through the glasses.
  for (int pass = 0; pass < 2; ++pass) {
    SetColor(4, 80, 60);
    PaintImage(image, x - separation, y, frame);
    SetColor(140, 4, 10);
    PaintImage(image, x + separation, y, frame);
  }
  RestoreDrawState();
}

void drawtext3d(const std::string& text, float x, float y, float separation, float rotation,
                float scalex, float scaley, int /*blend*/, float alpha, float alphareduction,
                int /*red*/, int /*green*/, int /*blue*/, int /*mode*/, bool centred) {
  int ix = static_cast<int>(x);
  int iy = static_cast<int>(y);
  SetRotationAndScale(rotation, scalex, scaley);
  if (centred) {
    ix = static_cast<int>(ix - MeasureTextWidth(text) * scalex / 2);
    iy = static_cast<int>(iy - MeasureTextHeight(text) * scaley / 2);
  }
  SetAlpha(std::max(alpha - alphareduction, 0.1f));
  if (DrawnFlat()) {
    SetBlend(BLEND_ALPHA);
    ForEachEye(separation, [&](float dx) {
      PaintText(text, static_cast<float>(ix) + dx, static_cast<float>(iy));
    });
    RestoreDrawState();
    return;
  }
  SetBlend(BLEND_LIGHT);
  for (int pass = 0; pass < 2; ++pass) {
    SetColor(4, 60, 40);
    PaintText(text, ix - separation, static_cast<float>(iy));
    SetColor(140, 4, 10);
    PaintText(text, ix + separation, static_cast<float>(iy));
  }
  RestoreDrawState();
}
