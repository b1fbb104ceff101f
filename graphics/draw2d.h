// draw2d.h - the immediate-mode 2D layer: drawing state and commands.
//
// Every graphics context the 2D driver opens is wrapped in a TRar2AGraphics, which keeps the
// drawing state of that context: colour, alpha, blend mode, rotation and scale, origin and handle,
// viewport, line width and font. The commands below change the state of the current context and
// turn shapes into calls on its driver (TRar2ADriver; gl_draw2d.h is the OpenGL one).
//
//   SetColor(255, 128, 0);
//   SetBlend(BLEND_LIGHT);
//   SetRotation(45);             // positive turns clockwise: y grows downwards
//   DrawRect(100, 100, 20, 10);
//   PaintText("Score", 8, 8);
//
// Colours and alpha are stored as given and clamped by the driver, so SetColor(300, -5, 128)
// reads back as 300, -5, 128 and draws as 255, 0, 128. Commands need a current context (one
// opened with OpenGraphics); without one they do nothing and queries answer the defaults.
#pragma once

#include <string>
#include <vector>

#include "graphics/graphics.h"
#include "graphics/image.h"
#include "graphics/pixmap.h"
#include "graphics/stereo_mode.h"
#include "graphics/transform.h"

enum {
  BLEND_MASK = 1,   // drawn opaque where alpha >= 0.5, nothing elsewhere
  BLEND_SOLID = 2,  // drawn opaque everywhere
  BLEND_ALPHA = 3,  // source x alpha + destination x (1 - alpha)
  BLEND_LIGHT = 4,  // destination + source x alpha
  BLEND_SHADE = 5,  // destination x source
};

class TImageFont;

// A 2D driver draws shapes and textures into the contexts it makes. Local points (x, y) land on
// the screen at (x*ix + y*iy + tx, x*jx + y*jy + ty), with the matrix of the last SetTransform.
class TRar2ADriver : public TGraphicsDriver {
 public:
  virtual Ref<TImageFrame> CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) = 0;
  // Frames for several pixmaps, one per pixmap in order (see MakeFramesTogether in image.h); by
  // default each is made on its own.
  virtual std::vector<Ref<TImageFrame>> CreateFramesTogether(
      const std::vector<Ref<TPixmap>>& pixmaps, int flags);
  virtual void SetBlend(int mode) = 0;
  virtual void SetAlpha(float alpha) = 0;
  virtual void SetColor(int r, int g, int b) = 0;
  virtual void SetClsColor(int r, int g, int b) = 0;
  virtual void SetViewport(int x, int y, int w, int h) = 0;
  virtual void SetTransform(float ix, float iy, float jx, float jy) = 0;
  virtual void SetLineWidth(float width) = 0;
  virtual void Cls() = 0;
  virtual void Plot(float x, float y) = 0;
  virtual void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
  virtual void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
  virtual void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
  virtual void DrawPoly(const std::vector<float>& xy, float hx, float hy, float tx, float ty) = 0;
  virtual void DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y) = 0;
  virtual Ref<TPixmap> GrabPixmap(int x, int y, int w, int h) = 0;
  // Whether GrabPixmap returns what was drawn; a driver that draws nothing grabs black.
  virtual bool ReadsBackPixels() const { return true; }
  // Draws an image's or a glyph's frame, as frame->Draw does (which is the default): the one way
  // frames reach the screen, so that a driver standing in for another can keep them for later.
  virtual void DrawFrame(const Ref<TImageFrame>& frame, float x0, float y0, float x1, float y1,
                         float tx, float ty) {
    frame->Draw(x0, y0, x1, y1, tx, ty);
  }
  // From now on drawing, clearing and reading pixels go to that eye's view of a stereo picture
  // (view_recorder.h); Both: to the one picture of a flat frame. A driver without views ignores
  // it.
  virtual void SelectView(StereoEye /*eye*/) {}
};

// The 2D drawing state of one graphics context.
class TRar2AGraphics : public TGraphics {
 public:
  int color_red = 255, color_green = 255, color_blue = 255;
  float color_alpha = 1;
  int clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
  float line_width = 1;
  TTransformState tform;  // rotation, scale, matrix, origin and handle
  int viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0;
  Ref<TImageFont> image_font;
  int blend_mode = BLEND_MASK;
  Ref<TGraphics> _graphics;
  TRar2ADriver* _driver = nullptr;
  bool _setup = false;

  TGraphicsDriver* Driver() override;
  void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) override;
  void Close() override;
  // Re-sends the whole state to the driver.
  virtual void Validate();
  // Becomes the current context; the first time, both buffers are cleared.
  virtual void MakeCurrent();

  static Ref<TRar2AGraphics> Create(const Ref<TGraphics>& g, TRar2ADriver* driver);
  static TRar2AGraphics* Current();
  static void ClearCurrent();
};

// A 2D driver drawing on the contexts of a graphics driver (the OpenGL one, the null one): each of
// its contexts is one of that driver's wrapped in the 2D state above.
class TContextRar2ADriver : public TRar2ADriver {
 public:
  std::vector<TGraphicsMode> GraphicsModes() override;
  Ref<TGraphics> AttachGraphics(unsigned widget, int flags) override;
  Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) override;
  // Makes `g` (one of this driver's, or null for none) current on the graphics driver, readies
  // it (ContextMadeCurrent) and applies its 2D state.
  void SetGraphics(TGraphics* g) override;

 protected:
  // The graphics driver whose contexts these are.
  virtual TGraphicsDriver* ContextDriver() = 0;
  // `g` just became current on the graphics driver, its 2D state not yet applied.
  virtual void ContextMadeCurrent(TRar2AGraphics* /*g*/) {}
};

// The driver drawing goes through: the current context's, or the stereo recorder in front of it
// (view_recorder.h).
TRar2ADriver* Current2DDriver();
// After the stereo mode in use changed: drawing goes through the driver that mode needs, and the
// current context's whole state is sent to it again. Main thread.
void RefreshDrawingDriver();
// On: every command draws nothing (the drawing state still changes as usual) and FlipScreen runs
// its hooks but presents nothing and waits for nothing, so that frames can be computed as fast
// as the machine allows; a frame timing watcher sees none of them. Off: drawing reaches the
// current context again, its whole state sent anew. Main thread.
void SkipDrawing(bool skip);
bool DrawingSkipped();

void Cls();
void SetClsColor(int r, int g, int b);
void SetColor(int r, int g, int b);
void SetAlpha(float alpha);
void SetBlend(int mode);
void SetLineWidth(float width);
void SetViewport(int x, int y, int w, int h);

void QueryColor(int& r, int& g, int& b);
float QueryAlpha();
int QueryBlend();
void QueryClsColor(int& r, int& g, int& b);
void QueryViewport(int& x, int& y, int& w, int& h);
float QueryLineWidth();

// One pixel at (x, y) plus the origin: no handle, no transform.
void Plot(float x, float y);
void DrawRect(float x, float y, float w, float h);
// With `last_pixel` the end point is plotted too.
void DrawLine(float x, float y, float x2, float y2, bool last_pixel = true);
void DrawOval(float x, float y, float w, float h);
// xy holds x0, y0, x1, y1, ...: at least three points.
void DrawPoly(const std::vector<float>& xy);
// Copies the pixels to the back buffer as they are: not transformed, tinted or blended.
void DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y);
// The back buffer's pixels, row 0 at the top.
Ref<TPixmap> GrabPixmap(int x, int y, int w, int h);
