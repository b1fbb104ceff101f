// pixel_format.cpp - pixel conversion through 8-bit RGBA runs.
#include "graphics/pixel_format.h"

#include <cstring>

namespace {

void ExpandToRgba(const unsigned char* s, int format, unsigned char* d, int count) {
  switch (format) {
    case FORMAT_I8:
      for (int i = 0; i < count; ++i, s += 1, d += 4) d[0] = d[1] = d[2] = s[0], d[3] = 255;
      break;
    case FORMAT_A8:
      for (int i = 0; i < count; ++i, s += 1, d += 4) d[0] = d[1] = d[2] = 255, d[3] = s[0];
      break;
    case FORMAT_BGR888:
      for (int i = 0; i < count; ++i, s += 3, d += 4)
        d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = 255;
      break;
    case FORMAT_RGB888:
      for (int i = 0; i < count; ++i, s += 3, d += 4)
        d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = 255;
      break;
    case FORMAT_BGRA8888:
      for (int i = 0; i < count; ++i, s += 4, d += 4)
        d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = s[3];
      break;
    case FORMAT_RGBA8888:
      std::memcpy(d, s, static_cast<std::size_t>(count) * 4);
      break;
    default:
      std::memset(d, 0, static_cast<std::size_t>(count) * 4);
      break;
  }
}

void PackFromRgba(const unsigned char* s, unsigned char* d, int format, int count) {
  switch (format) {
    case FORMAT_I8:
      for (int i = 0; i < count; ++i, s += 4, d += 1) {
        d[0] = static_cast<unsigned char>((s[0] + s[1] + s[2]) / 3);
      }
      break;
    case FORMAT_A8:
      for (int i = 0; i < count; ++i, s += 4, d += 1) d[0] = s[3];
      break;
    case FORMAT_BGR888:
      for (int i = 0; i < count; ++i, s += 4, d += 3) d[0] = s[2], d[1] = s[1], d[2] = s[0];
      break;
    case FORMAT_RGB888:
      for (int i = 0; i < count; ++i, s += 4, d += 3) d[0] = s[0], d[1] = s[1], d[2] = s[2];
      break;
    case FORMAT_BGRA8888:
      for (int i = 0; i < count; ++i, s += 4, d += 4)
        d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = s[3];
      break;
    case FORMAT_RGBA8888:
      std::memcpy(d, s, static_cast<std::size_t>(count) * 4);
      break;
    default:
      break;
  }
}

}  // namespace

void ConvertPixels(const unsigned char* source, int sourceFormat, unsigned char* destination,
                   int destinationFormat, int count) {
  if (count <= 0) return;
  if (sourceFormat == destinationFormat) {
    if (source != destination) {
      std::memmove(destination, source,
                   static_cast<std::size_t>(count) * BytesPerPixel(sourceFormat));
    }
    return;
  }
  if (sourceFormat == FORMAT_RGBA8888)
    return PackFromRgba(source, destination, destinationFormat, count);
  if (destinationFormat == FORMAT_RGBA8888)
    return ExpandToRgba(source, sourceFormat, destination, count);
  // Any other pair goes through RGBA in chunks, so that a long row needs no heap buffer.
  constexpr int kChunk = 256;
  unsigned char rgba[kChunk * 4];
  const int sourceBytes = BytesPerPixel(sourceFormat);
  const int destinationBytes = BytesPerPixel(destinationFormat);
  for (int done = 0; done < count; done += kChunk) {
    int n = count - done < kChunk ? count - done : kChunk;
    ExpandToRgba(source + done * sourceBytes, sourceFormat, rgba, n);
    PackFromRgba(rgba, destination + done * destinationBytes, destinationFormat, n);
  }
}

std::uint32_t PackPixel(const unsigned char* pixel, int format) {
  unsigned char c[4];
  ExpandToRgba(pixel, format, c, 1);
  return (std::uint32_t{c[3]} << 24) | (std::uint32_t{c[0]} << 16) | (std::uint32_t{c[1]} << 8) |
         c[2];
}

void UnpackPixel(std::uint32_t argb, unsigned char* pixel, int format) {
  const unsigned char c[4] = {
      static_cast<unsigned char>(argb >> 16), static_cast<unsigned char>(argb >> 8),
      static_cast<unsigned char>(argb), static_cast<unsigned char>(argb >> 24)};
  PackFromRgba(c, pixel, format, 1);
}
