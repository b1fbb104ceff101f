// colour_mode.cpp - the drawing mode the game is in, anaglyph or flat. Needs the stereo mode.
#include "game/colour_mode.h"

namespace {

ColourMode current = ColourMode::Anaglyph;
StereoEye flat_eye = StereoEye::Both;

}  // namespace

void SetColourMode(ColourMode mode) { current = mode; }

ColourMode GetColourMode() { return current; }

ColourMode OtherColourMode(ColourMode mode) {
  return mode == ColourMode::Flat ? ColourMode::Anaglyph : ColourMode::Flat;
}

const char* ColourModeLabel(ColourMode mode) {
  return mode == ColourMode::Flat ? "(Flat)" : "(Red/Cyan 3D)";
}

void SetFlatEye(StereoEye eye) { flat_eye = eye; }

StereoEye FlatEye() { return flat_eye; }

bool DrawnWithoutDepth() {
  return current == ColourMode::Flat && flat_eye == StereoEye::Both &&
         StereoModeInUse() == StereoMode::Off;
}
