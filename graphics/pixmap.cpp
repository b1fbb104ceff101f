// pixmap.cpp - owned and borrowed pixel rectangles and their row-wise copies and conversions.
#include "graphics/pixmap.h"

#include <cstring>
#include <limits>

#include "core/error.h"

Ref<TPixmap> TPixmap::Create(int width, int height, int format, int align) {
  if (!IsPixelFormat(format)) RuntimeError("Unknown pixel format");
  if (width < 0 || height < 0) RuntimeError("Pixmap size is negative");
  if (align < 1) align = 1;
  const std::int64_t row = std::int64_t{width} * BytesPerPixel(format);
  const std::int64_t pitch = (row + align - 1) / align * align;
  const std::int64_t size = pitch * height;
  // Both go into ints; with no rows the size alone would admit any width.
  if (pitch > std::numeric_limits<int>::max() || size > std::numeric_limits<int>::max()) {
    RuntimeError("Pixmap is too large");
  }
  Ref<TPixmap> p = New<TPixmap>();
  p->owned_.reset(new unsigned char[static_cast<std::size_t>(size)]());
  p->pixels = p->owned_.get();
  p->width = width;
  p->height = height;
  p->pitch = static_cast<int>(pitch);
  p->format = format;
  p->capacity = static_cast<int>(size);
  return p;
}

Ref<TPixmap> TPixmap::CreateStatic(unsigned char* pixels, int width, int height, int pitch,
                                   int format) {
  Ref<TPixmap> p = New<TPixmap>();
  p->pixels = pixels;
  p->width = width;
  p->height = height;
  p->pitch = pitch;
  p->format = format;
  p->capacity = -1;
  return p;
}

unsigned char* TPixmap::PixelPtr(int x, int y) {
  return pixels + std::ptrdiff_t{y} * pitch + std::ptrdiff_t{x} * BytesPerPixel(format);
}

Ref<TPixmap> TPixmap::Window(int x, int y, int w, int h) {
  Ref<TPixmap> p = CreateStatic(PixelPtr(x, y), w, h, pitch, format);
  p->_source = Ref<TObject>(this);
  return p;
}

Ref<TPixmap> TPixmap::Copy() {
  Ref<TPixmap> p = Create(width, height, format, 4);
  for (int y = 0; y < height; ++y) std::memcpy(p->PixelPtr(0, y), PixelPtr(0, y), RowBytes());
  return p;
}

void TPixmap::Paste(const Ref<TPixmap>& source, int x, int y) {
  for (int i = 0; i < source->height; ++i) {
    ConvertPixels(source->PixelPtr(0, i), source->format, PixelPtr(x, y + i), format,
                  source->width);
  }
}

Ref<TPixmap> TPixmap::Convert(int newFormat) {
  Ref<TPixmap> p = Create(width, height, newFormat, 4);
  for (int y = 0; y < height; ++y) {
    ConvertPixels(PixelPtr(0, y), format, p->PixelPtr(0, y), newFormat, width);
  }
  return p;
}

std::uint32_t TPixmap::ReadPixel(int x, int y) { return PackPixel(PixelPtr(x, y), format); }

void TPixmap::WritePixel(int x, int y, std::uint32_t argb) {
  UnpackPixel(argb, PixelPtr(x, y), format);
}

void TPixmap::ClearPixels(std::uint32_t argb) {
  const int rowBytes = RowBytes();
  if (argb == 0) {
    if (pitch == rowBytes) {
      std::memset(pixels, 0, static_cast<std::size_t>(rowBytes) * height);
    } else {
      for (int y = 0; y < height; ++y) std::memset(PixelPtr(0, y), 0, rowBytes);
    }
    return;
  }
  unsigned char pixel[4];
  UnpackPixel(argb, pixel, format);
  const int bytes = BytesPerPixel(format);
  for (int y = 0; y < height; ++y) {
    unsigned char* p = PixelPtr(0, y);
    for (int x = 0; x < width; ++x, p += bytes) std::memcpy(p, pixel, bytes);
  }
}
