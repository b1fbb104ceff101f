// pixmap_ops.cpp - flipping, scaling and masking, all working row by row in RGBA.
#include "graphics/pixmap_ops.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

Ref<TPixmap> AsRgba(const Ref<TPixmap>& pixmap) {
  return pixmap->format == FORMAT_RGBA8888 ? pixmap : pixmap->Convert(FORMAT_RGBA8888);
}

// Where output sample i of `outSize` falls in a source of `inSize`: the first source index, the
// fraction towards the next one and the step to it (0 at the edges).
struct Tap {
  int index;
  float fraction;
  int step;
};

Tap TapFor(int i, int outSize, int inSize) {
  float s =
      (static_cast<float>(i) + 0.5f) * (static_cast<float>(inSize) / static_cast<float>(outSize)) -
      0.5f;
  Tap t{static_cast<int>(std::floor(s)), 0, 1};
  t.fraction = s - static_cast<float>(t.index);
  if (t.index < 0) {
    t = {0, 0, 0};
  } else if (t.index >= inSize - 1) {
    t = {inSize - 1, 0, 0};
  }
  return t;
}

}  // namespace

Ref<TPixmap> FlipPixmapVertically(const Ref<TPixmap>& pixmap) {
  Ref<TPixmap> out = TPixmap::Create(pixmap->width, pixmap->height, pixmap->format, 4);
  const int h = pixmap->height;
  for (int y = 0; y < h; ++y)
    std::memcpy(out->PixelPtr(0, y), pixmap->PixelPtr(0, h - 1 - y), pixmap->RowBytes());
  return out;
}

Ref<TPixmap> ScalePixmap(const Ref<TPixmap>& pixmap, int width, int height) {
  Ref<TPixmap> out = TPixmap::Create(width, height, pixmap->format, 4);
  if (pixmap->width == 0 || pixmap->height == 0 || width == 0 || height == 0) return out;
  Ref<TPixmap> src = AsRgba(pixmap);
  std::vector<Tap> columns(static_cast<std::size_t>(width));
  for (int x = 0; x < width; ++x)
    columns[static_cast<std::size_t>(x)] = TapFor(x, width, src->width);
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * 4);
  for (int y = 0; y < height; ++y) {
    const Tap ty = TapFor(y, height, src->height);
    const unsigned char* r0 = src->PixelPtr(0, ty.index);
    const unsigned char* r1 = src->PixelPtr(0, ty.index + ty.step);
    unsigned char* d = row.data();
    for (const Tap& tx : columns) {
      const int a = tx.index * 4;
      const int b = (tx.index + tx.step) * 4;
      for (int c = 0; c < 4; ++c, ++d) {
        float top = r0[a + c] + (static_cast<float>(r0[b + c]) - r0[a + c]) * tx.fraction;
        float bottom = r1[a + c] + (static_cast<float>(r1[b + c]) - r1[a + c]) * tx.fraction;
        *d = static_cast<unsigned char>(static_cast<int>(top + (bottom - top) * ty.fraction));
      }
    }
    ConvertPixels(row.data(), FORMAT_RGBA8888, out->PixelPtr(0, y), out->format, width);
  }
  return out;
}

Ref<TPixmap> ApplyMaskColor(const Ref<TPixmap>& pixmap, int r, int g, int b) {
  Ref<TPixmap> src = AsRgba(pixmap);
  Ref<TPixmap> out = TPixmap::Create(src->width, src->height, FORMAT_RGBA8888, 4);
  const int w = src->width;
  const int h = src->height;
  auto isMask = [&](const unsigned char* p) { return p[0] == r && p[1] == g && p[2] == b; };
  for (int y = 0; y < h; ++y) {
    const unsigned char* s = src->PixelPtr(0, y);
    unsigned char* d = out->PixelPtr(0, y);
    for (int x = 0; x < w; ++x, s += 4, d += 4) {
      if (!isMask(s)) {
        d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = 255;
        continue;
      }
      int sum[3] = {0, 0, 0};
      int n = 0;
      for (int ny = y - 1; ny <= y + 1; ++ny) {
        if (ny < 0 || ny >= h) continue;
        for (int nx = x - 1; nx <= x + 1; ++nx) {
          if (nx < 0 || nx >= w) continue;
          const unsigned char* q = src->PixelPtr(nx, ny);
          if (isMask(q)) continue;
          sum[0] += q[0], sum[1] += q[1], sum[2] += q[2];
          ++n;
        }
      }
      for (int c = 0; c < 3; ++c) d[c] = static_cast<unsigned char>(n ? sum[c] / n : 0);
      d[3] = 0;
    }
  }
  return out;
}
