// font.h - bitmap fonts and text.
//
// The default font has 96 fixed-width 8 x 16 glyphs for the codes 32 to 127, built on first use
// from the embedded file "vantorfont.bin": 16 rows of 96 bytes, byte g of row r holding row r of
// glyph g, bit n (value 1 << n) the pixel in column n from the left. Each glyph becomes a small
// image, so text is coloured, blended, rotated and scaled like any other drawing, and laid out
// along the current transform. The glyphs' frames are made together, in one texture where the
// driver can (MakeFramesTogether): a line of text then draws without a texture switch, which a
// software renderer pays for dearly. Characters the font has no glyph for are skipped, in drawing
// and in measuring.
//
//   PaintText("Score", 8, 8);
//   int w = MeasureTextWidth("Score");   // 40: 8 pixels a character, whatever the scale
#pragma once

#include <string>
#include <vector>

#include "graphics/image.h"

enum { FONT_SMOOTH = 4 };

class TGlyph : public TObject {
 public:
  virtual Ref<TObject> Pixels() = 0;  // a pixmap or an image, or null
  virtual float Advance() = 0;
  virtual void GetRect(int& x, int& y, int& w, int& h) = 0;
};

// A source of glyphs, as a font loader reads them.
class TFont : public TObject {
 public:
  virtual int Style() = 0;
  virtual int Height() = 0;
  virtual int CountGlyphs() = 0;
  virtual int CharToGlyph(int code) = 0;  // -1 when the font has none
  virtual Ref<TGlyph> LoadGlyph(int index) = 0;
};

class TFontLoader : public TObject {
 public:
  TFontLoader();            // joins the chain of loaders, asked newest first
  ~TFontLoader() override;  // leaves it
  virtual Ref<TFont> LoadFont(const std::string& url, int size, int style) = 0;
  TFontLoader* _succ = nullptr;
};
// The first font a loader makes of `url`; null when none does (no loader is registered).
Ref<TFont> LoadFont(const std::string& url, int size, int style);

// A glyph ready to draw.
class TImageGlyph : public TGlyph {
 public:
  Ref<TObject> Pixels() override { return _image; }
  float Advance() override { return _advance; }
  void GetRect(int& x, int& y, int& w, int& h) override {
    x = _x;
    y = _y;
    w = _w;
    h = _h;
  }

  Ref<TImage> _image;
  float _advance = 0;
  int _x = 0, _y = 0, _w = 0, _h = 0;
};

class TImageFont : public TObject {
 public:
  Ref<TFont> _src_font;  // null for the default font
  std::vector<Ref<TImageGlyph>> _glyphs;
  int _imageFlags = 0;

  virtual int Style();
  virtual int Height();
  virtual int CountGlyphs();
  virtual int CharToGlyph(int code);
  virtual Ref<TImageGlyph> LoadGlyph(int index);
  // Draws `text` with the pen at (x, y), glyph axes (ix, jx) across and (iy, jy) down.
  virtual void Draw(const std::string& text, float x, float y, float ix, float iy, float jx,
                    float jy);

  static Ref<TImageFont> Load(const std::string& url, int size, int style);
  // The default font, from the embedded "vantorfont.bin".
  static Ref<TImageFont> CreateDefault();
  // A font of 96 glyphs from 1536 bytes laid out as "vantorfont.bin" is.
  static Ref<TImageFont> CreateFromBitmap(const std::vector<unsigned char>& bits);

  // Loads every glyph and makes their images' driver frames together (MakeFramesTogether), so
  // that a line of text draws from one texture. Needs a current context; main thread only.
  void MakeGlyphFrames();
  int _frames_generation = 0;  // the graphics generation MakeGlyphFrames last ran in
};

// The default font, made once.
Ref<TImageFont> DefaultImageFont();
// Loads every glyph of `font` and makes the driver frames of their images now, together, so that
// text drawn later (a screen's first frame) neither waits for them nor switches texture at every
// glyph. Needs a current context.
void PrepareImageFont(const Ref<TImageFont>& font);

// Text commands on the current 2D context. Null selects the default font.
void UseImageFont(const Ref<TImageFont>& font);
Ref<TImageFont> CurrentImageFont();
Ref<TImageFont> ImportImageFont(const std::string& url, int size, int style = 0);
void PaintText(const std::string& text, float x, float y);
int MeasureTextWidth(const std::string& text);
int MeasureTextHeight(const std::string& text);
