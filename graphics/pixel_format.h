// pixel_format.h - the six byte layouts of pixels in memory and the conversion between them.
//
// A packed colour is a 32-bit value 0xAARRGGBB. Every conversion goes through 8-bit RGBA (bytes
// R, G, B, A), which is also the layout textures and collision masks prefer.
#pragma once

#include <cstdint>

enum : int {
  FORMAT_I8 = 1,        // intensity
  FORMAT_A8 = 2,        // alpha
  FORMAT_BGR888 = 3,    // B, G, R
  FORMAT_RGB888 = 4,    // R, G, B
  FORMAT_BGRA8888 = 5,  // B, G, R, A
  FORMAT_RGBA8888 = 6,  // R, G, B, A
};

// Indexed by format; entry 0 (and any format outside 1..6) is 0, which marks it as unknown.
inline constexpr int kPixelFormatBytes[7] = {0, 1, 1, 3, 3, 4, 4};
inline constexpr int kPixelFormatAlphaBits[7] = {0, 0, 8, 0, 0, 8, 8};

constexpr bool IsPixelFormat(int format) {
  return format >= FORMAT_I8 && format <= FORMAT_RGBA8888;
}
constexpr int BytesPerPixel(int format) {
  return IsPixelFormat(format) ? kPixelFormatBytes[format] : 0;
}
constexpr int AlphaBits(int format) {
  return IsPixelFormat(format) ? kPixelFormatAlphaBits[format] : 0;
}

// Converts `count` pixels from `source` in `sourceFormat` to `destination` in `destinationFormat`.
// The runs must not overlap unless the formats are equal and the runs identical. Pixels that
// need an intermediate RGBA run go through a small buffer on the stack: nothing is allocated.
void ConvertPixels(const unsigned char* source, int sourceFormat, unsigned char* destination,
                   int destinationFormat, int count);

// One pixel as 0xAARRGGBB, and back.
std::uint32_t PackPixel(const unsigned char* pixel, int format);
void UnpackPixel(std::uint32_t argb, unsigned char* pixel, int format);
