// gl_draw2d.h - the 2D driver over OpenGL 1.1.
//
// Every shape is one immediate-mode batch in a pixel-exact orthographic projection (origin at
// the top-left corner of the top-left pixel, y down); every image frame is a power-of-two RGBA
// texture. Rotation and scale are applied on the CPU, so drawing many sprites of one sheet costs
// four vertices each and no state change. Blend mode, bound texture and texturing are cached, and
// the caches reset whenever a context becomes current.
//
// Textures are made in the OpenGL driver's shared context, so every window can draw them.
// Only OpenGL 1.1 entry points are used, plus the GL_CLAMP_TO_EDGE wrap mode.
#pragma once

#include "graphics/draw2d.h"

class TGLImageFrame : public TImageFrame {
 public:
  ~TGLImageFrame() override;
  void Draw(float x0, float y0, float x1, float y1, float tx, float ty) override;

  // Raises "Unable to calculate tex size" when not even a 1 x 1 texture is accepted. Null for a
  // pixmap with no pixels: there is nothing to draw.
  static Ref<TGLImageFrame> CreateFromPixmap(const Ref<TPixmap>& pixmap, int flags);
  // Frames for several pixmaps drawn from one texture, each a cell of a sheet (frame_sheet.h),
  // when they are neither filtered nor mipmapped (a filter would blend neighbouring cells) and
  // fit one texture; otherwise each gets a texture of its own. Null for a pixmap with no pixels.
  static std::vector<Ref<TImageFrame>> CreateTogether(const std::vector<Ref<TPixmap>>& pixmaps,
                                                      int flags);
  // The power-of-two texture size the driver accepts for an image of this size.
  static void TextureSize(int width, int height, int& tex_width, int& tex_height);
  // The pixmap uploaded for a source: padded to the texture size with its last column and row
  // repeated once, so that sampling at the border never reads undefined texels.
  static Ref<TPixmap> PaddedPixmap(const Ref<TPixmap>& source, int tex_width, int tex_height);

  float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
  unsigned name = 0;
  int seq = 0;  // the graphics generation it was made in; 0 once deleted, or when not the owner
  Ref<TGLImageFrame> sheet;  // for a cell of a shared texture: the frame that owns the texture
};

class TGLRar2ADriver : public TContextRar2ADriver {
 public:
  std::string ToString() const override { return "OpenGL"; }

  void Flip(int sync) override;
  void FinishFrame() override;

  Ref<TImageFrame> CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) override;
  std::vector<Ref<TImageFrame>> CreateFramesTogether(const std::vector<Ref<TPixmap>>& pixmaps,
                                                     int flags) override;
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
  Ref<TPixmap> GrabPixmap(int x, int y, int w, int h) override;
  // Each eye's view is a picture of its own (gl_graphics.h), at the context's size.
  void SelectView(StereoEye eye) override;
  // Readies the OpenGL state of a context that just became current.
  void ResetGLContext(TGraphics* g);

 protected:
  TGraphicsDriver* ContextDriver() override;
  // Its OpenGL state made ready; the first time, the drawing pipelines warmed up before the
  // first clear of both buffers.
  void ContextMadeCurrent(TRar2AGraphics* g) override;
};

// The OpenGL 2D driver. The first call makes it the current graphics driver, with default flags
// GFX_BACKBUFFER, and the source of image frames.
TGLRar2ADriver* GLRar2ADriver();
// More segments than this look no smoother on any screen.
inline constexpr int kMaxOvalSegments = 1 << 16;
// How many segments DrawOval uses for an ellipse with these radii: |x| + |y| truncated, at least
// 12 and at most kMaxOvalSegments, rounded down to a multiple of 4.
int OvalSegments(float x_radius, float y_radius);
