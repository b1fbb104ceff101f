// picture_fit.cpp - letterboxing arithmetic.
#include "graphics/picture_fit.h"

#include <algorithm>
#include <cmath>

int WholeMultipleThatFits(int picture_width, int picture_height, int area_width, int area_height) {
  if (picture_width <= 0 || picture_height <= 0) return 1;
  return std::max(1, std::min(area_width / picture_width, area_height / picture_height));
}

PictureRect FitPicture(int picture_width, int picture_height, int area_width, int area_height,
                       ScalePolicy policy) {
  PictureRect r;
  if (picture_width <= 0 || picture_height <= 0 || area_width <= 0 || area_height <= 0) return r;
  int whole = std::min(area_width / picture_width, area_height / picture_height);
  if (policy == ScalePolicy::Integer && whole >= 1) {
    r.width = picture_width * whole;
    r.height = picture_height * whole;
  } else {
    // The side that limits the scale fills the area exactly; the other is rounded.
    double scale = std::min(static_cast<double>(area_width) / picture_width,
                            static_cast<double>(area_height) / picture_height);
    r.width = std::min(area_width, static_cast<int>(std::lround(picture_width * scale)));
    r.height = std::min(area_height, static_cast<int>(std::lround(picture_height * scale)));
  }
  r.x = (area_width - r.width) / 2;
  r.y = (area_height - r.height) / 2;
  return r;
}

PictureRect SharpPrescale(int picture_width, int picture_height, const PictureRect& shown) {
  PictureRect r;
  if (picture_width <= 0 || picture_height <= 0) return r;
  if (shown.width < picture_width || shown.height < picture_height) return r;
  if (shown.width % picture_width == 0 && shown.height % picture_height == 0) return r;
  r.width = (shown.width + picture_width - 1) / picture_width * picture_width;
  r.height = (shown.height + picture_height - 1) / picture_height * picture_height;
  return r;
}
