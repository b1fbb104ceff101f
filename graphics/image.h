// image.h - TImage, the drawable picture: one or more frames of equal size, each kept as a pixmap.
//
// This module holds the memory side of an image: its pixmaps, masking, locking and loading. The
// drawing side is a seam for the 2D driver: `frames` holds one driver texture frame per image
// frame and `seqs` the graphics generation in which it was made (0 = none). Frame(index) remakes a
// stale one through the TImageFrameSource the graphics layer installs (SetImageFrameSource); with
// no source installed an image has no driver frames and draws nothing.
//
//   Ref<TImage> sheet = TImage::Load("incbin::zumbrix_3d.png", IMAGE_MASKED, 0, 0, 0);
//   Ref<TPixmap> pixels = sheet->Lock(0, true, false);
//
// A frame index outside 0 .. frame count - 1 raises a runtime error.
#pragma once

#include <string>
#include <vector>

#include "core/stream.h"
#include "graphics/pixmap.h"

enum : int {
  IMAGE_MASKED = 1,     // the mask colour is transparent in pixmaps without alpha
  IMAGE_FILTERED = 2,   // bilinear texture filtering
  IMAGE_MIPMAPPED = 4,  // mipmapped texture
  IMAGE_DYNAMIC = 8,    // made by NewImage
};

// A frame as the 2D driver holds it (a texture). Draws the whole frame onto the local rectangle
// (x0, y0)-(x1, y1), placed with the driver's current transform at (tx, ty).
class TImageFrame : public TObject {
 public:
  virtual void Draw(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
};

// What Frame needs from the graphics layer: the current graphics generation (raised whenever a
// context opens or closes, which makes older driver frames stale) and the current 2D driver's
// frame maker.
class TImageFrameSource {
 public:
  virtual ~TImageFrameSource() = default;
  virtual int GraphicsGeneration() = 0;
  virtual Ref<TImageFrame> CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) = 0;
  // Frames for several pixmaps at once, one per pixmap in order, which the driver may draw from
  // one texture. By default each is made on its own.
  virtual std::vector<Ref<TImageFrame>> CreateFramesTogether(
      const std::vector<Ref<TPixmap>>& pixmaps, int flags);
};

// One frame per pixmap, in order, each made by `make(pixmap)` on its own: what making frames
// together comes to when nothing is shared.
template <typename Make>
std::vector<Ref<TImageFrame>> FramesOneByOne(const std::vector<Ref<TPixmap>>& pixmaps, Make make) {
  std::vector<Ref<TImageFrame>> frames;
  frames.reserve(pixmaps.size());
  for (const Ref<TPixmap>& p : pixmaps) frames.push_back(make(p));
  return frames;
}

// Null removes the source. The source is not owned.
void SetImageFrameSource(TImageFrameSource* source);
// The installed source's graphics generation; 0 with no source. Frames made in another
// generation are stale.
int ImageFrameGeneration();

class TImage : public TObject {
 public:
  int width = 0;
  int height = 0;
  int flags = 0;
  int mask_r = 0;
  int mask_g = 0;
  int mask_b = 0;
  float handle_x = 0;  // the image point placed at the drawing position
  float handle_y = 0;
  std::vector<Ref<TPixmap>> pixmaps;     // one per frame, null until set or locked
  std::vector<Ref<TImageFrame>> frames;  // driver frames, null until first drawn
  std::vector<int> seqs;                 // generation of each driver frame, 0 = none
  Ref<TImage> right_eye;                 // the right eye's pixels per frame, once captured

  // The driver frame of `index`, made anew when the generation changed since it was made, or
  // after a SetPixmap or a Lock for writing. Null when no driver frame can be made.
  virtual Ref<TImageFrame> Frame(int index);
  // The pixmap of `index`, made as a transparent FORMAT_RGBA8888 pixmap of the image's size when
  // the frame has none. Locking for writing makes the driver frame stale.
  virtual Ref<TPixmap> Lock(int index, bool read, bool write);
  // With IMAGE_MASKED, a pixmap without alpha bits is stored masked (ApplyMaskColor with the
  // image's mask colour); others are stored as given.
  virtual void SetPixmap(int index, const Ref<TPixmap>& pixmap);

  int FrameCount() const { return static_cast<int>(pixmaps.size()); }

  // A frame captured from a stereo picture keeps each eye's pixels: the left eye's are the
  // frame's own, the right eye's go here and are drawn into the right view (image_draw.h). A
  // SetPixmap or a Lock for writing forgets them.
  void SetRightEyePixmap(int index, const Ref<TPixmap>& pixmap);
  // The driver frame of the right eye's pixels of `index`; null when the frame has none.
  Ref<TImageFrame> RightEyeFrame(int index);

  // Handle 0, 0 and `frames` empty frames. Raises a runtime error for a negative size or count,
  // and for a width or height of 0.
  static Ref<TImage> Create(int width, int height, int frames, int flags, int r, int g, int b);
  // One frame holding the pixmap at `url` (or the pixmap itself); null when nothing loads or
  // the pixmap has no pixels.
  static Ref<TImage> Load(const std::string& url, int flags, int r, int g, int b);
  static Ref<TImage> Load(const Ref<TStream>& url, int flags, int r, int g, int b);
  static Ref<TImage> Load(const Ref<TPixmap>& pixmap, int flags, int r, int g, int b);
  // `count` frames cut from a sheet of cellWidth x cellHeight cells, numbered across then down,
  // starting at cell `first`. Null when nothing loads or the sheet has too few cells.
  static Ref<TImage> LoadAnim(const std::string& url, int cellWidth, int cellHeight, int first,
                              int count, int flags, int r, int g, int b);
  static Ref<TImage> LoadAnim(const Ref<TStream>& url, int cellWidth, int cellHeight, int first,
                              int count, int flags, int r, int g, int b);
  static Ref<TImage> LoadAnim(const Ref<TPixmap>& pixmap, int cellWidth, int cellHeight, int first,
                              int count, int flags, int r, int g, int b);

 private:
  std::size_t Checked(int index) const;
};

// Makes the stale driver frames of every frame of `images` in one call per flags value, so that
// the driver may draw them all from one texture: a run of them (the glyphs of a line of text)
// then draws without a texture switch. Frames already current are kept. Once stale again, a frame
// is remade on its own by Frame unless this is called again. Main thread only.
void MakeFramesTogether(const std::vector<Ref<TImage>>& images);
