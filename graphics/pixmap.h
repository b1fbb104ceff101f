// pixmap.h - TPixmap, a rectangle of pixels in main memory.
//
// Rows run top to bottom, `pitch` bytes apart, in one of the formats of pixel_format.h. A pixmap
// either owns its bytes (`capacity` is their count) or borrows them (`capacity` -1): a window into
// another pixmap keeps that parent alive through `_source`; memory wrapped with CreateStatic
// belongs to the caller, who keeps it alive.
//
//   Ref<TPixmap> p = TPixmap::Create(3, 2, FORMAT_RGB888, 4);   // pitch 12, capacity 24
//   p->WritePixel(0, 0, 0xFFFF0000);                             // red
//   Ref<TPixmap> top = p->Window(0, 0, 3, 1);                    // shares p's bytes
//
// Coordinates are not checked: callers keep them inside the pixmap.
#pragma once

#include <cstdint>
#include <memory>

#include "core/object.h"
#include "graphics/pixel_format.h"

class TPixmap : public TObject {
 public:
  unsigned char* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;
  int format = 0;
  int capacity = -1;
  Ref<TObject> _source;

  virtual unsigned char* PixelPtr(int x, int y);
  // A w x h pixmap over this one's bytes from (x, y), with the same pitch and format.
  virtual Ref<TPixmap> Window(int x, int y, int w, int h);
  virtual Ref<TPixmap> Copy();
  // Converts `source` row by row into this pixmap at (x, y); the rectangle must fit inside.
  virtual void Paste(const Ref<TPixmap>& source, int x, int y);
  virtual Ref<TPixmap> Convert(int format);
  virtual std::uint32_t ReadPixel(int x, int y);  // 0xAARRGGBB
  virtual void WritePixel(int x, int y, std::uint32_t argb);
  virtual void ClearPixels(std::uint32_t argb);

  // Rows are width x bytes per pixel rounded up to a multiple of `align` (callers pass 4). The
  // bytes start out zero, so a pixmap nobody drew into reads as transparent black.
  // Raises a runtime error for a negative size, an unknown format, or a pitch or byte count
  // beyond an int.
  static Ref<TPixmap> Create(int width, int height, int format, int align = 4);
  static Ref<TPixmap> CreateStatic(unsigned char* pixels, int width, int height, int pitch,
                                   int format);

  // Bytes in one row's pixels, without the padding up to `pitch`.
  int RowBytes() const { return width * BytesPerPixel(format); }

 private:
  std::unique_ptr<unsigned char[]> owned_;
};

inline Ref<TPixmap> NewPixmap(int width, int height, int format, int align = 4) {
  return TPixmap::Create(width, height, format, align);
}
