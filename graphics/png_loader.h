// png_loader.h - TPixmapLoaderPNG, the pixmap loader for PNG files, decoding with libpng.
//
// Every PNG becomes 8 bits per sample: 16-bit samples are cut to their high byte, palettes and
// greyscale below 8 bits are expanded, and a transparency chunk becomes an alpha channel. The
// result by colour type: greyscale -> FORMAT_I8, RGB (and palette without transparency) ->
// FORMAT_RGB888, RGB with alpha (and palette or greyscale with transparency, and greyscale with
// alpha, whose grey fills R, G and B) -> FORMAT_RGBA8888.
//
// A damaged or truncated file gives null with every libpng structure released; an error of the
// stream other than a short read propagates after the release. Images above kMaxPngPixels are
// refused before any pixel memory is taken. The loader keeps no state between calls.
#pragma once

#include "graphics/pixmap_loader.h"

class TPixmapLoaderPNG : public TPixmapLoader {
 public:
  // 16384 x 16384 at most on either side, and no more pixels in all than a 4096 x 4096 image.
  static constexpr unsigned kMaxPngSide = 16384;
  static constexpr unsigned long kMaxPngPixels = 4096ul * 4096ul;

  Ref<TPixmap> LoadPixmap(TStream& stream) override;
};
