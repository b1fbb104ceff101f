// image_draw.cpp - image drawing over the current 2D driver.
#include "graphics/image_draw.h"

#include <cmath>

#include "graphics/draw2d.h"
#include "graphics/pixmap_ops.h"

void PaintImage(const Ref<TImage>& image, float x, float y, int frame) {
  DrawImageScaled(image, x, y, static_cast<float>(image->width), static_cast<float>(image->height),
                  frame);
}

void DrawImageScaled(const Ref<TImage>& image, float x, float y, float w, float h, int frame) {
  Ref<TImageFrame> f = image->Frame(frame);
  if (!f) return;
  const TTransformState& t = CurrentTransformState();
  f->Draw(-image->handle_x, -image->handle_y, w - image->handle_x, h - image->handle_y,
          x + t.origin_x, y + t.origin_y);
}

void PaintImageTiled(const Ref<TImage>& image, float x, float y, int frame) {
  TRar2ADriver* driver = Current2DDriver();
  Ref<TImageFrame> f = image->Frame(frame);
  if (!driver || !f || image->width <= 0 || image->height <= 0) return;
  const TTransformState& t = CurrentTransformState();
  int vx, vy, vw, vh;
  QueryViewport(vx, vy, vw, vh);
  float w = static_cast<float>(image->width), h = static_cast<float>(image->height);
  float ax = x + t.origin_x - image->handle_x, ay = y + t.origin_y - image->handle_y;
  // The first column and row at or before the viewport's left and top edges.
  float startx = ax - std::ceil((ax - vx) / w) * w;
  float starty = ay - std::ceil((ay - vy) / h) * h;
  driver->SetTransform(1, 0, 0, 1);
  for (float ty = starty; ty < vy + vh; ty += h) {
    for (float tx = startx; tx < vx + vw; tx += w) f->Draw(0, 0, w, h, tx, ty);
  }
  driver->SetTransform(t.tform_ix, t.tform_iy, t.tform_jx, t.tform_jy);
}

void CaptureImage(const Ref<TImage>& image, int x, int y, int frame) {
  Ref<TPixmap> pixmap = GrabPixmap(x, y, image->width, image->height);
  if (!pixmap) return;
  if (image->flags & IMAGE_MASKED) {
    int r, g, b;
    QueryMaskColor(r, g, b);
    pixmap = ApplyMaskColor(pixmap, r, g, b);
  }
  image->SetPixmap(frame, pixmap);
}
