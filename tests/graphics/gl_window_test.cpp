// The OpenGL window's procedure: its messages become events, a close request leaves the window
// open, and focus changes suspend and resume the program.
#include <gtest/gtest.h>

#include "graphics/gl_draw2d.h"
#include "graphics/gl_graphics.h"
#include "platform/inject.h"
#include "system/polled_input.h"

namespace {

class GLWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    GLRar2ADriver();
    SetAppTitle("Zumbrix - 3D Edition");
    ASSERT_TRUE(OpenGraphics(640, 480, 32, 0, GFX_BACKBUFFER));
    ASSERT_NE(CurrentGLContext(), nullptr);
    window_ = CurrentGLContext()->window_id;
  }
  void TearDown() override { EndGraphicsMode(); }
  unsigned window_ = 0;
};

TEST_F(GLWindow, FullScreenContextTakesItsSettings) {
  GLContextRecord* r = CurrentGLContext();
  EXPECT_EQ(r->mode, GLContextRecord::kFullScreen);
  EXPECT_EQ(r->width, 640);
  EXPECT_EQ(r->height, 480);
  EXPECT_EQ(ContextDepth(), 32);
  EXPECT_EQ(ContextFlags(), GFX_BACKBUFFER);
}

TEST_F(GLWindow, CloseRequestBecomesAnEventAndTheWindowStays) {
  ASSERT_TRUE(plat_inject_close(window_));
  EXPECT_EQ(AppCloseRequested(), 1);
  EXPECT_EQ(AppCloseRequested(), 0);  // answered once
  EXPECT_EQ(CurrentGLContext()->window_id, window_);
  Cls();
  FlipScreen(0);  // still drawing into it
}

TEST_F(GLWindow, LosingAndRegainingTheFocusSuspendsAndResumes) {
  ASSERT_TRUE(plat_inject_focus(window_, false));
  EXPECT_EQ(IsAppSuspended(), 1);
  ASSERT_TRUE(plat_inject_focus(window_, true));
  EXPECT_EQ(IsAppSuspended(), 0);
}

TEST_F(GLWindow, KeysReachPolledInputThroughTheWindow) {
  ASSERT_TRUE(plat_inject_key(window_, 32, true));
  ASSERT_TRUE(plat_inject_key(window_, 32, false));
  EXPECT_EQ(KeyHits(32), 1);
  EXPECT_EQ(KeyHits(32), 0);
}

}  // namespace
