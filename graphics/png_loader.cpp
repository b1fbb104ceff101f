// png_loader.cpp - PNG decoding over libpng, with libpng's errors caught by setjmp.
//
// libpng reports errors by longjmp to the last setjmp. A longjmp must not skip the destructor of
// a C++ object, so the two functions that call setjmp (ReadHeader, ReadPixels) hold only plain
// data, and everything with a destructor (the pixmap, the row table, a captured exception) lives
// in LoadPixmap's frame, which no longjmp crosses. For the same reason the read callback never
// lets a C++ exception travel through libpng's C frames: it parks the exception and raises a
// libpng error instead; LoadPixmap rethrows it once libpng is released.
#include "graphics/png_loader.h"

#include <png.h>

#include <csetjmp>
#include <exception>
#include <vector>

namespace {

const unsigned char kSignatureLength = 8;

struct ReadSource {
  TStream* stream;
  std::exception_ptr error;  // a failure of the stream, rethrown after libpng is released
};

// Reads exactly `length` bytes or fails: a short file must end decoding, not be padded.
bool ReadExactly(TStream& stream, unsigned char* data, std::size_t length) {
  while (length > 0) {
    std::int64_t n = stream.Read(data, static_cast<std::int64_t>(length));
    if (n <= 0) return false;
    data += n;
    length -= static_cast<std::size_t>(n);
  }
  return true;
}

void ReadFromStream(png_structp png, png_bytep data, std::size_t length) {
  auto* source = static_cast<ReadSource*>(png_get_io_ptr(png));
  bool ok = false;
  try {
    ok = ReadExactly(*source->stream, data, length);
  } catch (...) {
    source->error = std::current_exception();
  }
  if (!ok) png_error(png, "read failed");  // after the catch: no exception is in flight
}

void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

// Owns libpng's read and info structures.
struct PngReader {
  png_structp png = nullptr;
  png_infop info = nullptr;
  PngReader() {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (png) info = png_create_info_struct(png);
  }
  ~PngReader() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
};

struct Header {
  png_uint_32 width;
  png_uint_32 height;
  int channels;  // after the transforms: 1 grey, 3 RGB, 4 RGBA
};

// Reads the chunks up to the pixels and sets the transforms. Plain data only (see above).
bool ReadHeader(png_structp png, png_infop info, Header* header) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_sig_bytes(png, kSignatureLength);
  png_set_user_limits(png, TPixmapLoaderPNG::kMaxPngSide, TPixmapLoaderPNG::kMaxPngSide);
  png_read_info(png, info);
  header->width = png_get_image_width(png, info);
  header->height = png_get_image_height(png, info);
  if (static_cast<unsigned long long>(header->width) * header->height >
      TPixmapLoaderPNG::kMaxPngPixels) {
    return false;
  }
  png_set_strip_16(png);
  png_set_expand(png);
  png_byte type = png_get_color_type(png, info);
  if (!(type & PNG_COLOR_MASK_COLOR) &&
      ((type & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS))) {
    png_set_gray_to_rgb(png);  // grey with alpha is stored as RGBA with R = G = B = grey
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_bit_depth(png, info) != 8) return false;
  header->channels = png_get_channels(png, info);
  return true;
}

bool ReadPixels(png_structp png, png_infop info, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, info);
  return true;
}

int FormatForChannels(int channels) {
  switch (channels) {
    case 1:
      return FORMAT_I8;
    case 3:
      return FORMAT_RGB888;
    case 4:
      return FORMAT_RGBA8888;
    default:
      return 0;
  }
}

}  // namespace

Ref<TPixmap> TPixmapLoaderPNG::LoadPixmap(TStream& stream) {
  unsigned char signature[kSignatureLength] = {};
  stream.ReadBytes(signature, kSignatureLength);
  if (png_sig_cmp(signature, 0, kSignatureLength) != 0) return nullptr;

  PngReader reader;
  if (!reader.png || !reader.info) return nullptr;
  ReadSource source{&stream, nullptr};
  png_set_read_fn(reader.png, &source, ReadFromStream);

  Header header{};
  Ref<TPixmap> pixmap;
  if (ReadHeader(reader.png, reader.info, &header)) {
    if (int format = FormatForChannels(header.channels)) {
      pixmap = TPixmap::Create(static_cast<int>(header.width), static_cast<int>(header.height),
                               format, 4);
      std::vector<png_bytep> rows(header.height);
      for (png_uint_32 y = 0; y < header.height; ++y)
        rows[y] = pixmap->PixelPtr(0, static_cast<int>(y));
      if (!ReadPixels(reader.png, reader.info, rows.data())) pixmap.reset();
    }
  }
  if (source.error) std::rethrow_exception(source.error);
  return pixmap;
}
