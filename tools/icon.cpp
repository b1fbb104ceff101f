// icon.cpp - the bee sprite redrawn at the icon's size, as a red and a cyan copy a little apart
// and added together, over the splash screen's dark violet.
#include "tools/icon.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "tools/sprites.h"

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr float kBeeWidth = 61, kBeeHeight = 43;  // the sprite's frame, in its own units

float Brightness(Rgb c) { return (c.r + c.g + c.b) / 3; }

}  // namespace

std::span<const int> IconSizes() { return kSizes; }

Icon DrawIcon(int size) {
  const float scale = size * 0.8f / kBeeWidth;
  // Wings level (frame 1), drawn at the icon's resolution rather than scaled from the sheet.
  Canvas bee(static_cast<int>(std::ceil(kBeeWidth * scale)),
             static_cast<int>(std::ceil(kBeeHeight * scale)));
  bee.SetScale(scale);
  DrawBee(bee, 1);

  Canvas back(size, size);
  const float s = static_cast<float>(size);
  const Rgb violet{10 / 255.0f, 5 / 255.0f, 15 / 255.0f};
  back.Fill(Box(0, 0, s, s, s * 0.18f), Shaded(violet * 3.0f, violet, s * 0.5f));

  const int separation = std::max(1, static_cast<int>(std::lround(size * 0.03f)));
  const int left = (size - bee.width()) / 2, top = (size - bee.height()) / 2;
  Icon icon;
  RgbImage& image = icon.image;
  image.width = image.height = size;
  image.rgb.resize(static_cast<std::size_t>(size) * size * 3);
  icon.alpha.resize(static_cast<std::size_t>(size) * size);
  auto at = [&bee](int x, int y) {
    if (x < 0 || y < 0 || x >= bee.width() || y >= bee.height()) return 0.0f;
    return Brightness(bee.At(x, y)) * bee.CoverageAt(x, y);
  };
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float red = at(x - left + separation, y - top);
      const float cyan = at(x - left - separation, y - top);
      Rgb c = back.At(x, y) + Rgb{red, cyan, cyan};
      const std::size_t i = static_cast<std::size_t>(y) * size + x;
      auto byte = [](float v) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
      };
      image.rgb[3 * i] = byte(c.r);
      image.rgb[3 * i + 1] = byte(c.g);
      image.rgb[3 * i + 2] = byte(c.b);
      icon.alpha[i] = byte(back.CoverageAt(x, y));
    }
  }
  return icon;
}

void WriteIcons(const std::string& folder) {
  std::filesystem::create_directories(folder);
  for (int size : kSizes) {
    Icon icon = DrawIcon(size);
    WritePng(folder + "/" + std::to_string(size) + ".png", icon.image, icon.alpha);
  }
}
