// pixmap_loader.h - the chain of pixmap loaders and LoadPixmap, which opens a URL and asks them.
//
// A loader is offered a stream at the position where the data starts and answers with a pixmap,
// or null when the data is not its format. Creating a loader links it at the head of the chain,
// so the newest loader is asked first; destroying it unlinks it. The built-in PNG loader joins the
// chain the first time the chain is used, behind any loader made before that.
//
//   Ref<TPixmap> sheet = LoadPixmap("incbin::zumbrix_3d.png");   // null when nothing loads it
#pragma once

#include <string>

#include "core/stream.h"
#include "graphics/pixmap.h"

class TPixmapLoader : public TObject {
 public:
  TPixmapLoader();
  ~TPixmapLoader() override;
  // Null when the stream does not hold this loader's format. Stream errors (a short read) may
  // escape as TStreamException; LoadPixmap counts them as null.
  virtual Ref<TPixmap> LoadPixmap(TStream& stream) = 0;

  TPixmapLoader* _succ = nullptr;
};

// The first loader of the chain (the built-in ones exist once this has been called).
TPixmapLoader* PixmapLoaders();

// Opens `url` (a file path, "incbin::name", or anything the stream factories serve) read-only and
// offers it to each loader, newest first. The stream is closed afterwards. Null when the URL does
// not open, the stream cannot tell its position, or no loader accepts the data.
Ref<TPixmap> LoadPixmap(const std::string& url);
// The same on an open stream, from its current position; the stream is closed afterwards.
Ref<TPixmap> LoadPixmap(const Ref<TStream>& stream);
