// stereo_layout.cpp - stereo picture sizes and the views' places on screen.
#include "graphics/stereo_layout.h"

#include <algorithm>

namespace {

bool SideBySide(StereoMode mode) {
  return mode == StereoMode::SideBySide || mode == StereoMode::SideBySideHalf;
}

PictureRect Moved(PictureRect r, int dx, int dy) {
  r.x += dx;
  r.y += dy;
  return r;
}

}  // namespace

PictureSize StereoPictureSize(StereoMode mode, int w, int h) {
  switch (mode) {
    case StereoMode::SideBySide:
      return {2 * w, h};
    case StereoMode::TopBottom:
      return {w, 2 * h};
    case StereoMode::Off:
    case StereoMode::SideBySideHalf:
      break;
  }
  return {w, h};
}

StereoPictureViews StereoViewsInPicture(StereoMode mode, int w, int h) {
  StereoPictureViews v;
  switch (mode) {
    case StereoMode::Off:
      v.views[0] = {0, 0, w, h};
      return v;
    case StereoMode::SideBySide:
      v.views[0] = {0, 0, w, h};
      v.views[1] = {w, 0, w, h};
      break;
    case StereoMode::SideBySideHalf:
      v.views[0] = {0, 0, w / 2, h};
      v.views[1] = {w / 2, 0, w - w / 2, h};
      break;
    case StereoMode::TopBottom:
      v.views[0] = {0, 0, w, h};
      v.views[1] = {0, h, w, h};
      break;
  }
  v.count = 2;
  return v;
}

StereoScreen PlaceStereoViews(StereoMode mode, int w, int h, int area_w, int area_h,
                              ScalePolicy policy) {
  StereoScreen s;
  if (mode == StereoMode::Off) {
    s.views[0] = s.bounds = FitPicture(w, h, area_w, area_h, policy);
    return s;
  }
  s.count = 2;
  // The view's shape on screen, and the half of the area it goes in.
  int shape_w = w, shape_h = h, half_w = area_w, half_h = area_h;
  if (SideBySide(mode)) {
    half_w = area_w / 2;
    if (mode == StereoMode::SideBySideHalf) shape_w = std::max(1, w / 2);
  } else {
    half_h = area_h / 2;
    shape_h = std::max(1, h / 2);
  }
  const PictureRect in_half = FitPicture(shape_w, shape_h, half_w, half_h, policy);
  if (in_half.width <= 0 || in_half.height <= 0) return s;
  s.views[0] = in_half;
  s.views[1] = SideBySide(mode) ? Moved(in_half, half_w, 0) : Moved(in_half, 0, half_h);
  const PictureRect& a = s.views[0];
  const PictureRect& b = s.views[1];
  s.bounds = {a.x, a.y, b.x + b.width - a.x, b.y + b.height - a.y};
  return s;
}
