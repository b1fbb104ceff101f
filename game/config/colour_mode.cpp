// colour_mode.cpp - the drawing mode the game is in, anaglyph or flat. Needs the stereo mode.
#include "game/config/colour_mode.h"

namespace {

// How the game draws, apart from the game's state: a colour switch in a pause is kept by the
// replays themselves. Set from the settings at each start.
struct Colours {
  ColourMode current = ColourMode::Anaglyph;
  StereoEye flat_eye = StereoEye::Both;
} colours;

}  // namespace

void SetColourMode(ColourMode mode) { colours.current = mode; }

ColourMode GetColourMode() { return colours.current; }

ColourMode OtherColourMode(ColourMode mode) {
  return mode == ColourMode::Flat ? ColourMode::Anaglyph : ColourMode::Flat;
}

const char* ColourModeLabel(ColourMode mode) {
  return mode == ColourMode::Flat ? "(Flat)" : "(Red/Cyan 3D)";
}

void SetFlatEye(StereoEye eye) { colours.flat_eye = eye; }

StereoEye FlatEye() { return colours.flat_eye; }

bool DrawnWithoutDepth() {
  return colours.current == ColourMode::Flat && colours.flat_eye == StereoEye::Both &&
         StereoModeInUse() == StereoMode::Off;
}
