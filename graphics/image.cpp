// image.cpp - image frames as pixmaps, loading whole images and strips of cells.
#include "graphics/image.h"

#include "core/error.h"
#include "graphics/pixmap_loader.h"
#include "graphics/pixmap_ops.h"

namespace {

TImageFrameSource* frameSource = nullptr;

}  // namespace

void SetImageFrameSource(TImageFrameSource* source) { frameSource = source; }

int ImageFrameGeneration() { return frameSource ? frameSource->GraphicsGeneration() : 0; }

std::vector<Ref<TImageFrame>> TImageFrameSource::CreateFramesTogether(
    const std::vector<Ref<TPixmap>>& pixmaps, int flags) {
  return FramesOneByOne(pixmaps,
                        [&](const Ref<TPixmap>& p) { return CreateFrameFromPixmap(p, flags); });
}

void MakeFramesTogether(const std::vector<Ref<TImage>>& images) {
  if (!frameSource) return;
  const int generation = frameSource->GraphicsGeneration();
  struct Stale {
    TImage* image;
    int index;
  };
  std::vector<Stale> stale;
  for (const Ref<TImage>& image : images) {
    if (!image) continue;
    for (int i = 0; i < image->FrameCount(); ++i) {
      if (image->seqs[static_cast<std::size_t>(i)] != generation) stale.push_back({image.get(), i});
    }
  }
  // Frames share a texture only when they are made alike.
  while (!stale.empty()) {
    const int flags = stale.front().image->flags;
    std::vector<Stale> group, rest;
    std::vector<Ref<TPixmap>> pixmaps;
    for (const Stale& s : stale) {
      if (s.image->flags != flags) {
        rest.push_back(s);
        continue;
      }
      group.push_back(s);
      pixmaps.push_back(s.image->Lock(s.index, true, false));
    }
    std::vector<Ref<TImageFrame>> made = frameSource->CreateFramesTogether(pixmaps, flags);
    for (std::size_t k = 0; k < group.size(); ++k) {
      const auto i = static_cast<std::size_t>(group[k].index);
      Ref<TImageFrame> frame = k < made.size() ? made[k] : nullptr;
      group[k].image->frames[i] = frame;
      group[k].image->seqs[i] = frame ? generation : 0;
    }
    stale.swap(rest);
  }
}

std::size_t TImage::Checked(int index) const {
  if (index < 0 || index >= FrameCount()) RuntimeError("Image frame index out of range");
  return static_cast<std::size_t>(index);
}

Ref<TImageFrame> TImage::Frame(int index) {
  const std::size_t i = Checked(index);
  if (!frameSource) return nullptr;
  const int generation = frameSource->GraphicsGeneration();
  if (seqs[i] != generation) {
    frames[i] = frameSource->CreateFrameFromPixmap(Lock(index, true, false), flags);
    seqs[i] = frames[i] ? generation : 0;
  }
  return frames[i];
}

Ref<TPixmap> TImage::Lock(int index, bool /*read*/, bool write) {
  const std::size_t i = Checked(index);
  if (write) {
    seqs[i] = 0;
    frames[i].reset();
    if (right_eye) right_eye->pixmaps[i].reset();
  }
  if (!pixmaps[i]) pixmaps[i] = TPixmap::Create(width, height, FORMAT_RGBA8888, 4);
  return pixmaps[i];
}

void TImage::SetPixmap(int index, const Ref<TPixmap>& pixmap) {
  const std::size_t i = Checked(index);
  Ref<TPixmap> stored = pixmap;
  if ((flags & IMAGE_MASKED) && pixmap && AlphaBits(pixmap->format) == 0) {
    stored = ApplyMaskColor(pixmap, mask_r, mask_g, mask_b);
  }
  pixmaps[i] = stored;
  seqs[i] = 0;
  frames[i].reset();
  if (right_eye) right_eye->pixmaps[i].reset();
}

void TImage::SetRightEyePixmap(int index, const Ref<TPixmap>& pixmap) {
  Checked(index);
  if (!right_eye) right_eye = Create(width, height, FrameCount(), flags, mask_r, mask_g, mask_b);
  right_eye->SetPixmap(index, pixmap);
}

Ref<TImageFrame> TImage::RightEyeFrame(int index) {
  const std::size_t i = Checked(index);
  if (!right_eye || !right_eye->pixmaps[i]) return nullptr;
  return right_eye->Frame(index);
}

Ref<TImage> TImage::Create(int width, int height, int frames, int flags, int r, int g, int b) {
  if (width < 0 || height < 0 || frames < 0) RuntimeError("Image size is negative");
  // A side of 0 leaves nothing to draw, capture or pad, and textures need at least one texel.
  if (width == 0 || height == 0) RuntimeError("Image has no width or no height");
  Ref<TImage> image = New<TImage>();
  image->width = width;
  image->height = height;
  image->flags = flags;
  image->mask_r = r;
  image->mask_g = g;
  image->mask_b = b;
  const auto n = static_cast<std::size_t>(frames);
  image->pixmaps.resize(n);
  image->frames.resize(n);
  image->seqs.assign(n, 0);
  return image;
}

Ref<TImage> TImage::Load(const std::string& url, int flags, int r, int g, int b) {
  return Load(LoadPixmap(url), flags, r, g, b);
}

Ref<TImage> TImage::Load(const Ref<TStream>& url, int flags, int r, int g, int b) {
  return Load(LoadPixmap(url), flags, r, g, b);
}

Ref<TImage> TImage::Load(const Ref<TPixmap>& pixmap, int flags, int r, int g, int b) {
  if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0) return nullptr;
  Ref<TImage> image = Create(pixmap->width, pixmap->height, 1, flags, r, g, b);
  image->SetPixmap(0, pixmap);
  return image;
}

Ref<TImage> TImage::LoadAnim(const std::string& url, int cellWidth, int cellHeight, int first,
                             int count, int flags, int r, int g, int b) {
  return LoadAnim(LoadPixmap(url), cellWidth, cellHeight, first, count, flags, r, g, b);
}

Ref<TImage> TImage::LoadAnim(const Ref<TStream>& url, int cellWidth, int cellHeight, int first,
                             int count, int flags, int r, int g, int b) {
  return LoadAnim(LoadPixmap(url), cellWidth, cellHeight, first, count, flags, r, g, b);
}

Ref<TImage> TImage::LoadAnim(const Ref<TPixmap>& pixmap, int cellWidth, int cellHeight, int first,
                             int count, int flags, int r, int g, int b) {
  // Cells of no size would divide by zero, and a negative range would cut outside the sheet.
  if (!pixmap || cellWidth <= 0 || cellHeight <= 0 || first < 0 || count < 0) return nullptr;
  const int across = pixmap->width / cellWidth;
  const int down = pixmap->height / cellHeight;
  if (std::int64_t{first} + count > std::int64_t{across} * down) return nullptr;
  Ref<TImage> image = Create(cellWidth, cellHeight, count, flags, r, g, b);
  for (int c = first; c < first + count; ++c) {
    Ref<TPixmap> cell =
        pixmap->Window(cellWidth * (c % across), cellHeight * (c / across), cellWidth, cellHeight);
    image->SetPixmap(c - first, cell->Copy());
  }
  return image;
}
