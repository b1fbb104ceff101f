// png_file.h - writing and reading 8-bit RGB PNG files through libpng.
//
// Written files carry no time stamp or text, so the same pixels always give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbImage {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;  // rows top to bottom, three bytes a pixel
};

// Throws std::runtime_error naming the file when it cannot be written. With `alpha` (one byte a
// pixel) the file is 8-bit RGBA.
void WritePng(const std::string& path, const RgbImage& image,
              const std::vector<std::uint8_t>& alpha = {});
// Reads an 8-bit RGB PNG without alpha; throws std::runtime_error on any other file.
RgbImage ReadPng(const std::string& path);
