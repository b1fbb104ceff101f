// The chain of font loaders: newest first, and a loader that goes away leaves it.
#include <gtest/gtest.h>

#include <string>

#include "graphics/font.h"

namespace {

class OneGlyphFont : public TFont {
 public:
  int Style() override { return 0; }
  int Height() override { return 10; }
  int CountGlyphs() override { return 1; }
  int CharToGlyph(int code) override { return code == 'A' ? 0 : -1; }
  Ref<TGlyph> LoadGlyph(int) override { return nullptr; }
};

// Answers with a font for one url only.
class NamedLoader : public TFontLoader {
 public:
  explicit NamedLoader(std::string url) : url_(std::move(url)) {}
  Ref<TFont> LoadFont(const std::string& url, int, int) override {
    ++asked;
    return url == url_ ? Ref<TFont>(New<OneGlyphFont>()) : nullptr;
  }
  int asked = 0;

 private:
  std::string url_;
};

TEST(FontLoaderChain, ALoaderThatGoesAwayIsNoLongerAsked) {
  Ref<NamedLoader> kept = New<NamedLoader>("kept.fnt");
  {
    Ref<NamedLoader> gone = New<NamedLoader>("gone.fnt");
    Ref<NamedLoader> newest = New<NamedLoader>("newest.fnt");
    EXPECT_TRUE(LoadFont("gone.fnt", 10, 0));
    EXPECT_EQ(newest->asked, 1);  // asked first
    EXPECT_EQ(kept->asked, 0);    // never reached
  }
  // Both went away in the middle and at the head of the chain; the older loader is still there.
  EXPECT_FALSE(LoadFont("gone.fnt", 10, 0));
  EXPECT_FALSE(LoadFont("newest.fnt", 10, 0));
  EXPECT_TRUE(LoadFont("kept.fnt", 10, 0));
  EXPECT_EQ(kept->asked, 3);
  Ref<TImageFont> font = TImageFont::Load("kept.fnt", 10, FONT_SMOOTH);
  ASSERT_TRUE(font);
  EXPECT_EQ(font->Height(), 10);
  EXPECT_EQ(font->_imageFlags, IMAGE_FILTERED | IMAGE_MIPMAPPED);
}

}  // namespace
