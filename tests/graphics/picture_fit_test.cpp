// Where the 640x480 picture sits on screens of other sizes: as large as fits with its shape kept
// and centred, or in whole multiples only; and how large a window starts.
#include "graphics/picture_fit.h"

#include <gtest/gtest.h>

namespace {

void ExpectRect(const PictureRect& r, int x, int y, int width, int height) {
  EXPECT_EQ(r.x, x);
  EXPECT_EQ(r.y, y);
  EXPECT_EQ(r.width, width);
  EXPECT_EQ(r.height, height);
}

TEST(PictureFit, FitKeepsTheShapeAndIntegerKeepsWholeMultiples) {
  ExpectRect(FitPicture(640, 480, 1920, 1080, ScalePolicy::Fit), 240, 0, 1440, 1080);
  ExpectRect(FitPicture(640, 480, 1920, 1080, ScalePolicy::Integer), 320, 60, 1280, 960);
  ExpectRect(FitPicture(640, 480, 1000, 500, ScalePolicy::Fit), 166, 0, 667, 500);
  ExpectRect(FitPicture(640, 480, 640, 480, ScalePolicy::Integer), 0, 0, 640, 480);
  // A tall window: bars above and below.
  ExpectRect(FitPicture(640, 480, 800, 1000, ScalePolicy::Fit), 0, 200, 800, 600);
  // Smaller than the picture: whole multiples cannot fit, so it shrinks as Fit does.
  ExpectRect(FitPicture(640, 480, 320, 300, ScalePolicy::Integer), 0, 30, 320, 240);
  ExpectRect(FitPicture(640, 480, 0, 480, ScalePolicy::Fit), 0, 0, 0, 0);
}

TEST(PictureFit, AWindowStartsAtTheLargestWholeMultipleThatFits) {
  EXPECT_EQ(WholeMultipleThatFits(640, 480, 1920, 1080 - 40), 2);
  EXPECT_EQ(WholeMultipleThatFits(640, 480, 2560, 1440), 3);
  EXPECT_EQ(WholeMultipleThatFits(640, 480, 1280, 959), 1);
  EXPECT_EQ(WholeMultipleThatFits(640, 480, 600, 400), 1);  // never less than one
}

}  // namespace
