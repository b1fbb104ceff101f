// preview_main.cpp - zx_assetpreview <image folder> <out.png>: a contact sheet for review.
//
// Every frame of the sprite sheet enlarged on a grey card with its image name and frame number
// written in the default font, then the same frame as the game shows it (a cyan and a red copy
// added together on the splash screen's dark background), then the splash logo and the font.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "tools/font_bitmap.h"
#include "tools/png_file.h"
#include "tools/sprite_sheet.h"

namespace {

constexpr int kWidth = 1400;
constexpr int kGap = 10;

struct Sheet {
  RgbImage out;
  int x = kGap, y = kGap, row_height = 0;

  void Put(int px, int py, int r, int g, int b) {
    if (px < 0 || py < 0 || px >= out.width || py >= out.height) return;
    std::uint8_t* p = &out.rgb[(static_cast<std::size_t>(py) * out.width + px) * 3];
    p[0] = static_cast<std::uint8_t>(std::min(r, 255));
    p[1] = static_cast<std::uint8_t>(std::min(g, 255));
    p[2] = static_cast<std::uint8_t>(std::min(b, 255));
  }
  void Add(int px, int py, int r, int g, int b) {
    if (px < 0 || py < 0 || px >= out.width || py >= out.height) return;
    std::uint8_t* p = &out.rgb[(static_cast<std::size_t>(py) * out.width + px) * 3];
    Put(px, py, p[0] + r, p[1] + g, p[2] + b);
  }
  void Rect(int x0, int y0, int w, int h, int v) {
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) Put(x0 + i, y0 + j, v, v, v);
  }
  void Text(const std::string& s, int x0, int y0) {
    for (std::size_t k = 0; k < s.size(); ++k)
      for (int row = 0; row < 16; ++row)
        for (int col = 0; col < 8; ++col)
          if (FontPixel(s[k], col, row))
            Put(x0 + 8 * static_cast<int>(k) + col, y0 + row, 255, 255, 160);
  }
  // Reserves a w x h cell in the flow, wrapping to a new row when it does not fit.
  void Place(int w, int h, int* cx, int* cy) {
    if (x + w > kWidth - kGap) {
      x = kGap;
      y += row_height + kGap;
      row_height = 0;
    }
    *cx = x;
    *cy = y;
    x += w + kGap;
    row_height = std::max(row_height, h);
  }
  void NewRow() {
    x = kGap;
    y += row_height + kGap;
    row_height = 0;
  }
};

void Pixel(const RgbImage& img, int x, int y, int* r, int* g, int* b) {
  const std::uint8_t* p = &img.rgb[(static_cast<std::size_t>(y) * img.width + x) * 3];
  *r = p[0];
  *g = p[1];
  *b = p[2];
}

void Frame(Sheet& s, const RgbImage& src, int sx, int sy, int w, int h, const std::string& label) {
  int zoom = std::max(1, std::min(4, 150 / std::max(w, h)));
  int zw = w * zoom, zh = h * zoom;
  int cell_w = std::max(zw * 2 + 8 + 12, static_cast<int>(label.size()) * 8 + 4);
  int cx = 0, cy = 0;
  s.Place(cell_w, zh + 24, &cx, &cy);
  s.Text(label, cx, cy);
  int ix = cx, iy = cy + 18;
  s.Rect(ix - 2, iy - 2, zw + 4, zh + 4, 110);
  s.Rect(ix, iy, zw, zh, 0);
  int ax = ix + zw + 12;
  // The game's view: background (10, 5, 15), cyan (4, 80, 60) and red (140, 4, 10) copies
  // drawn twice each in additive blend, three pixels apart at this zoom's scale.
  s.Rect(ax - 2, iy - 2, zw + 4, zh + 4, 110);
  for (int j = 0; j < zh; ++j)
    for (int i = 0; i < zw; ++i) s.Put(ax + i, iy + j, 10, 5, 15);
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      int r, g, b;
      Pixel(src, sx + i, sy + j, &r, &g, &b);
      for (int zy = 0; zy < zoom; ++zy) {
        for (int zx = 0; zx < zoom; ++zx) {
          s.Put(ix + i * zoom + zx, iy + j * zoom + zy, r, g, b);
          if (r == 0 && g == 0 && b == 0) continue;
          int left = ax + i * zoom + zx - 2, right = ax + i * zoom + zx + 2;
          int y = iy + j * zoom + zy;
          s.Add(left, y, 2 * 4 * r / 255, 2 * 80 * g / 255, 2 * 60 * b / 255);
          s.Add(right, y, 2 * 140 * r / 255, 2 * 4 * g / 255, 2 * 10 * b / 255);
        }
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <image folder> <out.png>\n", argv[0]);
    return 2;
  }
  try {
    std::string folder = argv[1];
    RgbImage sheet = ReadPng(folder + "/zumbrix_3d.png");
    RgbImage logo = ReadPng(folder + "/vxlogo.png");
    Sheet s;
    s.out = {kWidth, 2400,
             std::vector<std::uint8_t>(static_cast<std::size_t>(kWidth) * 2400 * 3, 40)};
    for (const SheetImage& im : kSheetImages) {
      for (int f = 0; f < im.frames; ++f) {
        Frame(s, sheet, im.x + f * im.step, im.y, im.width, im.height,
              std::string(im.name) + " " + std::to_string(f));
      }
      if (im.width > 150) s.NewRow();
    }
    s.NewRow();
    Frame(s, logo, 0, 0, logo.width, logo.height, "vxlogo.png");
    s.NewRow();
    std::string all;
    for (int c = 32; c < 128; ++c) all += static_cast<char>(c);
    int cx, cy;
    s.Place(8 * 48, 40, &cx, &cy);
    s.Text(all.substr(0, 48), cx, cy);
    s.Text(all.substr(48), cx, cy + 20);
    s.NewRow();
    s.Place(8 * 60, 20, &cx, &cy);
    s.Text("The quick brown fox jumps over the lazy dog. 0123456789", cx, cy);
    s.NewRow();
    s.out.height = s.y;
    s.out.rgb.resize(static_cast<std::size_t>(kWidth) * s.y * 3);
    WritePng(argv[2], s.out);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zx_assetpreview: %s\n", e.what());
    return 1;
  }
  return 0;
}
