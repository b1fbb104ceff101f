// A 640 x 480 OpenGL window on SDL's offscreen driver, with read-back helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "graphics/draw2d.h"
#include "graphics/gl_draw2d.h"

class GLTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GLRar2ADriver();
    graphics_ = OpenGraphics(640, 480, 0, 0, GFX_BACKBUFFER);  // a window, unpaced
    ASSERT_TRUE(graphics_) << "no OpenGL context on the offscreen driver";
    SetClsColor(0, 0, 0);
    Cls();
  }
  void TearDown() override { EndGraphicsMode(); }

  // The back buffer's pixel as 0xRRGGBB.
  static std::uint32_t Pixel(int x, int y) {
    return GrabPixmap(x, y, 1, 1)->ReadPixel(0, 0) & 0xffffff;
  }
  static int Red(std::uint32_t rgb) { return (rgb >> 16) & 255; }
  static int Green(std::uint32_t rgb) { return (rgb >> 8) & 255; }
  static int Blue(std::uint32_t rgb) { return rgb & 255; }
  static bool Near(std::uint32_t rgb, int r, int g, int b) {
    return std::abs(Red(rgb) - r) <= 1 && std::abs(Green(rgb) - g) <= 1 &&
           std::abs(Blue(rgb) - b) <= 1;
  }

  Ref<TGraphics> graphics_;
};

#define EXPECT_RGB(pixel, r, g, b) \
  EXPECT_TRUE(Near(pixel, r, g, b)) << std::hex << "0x" << (pixel) << " at " #pixel
