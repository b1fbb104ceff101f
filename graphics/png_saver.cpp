// png_saver.cpp - PNG encoding over libpng. As in the loader, libpng's errors longjmp to a setjmp
// in a function that holds no C++ objects, and stream failures are parked, not thrown through C.
#include "graphics/png_saver.h"

#include <png.h>

#include <csetjmp>
#include <exception>
#include <vector>

#include "core/stream_factory.h"

namespace {

struct WriteTarget {
  TStream* stream;
  bool failed;
};

void WriteToStream(png_structp png, png_bytep data, std::size_t length) {
  auto* target = static_cast<WriteTarget*>(png_get_io_ptr(png));
  try {
    target->stream->WriteBytes(data, static_cast<std::int64_t>(length));
  } catch (...) {
    target->failed = true;
  }
  if (target->failed) png_error(png, "write failed");
}

void FlushStream(png_structp png) {
  static_cast<WriteTarget*>(png_get_io_ptr(png))->stream->Flush();
}

void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

// Holds no C++ objects: libpng may longjmp out of any call below.
bool Encode(png_structp png, png_infop info, WriteTarget* target, int width, int height, bool alpha,
            png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, target, WriteToStream, FlushStream);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

bool SavePixmapPNG(const Ref<TPixmap>& pixmap, const Ref<TStream>& stream) {
  if (!pixmap || !stream || pixmap->width <= 0 || pixmap->height <= 0) return false;
  bool alpha = AlphaBits(pixmap->format) > 0 && pixmap->format != FORMAT_A8;
  Ref<TPixmap> pixels = pixmap->Convert(alpha ? FORMAT_RGBA8888 : FORMAT_RGB888);
  std::vector<png_bytep> rows(static_cast<std::size_t>(pixels->height));
  for (int y = 0; y < pixels->height; ++y) rows[y] = pixels->PixelPtr(0, y);

  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  WriteTarget target{stream.get(), false};
  bool ok = info && Encode(png, info, &target, pixels->width, pixels->height, alpha, rows.data());
  png_destroy_write_struct(&png, info ? &info : nullptr);
  return ok;
}

bool SavePixmapPNG(const Ref<TPixmap>& pixmap, const std::string& url) {
  Ref<TStream> stream = WriteFile(url);
  if (!stream) return false;
  bool ok = SavePixmapPNG(pixmap, stream);
  CloseStream(stream);
  return ok;
}
