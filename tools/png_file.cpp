// png_file.cpp - libpng behind two calls; libpng's errors come back as exceptions.
#include "tools/png_file.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
  // libpng cannot return after an error: the message goes to the caller's frame, which jumps
  // back to its setjmp, releases libpng's structures and throws.
  auto* what = static_cast<std::string*>(png_get_error_ptr(png));
  *what = message;
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

}  // namespace

void WritePng(const std::string& path, const RgbImage& image,
              const std::vector<std::uint8_t>& alpha) {
  if (image.rgb.size() != static_cast<std::size_t>(image.width) * image.height * 3) {
    throw std::runtime_error(path + ": pixel buffer does not match the image size");
  }
  const bool has_alpha = !alpha.empty();
  if (has_alpha && alpha.size() != static_cast<std::size_t>(image.width) * image.height) {
    throw std::runtime_error(path + ": alpha buffer does not match the image size");
  }
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) throw std::runtime_error(path + ": cannot create file");
  std::string error;
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    throw std::runtime_error(path + ": out of memory");
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error(path + ": " + error);
  }
  png_init_io(png, file.get());
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, image.width, image.height, 8,
               has_alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(image.width) * 4);
  for (int y = 0; y < image.height; ++y) {
    const std::size_t first = static_cast<std::size_t>(y) * image.width;
    if (!has_alpha) {
      png_write_row(png, image.rgb.data() + first * 3);
      continue;
    }
    for (std::size_t x = 0; x < static_cast<std::size_t>(image.width); ++x) {
      for (int c = 0; c < 3; ++c) row[4 * x + c] = image.rgb[3 * (first + x) + c];
      row[4 * x + 3] = alpha[first + x];
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fflush(file.get()) != 0) throw std::runtime_error(path + ": write failed");
}

RgbImage ReadPng(const std::string& path) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) throw std::runtime_error(path + ": cannot open file");
  std::string error;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    throw std::runtime_error(path + ": out of memory");
  }
  RgbImage image;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    throw std::runtime_error(path + ": " + error);
  }
  png_init_io(png, file.get());
  png_read_info(png, info);
  if (png_get_color_type(png, info) != PNG_COLOR_TYPE_RGB || png_get_bit_depth(png, info) != 8) {
    png_destroy_read_struct(&png, &info, nullptr);
    throw std::runtime_error(path + ": not an 8-bit RGB image");
  }
  image.width = static_cast<int>(png_get_image_width(png, info));
  image.height = static_cast<int>(png_get_image_height(png, info));
  image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
  for (int y = 0; y < image.height; ++y) {
    png_read_row(png, image.rgb.data() + static_cast<std::size_t>(y) * image.width * 3, nullptr);
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return image;
}
