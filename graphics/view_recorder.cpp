// view_recorder.cpp - the recording 2D driver of the stereo modes and its playback per eye.
#include "graphics/view_recorder.h"

#include <cstdint>

#include "graphics/pixmap_ops.h"
#include "graphics/stereo_layout.h"

namespace {

enum class Op : std::uint8_t {
  Blend,
  Alpha,
  Color,
  ClsColor,
  Viewport,
  Transform,
  LineWidth,
  Cls,
  Plot,
  Line,
  Rect,
  Oval,
  Poly,
  Pixmap,
  Frame,
  Eye,
};

// One call: its integers (modes, colours, rectangles, positions, and indexes into the held
// objects and the polygon points) and its floats.
struct Command {
  Op op;
  int i[4];
  float f[6];
};

// The 2D driver state a run of calls leaves behind.
struct DriverState {
  bool known = false;
  int blend = BLEND_MASK;
  float alpha = 1;
  int color[3] = {255, 255, 255};
  int cls[3] = {0, 0, 0};
  int viewport[4] = {0, 0, 0, 0};
  float transform[4] = {1, 0, 0, 1};
  float line_width = 1;
};

int EyeIndex(StereoEye eye) { return eye == StereoEye::Right ? 1 : 0; }

class TViewRecorder final : public TRar2ADriver {
 public:
  std::string ToString() const override { return "Stereo views"; }

  // Starts over in front of `driver`: nothing recorded, both views' state unknown.
  void Reset(TRar2ADriver* driver) {
    real = driver;
    commands.clear();
    frames.clear();
    pixmaps.clear();
    points.clear();
    eye = StereoEye::Both;
    state[0] = state[1] = DriverState{};
  }

  // Plays the calls recorded so far into each eye's view, then starts a new list. The eye mark
  // in force carries on into it.
  void Play() {
    if (!real || commands.empty()) return;
    for (StereoEye view : {StereoEye::Left, StereoEye::Right}) {
      DriverState& s = state[EyeIndex(view)];
      real->SelectView(view);
      if (s.known) Send(s);
      bool seen = true;
      for (const Command& c : commands) {
        if (c.op == Op::Eye) {
          seen = c.i[0] == static_cast<int>(StereoEye::Both) || c.i[0] == static_cast<int>(view);
        } else if (seen) {
          Apply(c, s);
        }
      }
      s.known = true;
    }
    commands.clear();
    frames.clear();
    pixmaps.clear();
    points.clear();
    if (eye != StereoEye::Both) Mark(eye);
  }

  void Mark(StereoEye e) {
    eye = e;
    Record(Op::Eye, {static_cast<int>(e)});
  }

  TRar2ADriver* real = nullptr;
  StereoEye eye = StereoEye::Both;

  // --- what is forwarded: the graphics driver's side and the making of frames ----------------
  std::vector<TGraphicsMode> GraphicsModes() override { return real->GraphicsModes(); }
  Ref<TGraphics> AttachGraphics(unsigned widget, int flags) override {
    return real->AttachGraphics(widget, flags);
  }
  Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) override {
    return real->CreateGraphics(width, height, depth, hertz, flags);
  }
  void SetGraphics(TGraphics* g) override { real->SetGraphics(g); }
  void Flip(int sync) override { real->Flip(sync); }
  void FinishFrame() override { real->FinishFrame(); }
  Ref<TImageFrame> CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) override {
    return real->CreateFrameFromPixmap(pixmap, flags);
  }
  std::vector<Ref<TImageFrame>> CreateFramesTogether(const std::vector<Ref<TPixmap>>& pixmaps,
                                                     int flags) override {
    return real->CreateFramesTogether(pixmaps, flags);
  }
  bool ReadsBackPixels() const override { return real->ReadsBackPixels(); }

  // --- what is recorded ------------------------------------------------------------------
  void SetBlend(int mode) override { Record(Op::Blend, {mode}); }
  void SetAlpha(float alpha) override { Record(Op::Alpha, {}, {alpha}); }
  void SetColor(int r, int g, int b) override { Record(Op::Color, {r, g, b}); }
  void SetClsColor(int r, int g, int b) override { Record(Op::ClsColor, {r, g, b}); }
  void SetViewport(int x, int y, int w, int h) override { Record(Op::Viewport, {x, y, w, h}); }
  void SetTransform(float ix, float iy, float jx, float jy) override {
    Record(Op::Transform, {}, {ix, iy, jx, jy});
  }
  void SetLineWidth(float width) override { Record(Op::LineWidth, {}, {width}); }
  void Cls() override { Record(Op::Cls, {}); }
  void Plot(float x, float y) override { Record(Op::Plot, {}, {x, y}); }
  void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override {
    Record(Op::Line, {}, {x0, y0, x1, y1, tx, ty});
  }
  void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) override {
    Record(Op::Rect, {}, {x0, y0, x1, y1, tx, ty});
  }
  void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) override {
    Record(Op::Oval, {}, {x0, y0, x1, y1, tx, ty});
  }
  void DrawPoly(const std::vector<float>& xy, float hx, float hy, float tx, float ty) override {
    const int first = static_cast<int>(points.size());
    points.insert(points.end(), xy.begin(), xy.end());
    Record(Op::Poly, {first, static_cast<int>(xy.size())}, {hx, hy, tx, ty});
  }
  void DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y) override {
    pixmaps.push_back(pixmap);
    Record(Op::Pixmap, {static_cast<int>(pixmaps.size()) - 1, x, y});
  }
  void DrawFrame(const Ref<TImageFrame>& frame, float x0, float y0, float x1, float y1, float tx,
                 float ty) override {
    frames.push_back(frame);
    Record(Op::Frame, {static_cast<int>(frames.size()) - 1}, {x0, y0, x1, y1, tx, ty});
  }
  // The left eye's view, with everything recorded so far drawn.
  Ref<TPixmap> GrabPixmap(int x, int y, int w, int h) override {
    return GrabView(StereoEye::Left, x, y, w, h);
  }
  Ref<TPixmap> GrabView(StereoEye view, int x, int y, int w, int h) {
    Play();
    real->SelectView(view == StereoEye::Right ? StereoEye::Right : StereoEye::Left);
    return real->GrabPixmap(x, y, w, h);
  }

 private:
  void Record(Op op, std::initializer_list<int> ints, std::initializer_list<float> floats = {}) {
    Command c{op, {0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}};
    int* i = c.i;
    for (int v : ints) *i++ = v;
    float* f = c.f;
    for (float v : floats) *f++ = v;
    commands.push_back(c);
  }

  // The whole state, as the view last left it.
  void Send(const DriverState& s) {
    real->SetBlend(s.blend);
    real->SetColor(s.color[0], s.color[1], s.color[2]);
    real->SetAlpha(s.alpha);
    real->SetClsColor(s.cls[0], s.cls[1], s.cls[2]);
    real->SetLineWidth(s.line_width);
    real->SetTransform(s.transform[0], s.transform[1], s.transform[2], s.transform[3]);
    real->SetViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
  }

  void Apply(const Command& c, DriverState& s) {
    const int* i = c.i;
    const float* f = c.f;
    switch (c.op) {
      case Op::Blend:
        s.blend = i[0];
        real->SetBlend(i[0]);
        break;
      case Op::Alpha:
        s.alpha = f[0];
        real->SetAlpha(f[0]);
        break;
      case Op::Color:
        s.color[0] = i[0], s.color[1] = i[1], s.color[2] = i[2];
        real->SetColor(i[0], i[1], i[2]);
        break;
      case Op::ClsColor:
        s.cls[0] = i[0], s.cls[1] = i[1], s.cls[2] = i[2];
        real->SetClsColor(i[0], i[1], i[2]);
        break;
      case Op::Viewport:
        for (int k = 0; k < 4; ++k) s.viewport[k] = i[k];
        real->SetViewport(i[0], i[1], i[2], i[3]);
        break;
      case Op::Transform:
        for (int k = 0; k < 4; ++k) s.transform[k] = f[k];
        real->SetTransform(f[0], f[1], f[2], f[3]);
        break;
      case Op::LineWidth:
        s.line_width = f[0];
        real->SetLineWidth(f[0]);
        break;
      case Op::Cls:
        real->Cls();
        break;
      case Op::Plot:
        real->Plot(f[0], f[1]);
        break;
      case Op::Line:
        real->DrawLine(f[0], f[1], f[2], f[3], f[4], f[5]);
        break;
      case Op::Rect:
        real->DrawRect(f[0], f[1], f[2], f[3], f[4], f[5]);
        break;
      case Op::Oval:
        real->DrawOval(f[0], f[1], f[2], f[3], f[4], f[5]);
        break;
      case Op::Poly: {
        const auto first = points.begin() + i[0];
        real->DrawPoly(std::vector<float>(first, first + i[1]), f[0], f[1], f[2], f[3]);
        break;
      }
      case Op::Pixmap:
        real->DrawPixmap(pixmaps[i[0]], i[1], i[2]);
        break;
      case Op::Frame:
        real->DrawFrame(frames[i[0]], f[0], f[1], f[2], f[3], f[4], f[5]);
        break;
      case Op::Eye:
        break;
    }
  }

  std::vector<Command> commands;
  std::vector<Ref<TImageFrame>> frames;  // the frames and pixmaps drawn, alive until played
  std::vector<Ref<TPixmap>> pixmaps;
  std::vector<float> points;  // the polygons' points
  DriverState state[2];       // where each eye's view was left, left and right
};

TViewRecorder* Recorder() {
  static TViewRecorder* r = [] {
    auto* recorder = new TViewRecorder;
    recorder->Retain();  // lives for the whole program
    return recorder;
  }();
  return r;
}

// The recorder when drawing goes through it now.
TViewRecorder* Recording() {
  TViewRecorder* r = Recorder();
  return Current2DDriver() == r ? r : nullptr;
}

}  // namespace

TRar2ADriver* StereoDrawingDriver(TRar2ADriver* driver) {
  TViewRecorder* r = Recorder();
  if (!driver || StereoModeInUse() == StereoMode::Off) {
    if (r->real) {
      r->real->SelectView(StereoEye::Both);
      r->Reset(nullptr);
    }
    return driver;
  }
  if (r->real != driver || Current2DDriver() != r) r->Reset(driver);
  return r;
}

void SetStereoEye(StereoEye eye) {
  if (TViewRecorder* r = Recording(); r && r->eye != eye) r->Mark(eye);
}

StereoEye CurrentStereoEye() {
  TViewRecorder* r = Recording();
  return r ? r->eye : StereoEye::Both;
}

void FinishStereoFrame() {
  if (TViewRecorder* r = Recording()) r->Play();
}

void StartStereoFrame() {
  if (AdoptChosenStereoMode()) RefreshDrawingDriver();
}

Ref<TPixmap> GrabEyeView(StereoEye eye, int x, int y, int w, int h) {
  TViewRecorder* r = Recording();
  return r ? r->GrabView(eye, x, y, w, h) : nullptr;
}

Ref<TPixmap> GrabStereoPicture() {
  if (!TRar2AGraphics::Current()) return nullptr;
  const int w = ContextWidth(), h = ContextHeight();
  TViewRecorder* r = Recording();
  if (!r) return GrabPixmap(0, 0, w, h);
  const StereoMode mode = StereoModeInUse();
  const PictureSize size = StereoPictureSize(mode, w, h);
  const StereoPictureViews places = StereoViewsInPicture(mode, w, h);
  Ref<TPixmap> picture = TPixmap::Create(size.width, size.height, FORMAT_RGBA8888, 4);
  for (StereoEye eye : {StereoEye::Left, StereoEye::Right}) {
    Ref<TPixmap> view = r->GrabView(eye, 0, 0, w, h);
    if (!view) return nullptr;
    const PictureRect& at = places.views[EyeIndex(eye)];
    if (at.width != w || at.height != h) view = ScalePixmap(view, at.width, at.height);
    picture->Paste(view, at.x, at.y);
  }
  return picture;
}
