// null_draw2d.cpp - the null 2D driver: state kept, nothing drawn.
#include "graphics/null_draw2d.h"

#include "graphics/null_graphics.h"
#include "graphics/view_recorder.h"

namespace {

int ClampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

TNullRar2ADriver* the_driver = nullptr;

void Count() {
  if (the_driver) ++the_driver->draws;
}

// Frames come from whichever 2D driver is current, in the current graphics generation.
class NullFrameSource : public TImageFrameSource {
 public:
  int GraphicsGeneration() override { return ::GraphicsGeneration(); }
  Ref<TImageFrame> CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) override {
    TRar2ADriver* d = Current2DDriver();
    return d ? d->CreateFrameFromPixmap(pixmap, flags) : nullptr;
  }
  std::vector<Ref<TImageFrame>> CreateFramesTogether(const std::vector<Ref<TPixmap>>& pixmaps,
                                                     int flags) override {
    TRar2ADriver* d = Current2DDriver();
    return d ? d->CreateFramesTogether(pixmaps, flags)
             : std::vector<Ref<TImageFrame>>(pixmaps.size());
  }
};

}  // namespace

TNullRar2ADriver* NullRar2ADriver() {
  static TNullRar2ADriver* d = [] {
    auto* driver = new TNullRar2ADriver;
    driver->Retain();  // lives for the whole program
    the_driver = driver;
    static NullFrameSource source;
    SetImageFrameSource(&source);
    SelectGraphicsDriver(driver, GFX_BACKBUFFER);
    return driver;
  }();
  return d;
}

void TNullImageFrame::Draw(float, float, float, float, float, float) { Count(); }

TGraphicsDriver* TNullRar2ADriver::ContextDriver() { return NullGraphicsDriver(); }

void TNullRar2ADriver::Flip(int sync) {
  FinishStereoFrame();
  StartStereoFrame();
  NullGraphicsDriver()->Flip(sync);
}

void TNullRar2ADriver::SelectView(StereoEye eye) { view = eye; }

Ref<TImageFrame> TNullRar2ADriver::CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int) {
  Ref<TNullImageFrame> frame = New<TNullImageFrame>();
  if (pixmap) {
    frame->width = pixmap->width;
    frame->height = pixmap->height;
  }
  return frame;
}

void TNullRar2ADriver::SetBlend(int mode) { blend = mode; }

void TNullRar2ADriver::SetAlpha(float alpha) {
  if (!(alpha >= 0)) alpha = 0;  // below zero or not a number
  if (alpha > 1) alpha = 1;
  color[3] = static_cast<int>(alpha * 255);
}

void TNullRar2ADriver::SetColor(int r, int g, int b) {
  color[0] = ClampByte(r);
  color[1] = ClampByte(g);
  color[2] = ClampByte(b);
}

void TNullRar2ADriver::SetClsColor(int r, int g, int b) {
  cls_color[0] = ClampByte(r);
  cls_color[1] = ClampByte(g);
  cls_color[2] = ClampByte(b);
}

void TNullRar2ADriver::SetViewport(int x, int y, int w, int h) {
  viewport[0] = x;
  viewport[1] = y;
  viewport[2] = w;
  viewport[3] = h;
}

void TNullRar2ADriver::SetTransform(float ix, float iy, float jx, float jy) {
  transform[0] = ix;
  transform[1] = iy;
  transform[2] = jx;
  transform[3] = jy;
}

void TNullRar2ADriver::SetLineWidth(float width) { line_width = width; }

void TNullRar2ADriver::Cls() {}
void TNullRar2ADriver::Plot(float, float) { Count(); }
void TNullRar2ADriver::DrawLine(float, float, float, float, float, float) { Count(); }
void TNullRar2ADriver::DrawRect(float, float, float, float, float, float) { Count(); }
void TNullRar2ADriver::DrawOval(float, float, float, float, float, float) { Count(); }
void TNullRar2ADriver::DrawPoly(const std::vector<float>&, float, float, float, float) { Count(); }
void TNullRar2ADriver::DrawPixmap(const Ref<TPixmap>&, int, int) { Count(); }

Ref<TPixmap> TNullRar2ADriver::GrabPixmap(int, int, int w, int h) {
  if (w < 1 || h < 1) return nullptr;
  Ref<TPixmap> p = TPixmap::Create(w, h, FORMAT_RGBA8888, 4);
  for (int y = 0; y < h; ++y) {
    unsigned char* row = p->PixelPtr(0, y);
    for (int x = 0; x < w; ++x) row[4 * x + 3] = 255;
  }
  return p;
}
