// anaglyph.h - the game's red/cyan 3D drawing.
//
// Both operations draw their subject twice, as a dark-cyan copy `separation` pixels to the left
// and a dark-red copy as far to the right, in additive blend, each copy drawn twice; where the
// copies meet they add to a light grey. In the flat colour mode (colour_mode.h) each draws its
// subject once instead, halfway between where the two copies would be, in its own colours
// (white tint) with the same alpha, rotation and scale, in alpha blend. In a stereo mode
// (graphics/stereo_mode.h) each draws its subject that way once into each eye's view: into the left
// eye's where the red copy would be (x + separation), into the right eye's where the cyan one
// would be. What they draw is set by their arguments and the modes alone, and afterwards the 2D
// state is rotation 0, scale 1, alpha 1, white, mask blend.
#pragma once

#include <string>

#include "graphics/image.h"

void drawimage3d(const Ref<TImage>& image, float x, float y, int frame, float separation,
                 float rotation, float scalex, float scaley, float alpha);
// One copy at (x, y) in the image's own colours times a grey `tint` (255: unchanged), in alpha
// blend: the flat mode's drawing, which the stars use with their layer's brightness.
void drawimageflat(const Ref<TImage>& image, float x, float y, int frame, float rotation,
                   float scalex, float scaley, float alpha, int tint = 255);

// Mode 0 (the only one the game uses) draws the tinted pair alone, ignoring blend and colour.
// Centred text is centred on (x, y) by its unscaled size times the scale.
void drawtext3d(const std::string& text, float x, float y, float separation, float rotation,
                float scalex, float scaley, int blend, float alpha, float alphareduction, int red,
                int green, int blue, int mode, bool centred);
