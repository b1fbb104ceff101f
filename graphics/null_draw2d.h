// null_draw2d.h - the null 2D driver: the whole 2D layer, drawing nothing.
//
// Every state command and query of the 2D layer works as on the OpenGL driver, because the state
// lives in the drawing context (draw2d.h), not in the driver; the driver keeps its own copy of
// what it was sent (colour, alpha, blend, transform, viewport, line width), which tests can read.
// Images get frames, so every drawing path runs up to the point where pixels would be written.
// Flips return at once; GrabPixmap gives opaque black pixels and ReadsBackPixels says so. Stereo
// frames are recorded and played into two views as with OpenGL, views that hold nothing.
// Collisions compare pixmaps and work exactly as with OpenGL.
//
//   NullRar2ADriver();                        // the first call makes it the current driver
//   OpenGraphics(640, 480, 32, 60, GFX_BACKBUFFER);
#pragma once

#include "graphics/draw2d.h"

// A frame of the image it was made for: its size, and nothing to draw.
class TNullImageFrame : public TImageFrame {
 public:
  void Draw(float x0, float y0, float x1, float y1, float tx, float ty) override;

  int width = 0, height = 0;
};

class TNullRar2ADriver : public TContextRar2ADriver {
 public:
  std::string ToString() const override { return "Null"; }

  void Flip(int sync) override;

  Ref<TImageFrame> CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) override;
  void SetBlend(int mode) override;
  void SetAlpha(float alpha) override;
  void SetColor(int r, int g, int b) override;
  void SetClsColor(int r, int g, int b) override;
  void SetViewport(int x, int y, int w, int h) override;
  void SetTransform(float ix, float iy, float jx, float jy) override;
  void SetLineWidth(float width) override;
  void Cls() override;
  void Plot(float x, float y) override;
  void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override;
  void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) override;
  void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) override;
  void DrawPoly(const std::vector<float>& xy, float hx, float hy, float tx, float ty) override;
  void DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y) override;
  // Opaque black pixels, w x h (none for a size below 1).
  Ref<TPixmap> GrabPixmap(int x, int y, int w, int h) override;
  bool ReadsBackPixels() const override { return false; }
  // Remembers the eye whose view drawing goes to.
  void SelectView(StereoEye eye) override;

  // What the driver was last sent, clamped as a drawing driver clamps it.
  int blend = 0;
  int color[4] = {255, 255, 255, 255};  // red, green, blue, alpha as bytes
  int cls_color[3] = {0, 0, 0};
  int viewport[4] = {0, 0, 0, 0};
  float transform[4] = {1, 0, 0, 1};
  float line_width = 1;
  long long draws = 0;               // shapes and frames asked for since the driver was made
  StereoEye view = StereoEye::Both;  // the view last selected

 protected:
  TGraphicsDriver* ContextDriver() override;
};

// The null 2D driver. The first call makes it the current graphics driver, with default flags
// GFX_BACKBUFFER, and the source of image frames; later calls only return it.
TNullRar2ADriver* NullRar2ADriver();
