// picture_fit.h - where a picture of fixed size sits in a drawable area of another size.
//
// Pure arithmetic, shared by the OpenGL driver (where to show its picture) and its tests.
#pragma once

#include "graphics/display_mode.h"

struct PictureRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// The picture scaled by the policy and centred in the area (top-left origin). Both sizes must be
// positive; an empty area gives an empty rectangle.
PictureRect FitPicture(int picture_width, int picture_height, int area_width, int area_height,
                       ScalePolicy policy);

// The largest whole multiple (at least 1) of the picture that fits in the area.
int WholeMultipleThatFits(int picture_width, int picture_height, int area_width, int area_height);

// Sharp scaling's intermediate size on the way from a picture to `shown` (FitPicture's size):
// each side the smallest whole multiple of the picture's that reaches the shown one. Empty (0 x 0)
// when no intermediate step is needed: the shown size is itself a whole multiple of the picture,
// or smaller than it on a side, or empty.
PictureRect SharpPrescale(int picture_width, int picture_height, const PictureRect& shown);
