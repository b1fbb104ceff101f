// What opening and closing OpenGL windows leaves behind: a window or context that cannot be made
// is no context, a refused full screen leaves no window, and the screen saver is held off only
// while one of the program's windows is open.
#include <gtest/gtest.h>

#include "graphics/gl_draw2d.h"
#include "graphics/gl_graphics.h"
#include "platform/gl_window.h"
#include "platform/inject.h"
#include "platform/video.h"
#include "platform/window.h"

namespace {

class GLWindowLife : public ::testing::Test {
 protected:
  void SetUp() override {
    GLRar2ADriver();
    ASSERT_TRUE(plat_video_init());
  }
  void TearDown() override {
    plat_inject_full_screen_refusal(PlatFullScreenRefusal::kNone);
    EndGraphicsMode();
  }
};

TEST_F(GLWindowLife, AWindowThatCannotBeMadeOpensNothing) {
  // Far beyond any surface the renderer can make.
  EXPECT_FALSE(OpenGraphics(1 << 20, 1 << 20, 0, 0, GFX_BACKBUFFER));
  EXPECT_EQ(CurrentGraphics(), nullptr);
  EXPECT_EQ(CurrentGLContext(), nullptr);
}

TEST_F(GLWindowLife, ARefusedFullScreenLeavesNoWindowBehind) {
  plat_inject_full_screen_refusal(PlatFullScreenRefusal::kAll);
  EXPECT_FALSE(OpenGraphics(640, 480, 32, 60, GFX_BACKBUFFER));
  EXPECT_EQ(CurrentGLContext(), nullptr);
  EXPECT_EQ(plat_active_window(), 0u) << "the refused window is still open";
  EXPECT_FALSE(plat_screen_saver_blocked());
}

TEST_F(GLWindowLife, TheScreenSaverIsHeldOffOnlyWhileAWindowIsOpen) {
  EXPECT_FALSE(plat_screen_saver_blocked());
  ASSERT_TRUE(OpenGraphics(640, 480, 0, 0, GFX_BACKBUFFER));
  EXPECT_TRUE(plat_screen_saver_blocked());
  EndGraphicsMode();
  EXPECT_FALSE(plat_screen_saver_blocked());
}

}  // namespace
