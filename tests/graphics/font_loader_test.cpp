// Fonts from a font loader: glyphs made into images on first use, placed by their rectangle and
// advance, characters without a glyph skipped, smooth fonts filtered.
#include <map>

#include "gl_fixture.h"
#include "graphics/font.h"
#include "graphics/image.h"

namespace {

// A glyph of a solid w x h block (or no pixels when w is 0) at (x, y) from the pen.
class BlockGlyph : public TGlyph {
 public:
  BlockGlyph(int x, int y, int w, int h, float advance)
      : x_(x), y_(y), w_(w), h_(h), adv_(advance) {}
  Ref<TObject> Pixels() override {
    if (w_ == 0) return nullptr;
    Ref<TPixmap> p = TPixmap::Create(w_, h_, FORMAT_RGBA8888, 4);
    for (int y = 0; y < h_; ++y) {
      for (int x = 0; x < w_; ++x) p->WritePixel(x, y, 0xffffffffu);
    }
    return p;
  }
  float Advance() override { return adv_; }
  void GetRect(int& x, int& y, int& w, int& h) override {
    x = x_;
    y = y_;
    w = w_;
    h = h_;
  }
  int x_, y_, w_, h_;
  float adv_;
};

// "A" is a 4 x 6 block 1 right of and 2 below the pen, advancing 10; " " has no pixels and
// advances 5; "?" maps to a glyph the font cannot load; other characters have no glyph.
class BlockFont : public TFont {
 public:
  explicit BlockFont(int style) : style_(style) {}
  int Style() override { return style_; }
  int Height() override { return 12; }
  int CountGlyphs() override { return 3; }
  int CharToGlyph(int code) override {
    return code == 'A' ? 0 : code == ' ' ? 1 : code == '?' ? 2 : -1;
  }
  Ref<TGlyph> LoadGlyph(int index) override {
    ++loads[index];
    if (index == 0) return New<BlockGlyph>(1, 2, 4, 6, 10.0f);
    if (index == 1) return New<BlockGlyph>(0, 0, 0, 0, 5.0f);
    return nullptr;
  }
  int style_;
  std::map<int, int> loads;
};

class BlockFontLoader : public TFontLoader {
 public:
  Ref<TFont> LoadFont(const std::string& url, int, int style) override {
    if (url != "blocks") return nullptr;
    last = New<BlockFont>(style);
    return last;
  }
  Ref<BlockFont> last;
};

// Loaders stay in the chain for the program's life.
BlockFontLoader& Loader() {
  static BlockFontLoader* loader = [] {
    auto* l = new BlockFontLoader;
    l->Retain();
    return l;
  }();
  return *loader;
}

// Every test case runs in a process of its own: each makes sure the loader is in the chain.
class FontLoader : public GLTest {
 protected:
  void SetUp() override {
    Loader();
    GLTest::SetUp();
  }
};

TEST_F(FontLoader, OnlyAFontSomeLoaderKnowsLoads) {
  EXPECT_EQ(ImportImageFont("no-such-font", 12), nullptr);
  EXPECT_EQ(LoadFont("no-such-font", 12, 0), nullptr);
  Ref<TImageFont> font = ImportImageFont("blocks", 12);
  ASSERT_TRUE(font);
  EXPECT_EQ(font->Height(), 12);
  EXPECT_EQ(font->CountGlyphs(), 3);
  EXPECT_EQ(font->Style(), 0);
  EXPECT_EQ(font->_imageFlags, 0);
  Ref<TImageFont> smooth = ImportImageFont("blocks", 12, FONT_SMOOTH);
  ASSERT_TRUE(smooth);
  EXPECT_EQ(smooth->Style(), FONT_SMOOTH);
  EXPECT_EQ(smooth->_imageFlags, IMAGE_FILTERED | IMAGE_MIPMAPPED);
}

TEST_F(FontLoader, GlyphsAreLoadedOnceAndPlacedByTheirRectangleAndAdvance) {
  Ref<TImageFont> font = ImportImageFont("blocks", 12);
  ASSERT_TRUE(font);
  Ref<BlockFont> source = Loader().last;
  UseImageFont(font);
  EXPECT_EQ(CurrentImageFont(), font);
  EXPECT_EQ(MeasureTextHeight("A"), 12);
  EXPECT_EQ(MeasureTextWidth("A A"), 25);
  EXPECT_EQ(MeasureTextWidth("AxA"), 20);  // no glyph for "x": skipped
  EXPECT_EQ(MeasureTextWidth("?A"), 10);   // an unloadable glyph has no size
  EXPECT_EQ(font->LoadGlyph(-1), nullptr);
  EXPECT_EQ(font->LoadGlyph(3), nullptr);

  SetBlend(BLEND_SOLID);
  PaintText("A A", 100, 100);
  EXPECT_RGB(Pixel(101, 102), 255, 255, 255);  // the first block's corners
  EXPECT_RGB(Pixel(104, 107), 255, 255, 255);
  EXPECT_RGB(Pixel(100, 102), 0, 0, 0);
  EXPECT_RGB(Pixel(105, 102), 0, 0, 0);
  EXPECT_RGB(Pixel(101, 101), 0, 0, 0);
  EXPECT_RGB(Pixel(101, 108), 0, 0, 0);
  EXPECT_RGB(Pixel(116, 102), 255, 255, 255);  // the second after 10 + 5
  EXPECT_RGB(Pixel(115, 102), 0, 0, 0);
  EXPECT_EQ(source->loads[0], 1);  // made once, however often it is used
  EXPECT_EQ(source->loads[1], 1);
  EXPECT_EQ(source->loads[2], 1);

  UseImageFont(nullptr);  // back to the default font
  EXPECT_EQ(CurrentImageFont(), DefaultImageFont());
}

TEST_F(FontLoader, SmoothFontsDrawFilteredGlyphs) {
  Ref<TImageFont> font = ImportImageFont("blocks", 12, FONT_SMOOTH);
  ASSERT_TRUE(font);
  UseImageFont(font);
  SetBlend(BLEND_SOLID);
  PaintText("A", 50, 50);
  EXPECT_RGB(Pixel(52, 54), 255, 255, 255);  // the inside of the block is solid either way
  EXPECT_RGB(Pixel(60, 70), 0, 0, 0);
}

}  // namespace
