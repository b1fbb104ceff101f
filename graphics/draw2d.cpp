// draw2d.cpp - the 2D drawing state and the commands over the current 2D driver.
#include "graphics/draw2d.h"

#include "graphics/font.h"
#include "graphics/null_draw2d.h"
#include "graphics/view_recorder.h"

namespace {

TRar2AGraphics* current = nullptr;
TRar2ADriver* current_driver = nullptr;

// Where drawing goes while it is skipped: the null driver's bookkeeping, and frames of any
// driver dropped rather than drawn.
class TSkippedDrawing : public TNullRar2ADriver {
 public:
  void DrawFrame(const Ref<TImageFrame>&, float, float, float, float, float, float) override {
    ++draws;
  }
};
bool skipping = false;

TRar2ADriver* SkippedDrawing() {
  static TSkippedDrawing* driver = [] {
    auto* d = new TSkippedDrawing;
    d->Retain();  // lives for the whole program
    return d;
  }();
  return driver;
}

// Every transform update lands in the driver of the current context.
void SendTransform(float ix, float iy, float jx, float jy) {
  if (current_driver) current_driver->SetTransform(ix, iy, jx, jy);
}

}  // namespace

TRar2ADriver* Current2DDriver() { return current_driver; }

std::vector<Ref<TImageFrame>> TRar2ADriver::CreateFramesTogether(
    const std::vector<Ref<TPixmap>>& pixmaps, int flags) {
  return FramesOneByOne(pixmaps,
                        [&](const Ref<TPixmap>& p) { return CreateFrameFromPixmap(p, flags); });
}
TRar2AGraphics* TRar2AGraphics::Current() { return current; }

void RefreshDrawingDriver() {
  if (!current || skipping) return;
  current_driver = StereoDrawingDriver(current->_driver);
  current->Validate();
}

void SkipDrawing(bool skip) {
  if (skip == skipping) return;
  if (skip) {
    current_driver = SkippedDrawing();
    skipping = true;
    return;
  }
  skipping = false;
  current_driver = nullptr;
  RefreshDrawingDriver();
}

bool DrawingSkipped() { return skipping; }

void TRar2AGraphics::ClearCurrent() {
  current = nullptr;
  StereoDrawingDriver(nullptr);  // what was recorded for the context goes with it
  current_driver = nullptr;
  SetCurrentTransformState(nullptr);
}

Ref<TRar2AGraphics> TRar2AGraphics::Create(const Ref<TGraphics>& g, TRar2ADriver* driver) {
  Ref<TRar2AGraphics> t = New<TRar2AGraphics>();
  int width, height, depth, hertz, flags;
  g->GetSettings(width, height, depth, hertz, flags);
  t->image_font = DefaultImageFont();
  t->viewport_w = width;
  t->viewport_h = height;
  t->tform.ComputeMatrix();
  t->_graphics = g;
  t->_driver = driver;
  return t;
}

TGraphicsDriver* TRar2AGraphics::Driver() { return _driver; }

void TRar2AGraphics::GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) {
  if (!_graphics) {
    width = height = depth = hertz = flags = 0;
    return;
  }
  _graphics->GetSettings(width, height, depth, hertz, flags);
}

void TRar2AGraphics::Close() {
  if (this == current) ClearCurrent();
  if (_graphics) _graphics->Close();
  _graphics.reset();
  _driver = nullptr;
}

void TRar2AGraphics::Validate() {
  // The current context's state goes the way all its drawing goes (through a stereo recorder).
  TRar2ADriver* d = this == current ? current_driver : _driver;
  if (!d) return;
  d->SetBlend(blend_mode);
  d->SetColor(color_red, color_green, color_blue);
  d->SetAlpha(color_alpha);
  d->SetClsColor(clscolor_red, clscolor_green, clscolor_blue);
  d->SetLineWidth(line_width);
  UpdateTransform();  // rotation and scale, into the driver and the collision transform
  d->SetViewport(viewport_x, viewport_y, viewport_w, viewport_h);
}

void TRar2AGraphics::MakeCurrent() {
  current = this;
  AdoptChosenStereoMode();
  current_driver = skipping ? SkippedDrawing() : StereoDrawingDriver(_driver);
  SetCurrentTransformState(&tform);
  SetTransformSink(SendTransform);
  Validate();
  if (!_setup) {
    // Both buffers start out cleared to the clear colour.
    ::Cls();
    FlipScreen(0);
    ::Cls();
    FlipScreen(0);
    _setup = true;
  }
}

void Cls() {
  if (current_driver) current_driver->Cls();
}

void SetClsColor(int r, int g, int b) {
  if (!current) return;
  current->clscolor_red = r;
  current->clscolor_green = g;
  current->clscolor_blue = b;
  current_driver->SetClsColor(r, g, b);
}

void SetColor(int r, int g, int b) {
  if (!current) return;
  current->color_red = r;
  current->color_green = g;
  current->color_blue = b;
  current_driver->SetColor(r, g, b);
}

void SetAlpha(float alpha) {
  if (!current) return;
  current->color_alpha = alpha;
  current_driver->SetAlpha(alpha);
}

void SetBlend(int mode) {
  if (!current) return;
  current->blend_mode = mode;
  current_driver->SetBlend(mode);
}

void SetLineWidth(float width) {
  if (!current) return;
  current->line_width = width;
  current_driver->SetLineWidth(width);
}

void SetViewport(int x, int y, int w, int h) {
  if (!current) return;
  current->viewport_x = x;
  current->viewport_y = y;
  current->viewport_w = w;
  current->viewport_h = h;
  current_driver->SetViewport(x, y, w, h);
}

void QueryColor(int& r, int& g, int& b) {
  TRar2AGraphics d;
  const TRar2AGraphics& s = current ? *current : d;
  r = s.color_red;
  g = s.color_green;
  b = s.color_blue;
}

float QueryAlpha() { return current ? current->color_alpha : 1.0f; }
int QueryBlend() { return current ? current->blend_mode : BLEND_MASK; }

void QueryClsColor(int& r, int& g, int& b) {
  r = current ? current->clscolor_red : 0;
  g = current ? current->clscolor_green : 0;
  b = current ? current->clscolor_blue : 0;
}

void QueryViewport(int& x, int& y, int& w, int& h) {
  x = current ? current->viewport_x : 0;
  y = current ? current->viewport_y : 0;
  w = current ? current->viewport_w : 0;
  h = current ? current->viewport_h : 0;
}

float QueryLineWidth() { return current ? current->line_width : 1.0f; }

void Plot(float x, float y) {
  if (!current) return;
  const TTransformState& t = current->tform;
  current_driver->Plot(x + t.origin_x, y + t.origin_y);
}

void DrawRect(float x, float y, float w, float h) {
  if (!current) return;
  const TTransformState& t = current->tform;
  current_driver->DrawRect(t.handle_x, t.handle_y, t.handle_x + w, t.handle_y + h, x + t.origin_x,
                           y + t.origin_y);
}

void DrawLine(float x, float y, float x2, float y2, bool last_pixel) {
  if (!current) return;
  const TTransformState& t = current->tform;
  float dx = t.handle_x + x2 - x, dy = t.handle_y + y2 - y;
  current_driver->DrawLine(t.handle_x, t.handle_y, dx, dy, x + t.origin_x, y + t.origin_y);
  if (last_pixel) {
    current_driver->Plot(dx * t.tform_ix + dy * t.tform_iy + x + t.origin_x,
                         dx * t.tform_jx + dy * t.tform_jy + y + t.origin_y);
  }
}

void DrawOval(float x, float y, float w, float h) {
  if (!current) return;
  const TTransformState& t = current->tform;
  current_driver->DrawOval(t.handle_x, t.handle_y, t.handle_x + w, t.handle_y + h, x + t.origin_x,
                           y + t.origin_y);
}

void DrawPoly(const std::vector<float>& xy) {
  if (!current) return;
  const TTransformState& t = current->tform;
  current_driver->DrawPoly(xy, t.handle_x, t.handle_y, t.origin_x, t.origin_y);
}

void DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y) {
  if (current_driver && pixmap) current_driver->DrawPixmap(pixmap, x, y);
}

Ref<TPixmap> GrabPixmap(int x, int y, int w, int h) {
  if (!current_driver) return nullptr;
  return current_driver->GrabPixmap(x, y, w, h);
}

std::vector<TGraphicsMode> TContextRar2ADriver::GraphicsModes() {
  return ContextDriver()->GraphicsModes();
}

Ref<TGraphics> TContextRar2ADriver::AttachGraphics(unsigned widget, int flags) {
  Ref<TGraphics> g = ContextDriver()->AttachGraphics(widget, flags);
  return g ? Ref<TGraphics>(TRar2AGraphics::Create(g, this)) : nullptr;
}

Ref<TGraphics> TContextRar2ADriver::CreateGraphics(int width, int height, int depth, int hertz,
                                                   int flags) {
  Ref<TGraphics> g = ContextDriver()->CreateGraphics(width, height, depth, hertz, flags);
  return g ? Ref<TGraphics>(TRar2AGraphics::Create(g, this)) : nullptr;
}

void TContextRar2ADriver::SetGraphics(TGraphics* g) {
  auto* t = dynamic_cast<TRar2AGraphics*>(g);
  if (!t) {
    TRar2AGraphics::ClearCurrent();
    ContextDriver()->SetGraphics(nullptr);
    return;
  }
  ContextDriver()->SetGraphics(t->_graphics.get());
  ContextMadeCurrent(t);
  t->MakeCurrent();
}
