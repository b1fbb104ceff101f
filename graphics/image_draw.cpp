// image_draw.cpp - image drawing over the current 2D driver.
#include "graphics/image_draw.h"

#include <cmath>

#include "graphics/draw2d.h"
#include "graphics/pixmap_ops.h"
#include "graphics/view_recorder.h"

void PaintImage(const Ref<TImage>& image, float x, float y, int frame) {
  DrawImageScaled(image, x, y, static_cast<float>(image->width), static_cast<float>(image->height),
                  frame);
}

void DrawImageScaled(const Ref<TImage>& image, float x, float y, float w, float h, int frame) {
  TRar2ADriver* driver = Current2DDriver();
  Ref<TImageFrame> f = image->Frame(frame);
  if (!driver || !f) return;
  const TTransformState& t = CurrentTransformState();
  auto draw = [&](const Ref<TImageFrame>& which) {
    driver->DrawFrame(which, -image->handle_x, -image->handle_y, w - image->handle_x,
                      h - image->handle_y, x + t.origin_x, y + t.origin_y);
  };
  // A frame captured from both views shows each eye what that eye saw.
  Ref<TImageFrame> right =
      StereoModeInUse() != StereoMode::Off ? image->RightEyeFrame(frame) : nullptr;
  const StereoEye eye = CurrentStereoEye();
  if (!right || eye == StereoEye::Left) {
    draw(f);
  } else if (eye == StereoEye::Right) {
    draw(right);
  } else {
    SetStereoEye(StereoEye::Left);
    draw(f);
    SetStereoEye(StereoEye::Right);
    draw(right);
    SetStereoEye(StereoEye::Both);
  }
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
    for (float tx = startx; tx < vx + vw; tx += w) driver->DrawFrame(f, 0, 0, w, h, tx, ty);
  }
  driver->SetTransform(t.tform_ix, t.tform_iy, t.tform_jx, t.tform_jy);
}

void CaptureImage(const Ref<TImage>& image, int x, int y, int frame) {
  auto masked = [&image](Ref<TPixmap> pixmap) {
    if (pixmap && (image->flags & IMAGE_MASKED)) {
      int r, g, b;
      QueryMaskColor(r, g, b);
      pixmap = ApplyMaskColor(pixmap, r, g, b);
    }
    return pixmap;
  };
  // In a stereo mode: the left eye's view, and the right eye's beside it.
  Ref<TPixmap> pixmap = masked(GrabPixmap(x, y, image->width, image->height));
  if (!pixmap) return;
  image->SetPixmap(frame, pixmap);
  if (Ref<TPixmap> right = GrabEyeView(StereoEye::Right, x, y, image->width, image->height)) {
    image->SetRightEyePixmap(frame, masked(right));
  }
}
