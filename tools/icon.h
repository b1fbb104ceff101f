// icon.h - the desktop icon: the game's bee drawn in red and cyan, as the game draws it, on a dark
// rounded square, at every size the hicolor theme installs.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tools/png_file.h"

// 16 .. 256: the sizes installed under share/icons/hicolor/<n>x<n>/apps.
std::span<const int> IconSizes();
struct Icon {
  RgbImage image;
  std::vector<std::uint8_t> alpha;  // one byte a pixel: the rounded square's corners are clear
};
// The icon `size` pixels square.
Icon DrawIcon(int size);
// Writes <folder>/<size>.png for every size.
void WriteIcons(const std::string& folder);
