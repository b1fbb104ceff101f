// png_saver.h - writing pixmaps as PNG files (screenshots, previews).
//
//   SavePixmapPNG(GrabPixmap(0, 0, 640, 480), "shot.png");
//
// Pixmaps with alpha are written as RGBA, the others as RGB (intensity and alpha-only pixmaps as
// RGB too). Returns false, writing nothing more, when the file cannot be written.
#pragma once

#include <string>

#include "core/stream.h"
#include "graphics/pixmap.h"

bool SavePixmapPNG(const Ref<TPixmap>& pixmap, const std::string& url);
bool SavePixmapPNG(const Ref<TPixmap>& pixmap, const Ref<TStream>& stream);
