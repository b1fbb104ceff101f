// pixmap_loader.cpp - the loader chain and the loop that offers a stream to each loader.
#include "graphics/pixmap_loader.h"

#include "core/stream_factory.h"
#include "graphics/png_loader.h"

namespace {

constinit TPixmapLoader* chain = nullptr;

// The chain is built on first use rather than by static constructors: the linker drops object
// files of a static library that nothing names, and a self-registering loader is such a file.
void AddBuiltInLoaders() {
  static const bool added = [] {
    auto* png = new TPixmapLoaderPNG;
    png->Retain();  // lives for the whole program
    // Loaders made before the first use were meant to be asked first: move it behind them.
    chain = png->_succ;
    png->_succ = nullptr;
    TPixmapLoader** tail = &chain;
    while (*tail) tail = &(*tail)->_succ;
    *tail = png;
    return true;
  }();
  (void)added;
}

Ref<TPixmap> OfferToLoaders(TStream& stream) {
  const std::int64_t start = stream.Pos();
  if (start < 0) return nullptr;
  for (TPixmapLoader* loader = PixmapLoaders(); loader; loader = loader->_succ) {
    if (stream.Seek(start) != start) return nullptr;
    try {
      if (Ref<TPixmap> pixmap = loader->LoadPixmap(stream)) return pixmap;
    } catch (const TStreamException&) {
      // Data too short or unreadable for this loader: let the next one try.
    }
  }
  return nullptr;
}

Ref<TPixmap> LoadAndClose(const Ref<TStream>& stream) {
  if (!stream) return nullptr;
  Ref<TPixmap> pixmap;
  try {
    pixmap = OfferToLoaders(*stream);
  } catch (...) {
    stream->Close();
    throw;
  }
  stream->Close();
  return pixmap;
}

}  // namespace

TPixmapLoader::TPixmapLoader() {
  _succ = chain;
  chain = this;
}

TPixmapLoader::~TPixmapLoader() {
  for (TPixmapLoader** p = &chain; *p; p = &(*p)->_succ) {
    if (*p == this) {
      *p = _succ;
      break;
    }
  }
}

TPixmapLoader* PixmapLoaders() {
  AddBuiltInLoaders();
  return chain;
}

Ref<TPixmap> LoadPixmap(const std::string& url) { return LoadAndClose(ReadFile(url)); }

Ref<TPixmap> LoadPixmap(const Ref<TStream>& url) { return LoadAndClose(ReadFile(url)); }
