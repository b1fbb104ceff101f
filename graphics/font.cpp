// font.cpp - the default font, glyph images and text layout.
#include "graphics/font.h"

#include <cstdio>

#include "core/stream_factory.h"
#include "graphics/draw2d.h"

namespace {

constexpr int kGlyphCount = 96;
constexpr int kFirstCode = 32;
constexpr int kFontBytes = kGlyphCount * 16;

TFontLoader* loaders = nullptr;

// The 1536 bytes of the embedded font; zeros (blank glyphs) when it is missing or short.
std::vector<unsigned char> FontBitmap() {
  std::vector<unsigned char> bytes(kFontBytes, 0);
  Ref<TStream> s = ReadFile("incbin::vantorfont.bin");
  if (!s) {
    std::fprintf(stderr, "The default font vantorfont.bin is missing: text will not show\n");
    return bytes;
  }
  s->ReadBytes(bytes.data(), kFontBytes);
  CloseStream(s);
  return bytes;
}

}  // namespace

TFontLoader::TFontLoader() {
  _succ = loaders;
  loaders = this;
}

TFontLoader::~TFontLoader() {
  for (TFontLoader** p = &loaders; *p; p = &(*p)->_succ) {
    if (*p == this) {
      *p = _succ;
      break;
    }
  }
}

Ref<TFont> LoadFont(const std::string& url, int size, int style) {
  for (TFontLoader* l = loaders; l; l = l->_succ) {
    if (Ref<TFont> f = l->LoadFont(url, size, style)) return f;
  }
  return nullptr;
}

int TImageFont::Style() { return _src_font ? _src_font->Style() : 0; }
int TImageFont::Height() { return _src_font ? _src_font->Height() : 16; }
int TImageFont::CountGlyphs() { return static_cast<int>(_glyphs.size()); }

int TImageFont::CharToGlyph(int code) {
  if (_src_font) return _src_font->CharToGlyph(code);
  return code < kFirstCode || code >= kFirstCode + kGlyphCount ? -1 : code - kFirstCode;
}

Ref<TImageGlyph> TImageFont::LoadGlyph(int index) {
  if (index < 0 || index >= CountGlyphs()) return nullptr;
  if (_glyphs[index] || !_src_font) return _glyphs[index];
  Ref<TGlyph> src = _src_font->LoadGlyph(index);
  Ref<TImageGlyph> glyph = New<TImageGlyph>();
  if (src) {
    glyph->_advance = src->Advance();
    src->GetRect(glyph->_x, glyph->_y, glyph->_w, glyph->_h);
    if (Ref<TPixmap> p = Cast<TPixmap>(src->Pixels())) {
      glyph->_image = TImage::Load(p->Copy(), _imageFlags, 0, 0, 0);
    }
  }
  _glyphs[index] = glyph;
  return glyph;
}

void PrepareImageFont(const Ref<TImageFont>& font) {
  if (font) font->MakeGlyphFrames();
}

void TImageFont::MakeGlyphFrames() {
  std::vector<Ref<TImage>> images;
  images.reserve(_glyphs.size());
  for (int i = 0; i < CountGlyphs(); ++i) {
    Ref<TImageGlyph> glyph = LoadGlyph(i);
    if (glyph && glyph->_image) images.push_back(glyph->_image);
  }
  MakeFramesTogether(images);
  _frames_generation = ImageFrameGeneration();
}

void TImageFont::Draw(const std::string& text, float x, float y, float ix, float iy, float jx,
                      float jy) {
  // A font with all its glyphs at hand keeps their frames in one texture (see MakeGlyphFrames);
  // a loaded font makes each glyph as it is first drawn, as it may have thousands.
  if (!_src_font && _frames_generation != ImageFrameGeneration()) MakeGlyphFrames();
  TRar2ADriver* driver = Current2DDriver();
  if (!driver) return;
  for (unsigned char c : text) {
    int n = CharToGlyph(c);
    if (n < 0) continue;
    Ref<TImageGlyph> glyph = LoadGlyph(n);
    if (!glyph) continue;
    if (glyph->_image) {
      if (Ref<TImageFrame> frame = glyph->_image->Frame(0)) {
        driver->DrawFrame(frame, 0, 0, static_cast<float>(glyph->_image->width),
                          static_cast<float>(glyph->_image->height),
                          x + glyph->_x * ix + glyph->_y * iy, y + glyph->_x * jx + glyph->_y * jy);
      }
    }
    x += glyph->_advance * ix;
    y += glyph->_advance * jx;
  }
}

Ref<TImageFont> TImageFont::Load(const std::string& url, int size, int style) {
  Ref<TFont> src = LoadFont(url, size, style);
  if (!src) return nullptr;
  Ref<TImageFont> font = New<TImageFont>();
  font->_src_font = src;
  font->_glyphs.resize(static_cast<std::size_t>(src->CountGlyphs()));
  font->_imageFlags = (style & FONT_SMOOTH) ? (IMAGE_FILTERED | IMAGE_MIPMAPPED) : 0;
  return font;
}

Ref<TImageFont> TImageFont::CreateDefault() { return CreateFromBitmap(FontBitmap()); }

Ref<TImageFont> TImageFont::CreateFromBitmap(const std::vector<unsigned char>& bits) {
  Ref<TImageFont> font = New<TImageFont>();
  font->_glyphs.resize(kGlyphCount);
  if (bits.size() < kFontBytes) return font;
  Ref<TPixmap> sheet = TPixmap::Create(8 * kGlyphCount, 16, FORMAT_RGBA8888, 4);
  for (int r = 0; r < 16; ++r) {
    for (int g = 0; g < kGlyphCount; ++g) {
      unsigned char b = bits[kGlyphCount * r + g];
      for (int n = 0; n < 8; ++n) {
        sheet->WritePixel(8 * g + n, r, (b >> n) & 1 ? 0xFFFFFFFFu : 0u);
      }
    }
  }
  for (int g = 0; g < kGlyphCount; ++g) {
    Ref<TImageGlyph> glyph = New<TImageGlyph>();
    glyph->_advance = 8;
    glyph->_w = 8;
    glyph->_h = 16;
    glyph->_image = TImage::Load(sheet->Window(8 * g, 0, 8, 16)->Copy(), 0, 0, 0, 0);
    font->_glyphs[g] = glyph;
  }
  return font;
}

Ref<TImageFont> DefaultImageFont() {
  static Ref<TImageFont> font = TImageFont::CreateDefault();
  return font;
}

void UseImageFont(const Ref<TImageFont>& font) {
  if (TRar2AGraphics* g = TRar2AGraphics::Current())
    g->image_font = font ? font : DefaultImageFont();
}

Ref<TImageFont> CurrentImageFont() {
  TRar2AGraphics* g = TRar2AGraphics::Current();
  return g ? g->image_font : DefaultImageFont();
}

Ref<TImageFont> ImportImageFont(const std::string& url, int size, int style) {
  return TImageFont::Load(url, size, style);
}

void PaintText(const std::string& text, float x, float y) {
  TRar2AGraphics* g = TRar2AGraphics::Current();
  if (!g || !g->image_font) return;
  const TTransformState& t = g->tform;
  float px = x + t.origin_x + t.handle_x * t.tform_ix + t.handle_y * t.tform_iy;
  float py = y + t.origin_y + t.handle_x * t.tform_jx + t.handle_y * t.tform_jy;
  g->image_font->Draw(text, px, py, t.tform_ix, t.tform_iy, t.tform_jx, t.tform_jy);
}

int MeasureTextWidth(const std::string& text) {
  Ref<TImageFont> font = CurrentImageFont();
  int width = 0;
  for (unsigned char c : text) {
    int n = font->CharToGlyph(c);
    if (n < 0) continue;
    Ref<TImageGlyph> glyph = font->LoadGlyph(n);
    if (glyph) width = static_cast<int>(width + glyph->Advance());
  }
  return width;
}

int MeasureTextHeight(const std::string&) { return CurrentImageFont()->Height(); }
