// font_bitmap.h - the default 8x16 bitmap font: 96 glyphs for the codes 32 to 127.
//
// The glyphs are drawn as text in font_bitmap.cpp. Capitals and digits stand on rows 2 to 10
// (row 10 is the baseline), lower case starts at row 5, descenders and brackets reach row 12;
// rows 0, 1 and 13 to 15 stay blank.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr int kFontFirstCode = 32;
constexpr int kFontGlyphs = 96;
constexpr int kFontRows = 16;
constexpr std::size_t kFontBytes = kFontGlyphs * kFontRows;  // 1536

// The font file: byte 96 * r + g is row r of glyph g (code 32 + g); bit n is column n, bit 0
// the leftmost, and a set bit is an opaque pixel.
std::array<std::uint8_t, kFontBytes> BuildFontBitmap();

// True when column `x` of row `y` of the glyph for `code` is set; codes outside 32 to 127 are
// blank.
bool FontPixel(char code, int x, int y);

void WriteFontFile(const std::string& path);
