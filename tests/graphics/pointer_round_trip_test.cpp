// The pointer's way between the 640x480 picture and a scaled window: a place the game puts the
// pointer (its ship's x, a joystick step) must read back as that very pixel, or the ship drifts
// out of its zone and joystick steps are not 6 pixels. Checked for every pixel of every row and
// column at every window size the window allows (640x480 and up), for both scale policies, on
// ordinary displays and on high-density ones (two drawable pixels per window unit).
#include <gtest/gtest.h>

#include <string>

#include "graphics/picture_fit.h"
#include "platform/window_registry.h"

namespace {

constexpr int kPictureW = 640, kPictureH = 480;

// The record the OpenGL driver gives a window whose drawable is `w` x `h` at `density` drawable
// pixels per window unit.
PlatWindowRecord Shown(int w, int h, int density, ScalePolicy policy) {
  const PictureRect r = FitPicture(kPictureW, kPictureH, w * density, h * density, policy);
  PlatWindowRecord record;
  record.picture_width = kPictureW;
  record.picture_height = kPictureH;
  record.shown_x = r.x / static_cast<double>(density);
  record.shown_y = r.y / static_cast<double>(density);
  record.shown_width = r.width / static_cast<double>(density);
  record.shown_height = r.height / static_cast<double>(density);
  return record;
}

// The first picture column (or row, with `rows`) that does not read back as itself; -1 if none.
int FirstMiss(const PlatWindowRecord& record, bool rows) {
  const int n = rows ? kPictureH : kPictureW;
  for (int p = 0; p < n; ++p) {
    int x = rows ? 0 : p, y = rows ? p : 0;
    plat_picture_to_window(record, &x, &y);
    plat_window_to_picture(record, &x, &y);
    if ((rows ? y : x) != p) return p;
  }
  return -1;
}

TEST(PointerRoundTrip, EveryPicturePixelReadsBackAtEveryAllowedWindowSize) {
  for (ScalePolicy policy : {ScalePolicy::Fit, ScalePolicy::Integer}) {
    for (int density : {1, 2}) {
      // Widths against the smallest height and heights against the smallest width cover both
      // the side that limits the scale and the side that is letterboxed.
      for (int w = kPictureW; w <= 2600; ++w) {
        const int miss = FirstMiss(Shown(w, kPictureH, density, policy), false);
        ASSERT_EQ(miss, -1) << "column " << miss << " in a " << w << "x" << kPictureH
                            << " window, density " << density;
        const int rowmiss = FirstMiss(Shown(w, w * 3 / 4, density, policy), true);
        ASSERT_EQ(rowmiss, -1) << "row " << rowmiss << " in a " << w << "x" << w * 3 / 4
                               << " window, density " << density;
      }
      for (int h = kPictureH; h <= 2000; ++h) {
        const int miss = FirstMiss(Shown(kPictureW, h, density, policy), true);
        ASSERT_EQ(miss, -1) << "row " << miss << " in a " << kPictureW << "x" << h
                            << " window, density " << density;
        const int colmiss = FirstMiss(Shown(h * 4 / 3, h, density, policy), false);
        ASSERT_EQ(colmiss, -1) << "column " << colmiss << " in a " << h * 4 / 3 << "x" << h
                               << " window, density " << density;
      }
    }
  }
}

}  // namespace
