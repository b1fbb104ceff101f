// image_commands.cpp - the image commands over the layer-wide settings.
#include "graphics/image_commands.h"

namespace {

int autoFlags = IMAGE_MASKED | IMAGE_FILTERED;
bool autoCenter = false;
int maskRed = 0, maskGreen = 0, maskBlue = 0;

int Resolve(int flags) { return flags == -1 ? autoFlags : flags; }

Ref<TImage> Centred(Ref<TImage> image) {
  if (image && autoCenter) CenterImageHandle(image);
  return image;
}

}  // namespace

void SetAutoImageFlags(int flags) {
  if (flags != -1) autoFlags = flags;
}
int AutoImageFlags() { return autoFlags; }
void SetAutoCenterHandle(bool on) { autoCenter = on; }
bool AutoCenterHandle() { return autoCenter; }

void SetMaskColor(int r, int g, int b) { maskRed = r, maskGreen = g, maskBlue = b; }

void QueryMaskColor(int& r, int& g, int& b) { r = maskRed, g = maskGreen, b = maskBlue; }

Ref<TImage> ImportImage(const std::string& url, int flags) {
  return Centred(TImage::Load(url, Resolve(flags), maskRed, maskGreen, maskBlue));
}

Ref<TImage> ImportImage(const Ref<TStream>& url, int flags) {
  return Centred(TImage::Load(url, Resolve(flags), maskRed, maskGreen, maskBlue));
}

Ref<TImage> ImportImage(const Ref<TPixmap>& pixmap, int flags) {
  return Centred(TImage::Load(pixmap, Resolve(flags), maskRed, maskGreen, maskBlue));
}

Ref<TImage> LoadImageStrip(const std::string& url, int cellWidth, int cellHeight, int first,
                           int count, int flags) {
  return Centred(TImage::LoadAnim(url, cellWidth, cellHeight, first, count, Resolve(flags), maskRed,
                                  maskGreen, maskBlue));
}

Ref<TImage> NewImage(int width, int height, int frames, int flags) {
  return Centred(TImage::Create(width, height, frames, Resolve(flags) | IMAGE_DYNAMIC, maskRed,
                                maskGreen, maskBlue));
}

void CenterImageHandle(const Ref<TImage>& image) {
  image->handle_x = static_cast<float>(image->width) * 0.5f;
  image->handle_y = static_cast<float>(image->height) * 0.5f;
}

void SetImageHandle(const Ref<TImage>& image, float x, float y) {
  image->handle_x = x;
  image->handle_y = y;
}

int ImageWidth(const Ref<TImage>& image) { return image->width; }
int ImageHeight(const Ref<TImage>& image) { return image->height; }

Ref<TPixmap> LockImage(const Ref<TImage>& image, int frame, bool read, bool write) {
  return image->Lock(frame, read, write);
}
