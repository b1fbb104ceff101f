// The shared-context scope: textures are made in the hidden shared context, and whatever context
// was current before comes back when the scope ends, also when an exception leaves it and when
// scopes nest.
#include <stdexcept>

#include "gl_fixture.h"
#include "graphics/image.h"
#include "graphics/shared_context.h"

namespace {

using SharedContext = GLTest;

bool SameContext(const PlatGLCurrent& a, const PlatGLCurrent& b) {
  return a.context == b.context && a.window == b.window;
}

void ThrowInsideScope() {
  SharedContextScope shared;
  if (!shared.Entered() || !plat_gl_shared_is_current()) return;  // no exception: the test fails
  throw std::runtime_error("made no texture");
}

TEST_F(SharedContext, AnExceptionLeavingTheScopePutsTheWindowsContextBack) {
  const PlatGLCurrent window = plat_gl_current();
  ASSERT_NE(window.context, nullptr);
  ASSERT_FALSE(plat_gl_shared_is_current());
  EXPECT_THROW(ThrowInsideScope(), std::runtime_error);
  EXPECT_FALSE(plat_gl_shared_is_current());
  EXPECT_TRUE(SameContext(plat_gl_current(), window));
  SetClsColor(0, 200, 0);
  Cls();
  EXPECT_RGB(Pixel(320, 240), 0, 200, 0);  // the window is drawn into again
}

TEST_F(SharedContext, AnInnerScopeLeavesTheSharedContextToTheOuterOne) {
  const PlatGLCurrent window = plat_gl_current();
  {
    SharedContextScope outer;
    ASSERT_TRUE(outer.Entered());
    EXPECT_THROW(ThrowInsideScope(), std::runtime_error);
    EXPECT_TRUE(plat_gl_shared_is_current());
  }
  EXPECT_TRUE(SameContext(plat_gl_current(), window));
}

TEST_F(SharedContext, ImagesMadeAndFreedInsideAScopeKeepItsContext) {
  const PlatGLCurrent window = plat_gl_current();
  Ref<TPixmap> pixmap = TPixmap::Create(8, 8, FORMAT_RGB888, 3);
  {
    SharedContextScope outer;
    Ref<TImage> image = TImage::Load(pixmap, 0, 0, 0, 0);
    ASSERT_TRUE(image);
    ASSERT_TRUE(image->Frame(0));
    EXPECT_TRUE(plat_gl_shared_is_current());
    image = nullptr;  // deletes its texture
    EXPECT_TRUE(plat_gl_shared_is_current());
  }
  EXPECT_TRUE(SameContext(plat_gl_current(), window));
}

TEST_F(SharedContext, WithoutAnyContextTheScopeEndsWithNone) {
  EndGraphicsMode();
  ASSERT_TRUE(plat_gl_restore_current(PlatGLCurrent{}));
  EXPECT_THROW(ThrowInsideScope(), std::runtime_error);
  EXPECT_EQ(plat_gl_current().context, nullptr);
}

}  // namespace
