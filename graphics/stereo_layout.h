// stereo_layout.h - the sizes and places of a stereo picture's two views. Pure arithmetic, shared
// by the OpenGL driver (where to show the views), the 2D layer (the picture a screenshot saves)
// and their tests.
//
// Each eye's view is drawn at the program's size (640 x 480 for the game). The stereo picture
// holds both: beside each other (side-by-side: 1280 x 480), squeezed beside each other
// (side-by-side-half: 640 x 480, each view 320 x 480) or stacked (top-bottom: 640 x 960).
//
// On screen the drawable is split in two halves along the picture's axis (left and right, or
// top and bottom) and each view is scaled into its half by the scale policy, at the same place in
// both halves, with black bars around it: hardware that splits the signal in halves then gives
// each eye its view where the other eye's sits. Side-by-side keeps the view's shape in its half
// (glasses and viewers show each half as it is); side-by-side-half and top-bottom squeeze it to
// half its width or height, since 3D TVs stretch each half back to the whole screen.
#pragma once

#include "graphics/picture_fit.h"
#include "graphics/stereo_mode.h"

struct PictureSize {
  int width = 0, height = 0;
};

// The stereo picture for views of view_width x view_height: what a screenshot saves. Off: the
// view itself.
PictureSize StereoPictureSize(StereoMode mode, int view_width, int view_height);

// Where the picture's views sit in the stereo picture: left (index 0) and right (1). Off: the
// whole picture once, as index 0.
struct StereoPictureViews {
  int count = 1;
  PictureRect views[2];
};
StereoPictureViews StereoViewsInPicture(StereoMode mode, int view_width, int view_height);

// Where each eye's view lands in a drawable area (top-left origin), and the rectangle spanning
// both, which the pointer maps over. Off: the view fit into the whole area, as FitPicture does.
// An empty area or view gives empty rectangles.
struct StereoScreen {
  int count = 1;
  PictureRect views[2];
  PictureRect bounds;
};
StereoScreen PlaceStereoViews(StereoMode mode, int view_width, int view_height, int area_width,
                              int area_height, ScalePolicy policy);
