// png_encode.h - writes PNG files in memory with libpng, in any colour type and bit depth, so that
// tests and the fuzz target make their own fixtures.
#pragma once

#include <png.h>

#include <csetjmp>
#include <vector>

struct PngPicture {
  int width = 0;
  int height = 0;
  int colorType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<unsigned char> rows;          // height rows of packed samples, as libpng takes them
  std::vector<png_color> palette;           // palette images
  std::vector<unsigned char> paletteAlpha;  // tRNS for palette images
  bool transparentColor = false;            // tRNS for grey and RGB images
  png_color_16 transparent{};

  int RowBytes() const {
    int channels = colorType == PNG_COLOR_TYPE_RGB          ? 3
                   : colorType == PNG_COLOR_TYPE_RGB_ALPHA  ? 4
                   : colorType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                            : 1;
    return (width * channels * bitDepth + 7) / 8;
  }
};

namespace png_encode_detail {

inline void Append(png_structp png, png_bytep data, std::size_t length) {
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

inline void Flush(png_structp) {}
inline void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
inline void OnWarning(png_structp, png_const_charp) {}

// Plain data only between setjmp and libpng's longjmp.
inline bool Write(png_structp png, png_infop info, const PngPicture* p, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, p->width, p->height, p->bitDepth, p->colorType,
               p->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!p->palette.empty()) {
    png_set_PLTE(png, info, p->palette.data(), static_cast<int>(p->palette.size()));
  }
  if (!p->paletteAlpha.empty()) {
    png_set_tRNS(png, info, p->paletteAlpha.data(), static_cast<int>(p->paletteAlpha.size()),
                 nullptr);
  } else if (p->transparentColor) {
    png_set_tRNS(png, info, nullptr, 0, &p->transparent);
  }
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  return true;
}

}  // namespace png_encode_detail

// The PNG file of `picture`; empty if libpng refused it.
inline std::vector<unsigned char> EncodePng(const PngPicture& picture) {
  std::vector<unsigned char> out;
  png_structp png = png_create_write_struct(
      PNG_LIBPNG_VER_STRING, nullptr, png_encode_detail::OnError, png_encode_detail::OnWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return out;
  }
  std::vector<png_bytep> rows(static_cast<std::size_t>(picture.height));
  std::vector<unsigned char> pixels = picture.rows;
  pixels.resize(static_cast<std::size_t>(picture.RowBytes()) * picture.height);
  for (int y = 0; y < picture.height; ++y)
    rows[y] = pixels.data() + std::size_t(y) * picture.RowBytes();
  png_set_write_fn(png, &out, png_encode_detail::Append, png_encode_detail::Flush);
  if (!png_encode_detail::Write(png, info, &picture, rows.data())) out.clear();
  png_destroy_write_struct(&png, &info);
  return out;
}
