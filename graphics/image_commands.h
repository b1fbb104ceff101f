// image_commands.h - the layer-wide image settings and the image commands that need no display.
//
// Settings: the automatic flags used when a command is given flags -1 (at start IMAGE_MASKED |
// IMAGE_FILTERED), automatic centring of new images' handles (at start off), and the mask colour
// images are loaded and captured with (at start black). The commands that draw or capture
// (PaintImage, DrawImageScaled, PaintImageTiled, CaptureImage) belong to the drawing layer.
#pragma once

#include <string>

#include "graphics/image.h"

void SetAutoImageFlags(int flags);  // -1 leaves them unchanged
int AutoImageFlags();
void SetAutoCenterHandle(bool on);
bool AutoCenterHandle();
void SetMaskColor(int r, int g, int b);
void QueryMaskColor(int& r, int& g, int& b);

// TImage::Load with the mask colour; `flags` -1 means the automatic flags. Null when nothing
// loads. Centred when automatic centring is on.
Ref<TImage> ImportImage(const std::string& url, int flags = -1);
Ref<TImage> ImportImage(const Ref<TStream>& url, int flags = -1);
Ref<TImage> ImportImage(const Ref<TPixmap>& pixmap, int flags = -1);
// TImage::LoadAnim in the same way.
Ref<TImage> LoadImageStrip(const std::string& url, int cellWidth, int cellHeight, int first,
                           int count, int flags = -1);
// An image of `frames` empty frames, with IMAGE_DYNAMIC added to the flags.
Ref<TImage> NewImage(int width, int height, int frames, int flags = -1);

void CenterImageHandle(const Ref<TImage>& image);  // the handle at width / 2, height / 2
void SetImageHandle(const Ref<TImage>& image, float x, float y);
int ImageWidth(const Ref<TImage>& image);
int ImageHeight(const Ref<TImage>& image);
Ref<TPixmap> LockImage(const Ref<TImage>& image, int frame = 0, bool read = true,
                       bool write = true);
// Locks need no release; kept so that lock and release read as a pair.
inline void ReleaseImagePixmap(const Ref<TImage>&, int = 0) {}
