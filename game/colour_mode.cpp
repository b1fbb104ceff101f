// colour_mode.cpp - the drawing mode the game is in, anaglyph or flat. Needs nothing else.
#include "game/colour_mode.h"

namespace {

ColourMode current = ColourMode::Anaglyph;

}  // namespace

void SetColourMode(ColourMode mode) { current = mode; }

ColourMode GetColourMode() { return current; }

ColourMode OtherColourMode(ColourMode mode) {
  return mode == ColourMode::Flat ? ColourMode::Anaglyph : ColourMode::Flat;
}

const char* ColourModeLabel(ColourMode mode) {
  return mode == ColourMode::Flat ? "(Flat)" : "(Red/Cyan 3D)";
}
