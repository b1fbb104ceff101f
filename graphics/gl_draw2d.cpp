// gl_draw2d.cpp - OpenGL 1.1 drawing: state caches, textures, shapes, pixel transfers.
#include "graphics/gl_draw2d.h"

#include <GL/gl.h>

#include <cmath>

#include "core/error.h"
#include "graphics/frame_sheet.h"
#include "graphics/gl_graphics.h"
#include "graphics/pixmap_ops.h"
#include "graphics/shared_context.h"
#include "graphics/view_recorder.h"

namespace {

// The blend mode is sent to OpenGL when something is drawn, not when it is set: every state
// change ends the batch of vertices the GL has gathered, and the game sets a mode and puts the
// one before back around every sprite (three hundred stars a frame, each in its own pair), so
// most settings are undone before anything is drawn with them. 0: not known (a fresh context).
int wanted_blend = 0;
int applied_blend = 0;
GLuint bound_texture = 0;
bool texturing = false;
GLubyte colour[4] = {255, 255, 255, 255};
float ix = 1, iy = 0, jx = 0, jy = 1;

void ApplyBlend() {
  if (wanted_blend == applied_blend) return;
  applied_blend = wanted_blend;
  switch (wanted_blend) {
    case BLEND_MASK:
      glDisable(GL_BLEND);
      glEnable(GL_ALPHA_TEST);
      glAlphaFunc(GL_GEQUAL, 0.5f);
      break;
    case BLEND_ALPHA:
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      glDisable(GL_ALPHA_TEST);
      break;
    case BLEND_LIGHT:
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE);
      glDisable(GL_ALPHA_TEST);
      break;
    case BLEND_SHADE:
      glEnable(GL_BLEND);
      glBlendFunc(GL_DST_COLOR, GL_ZERO);
      glDisable(GL_ALPHA_TEST);
      break;
    default:
      glDisable(GL_BLEND);
      glDisable(GL_ALPHA_TEST);
      break;
  }
}

// Draws a point, a line, a rectangle and a textured rectangle (an unfiltered RGBA texture, as
// the game's images are) in every blend mode, into a corner of the picture that is cleared right
// after. A software rasteriser compiles a shader the first time it meets a combination of state,
// which takes tens of milliseconds: met here, when the context opens, rather than in the middle
// of a game the first time a screen draws something new. (Texture switches by the hundred, which
// would grow the renderer's memory on a screen's first frame, do not happen: text and sprites
// draw from textures shared by many frames, see MakeFramesTogether.)
void WarmUpPipelines() {
  const GLubyte white[2 * 2 * 4] = {255, 255, 255, 255, 255, 255, 255, 255,
                                    255, 255, 255, 255, 255, 255, 255, 255};
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
  for (int mode : {BLEND_MASK, BLEND_SOLID, BLEND_ALPHA, BLEND_LIGHT, BLEND_SHADE}) {
    wanted_blend = mode;
    ApplyBlend();
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_POINTS);
    glVertex2f(0.5f, 0.5f);
    glEnd();
    glBegin(GL_LINES);
    glVertex2f(0.5f, 0.5f);
    glVertex2f(3.5f, 0.5f);
    glEnd();
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(2, 0);
    glVertex2f(2, 2);
    glVertex2f(0, 2);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(1, 0);
    glVertex2f(2, 0);
    glTexCoord2f(1, 1);
    glVertex2f(2, 2);
    glTexCoord2f(0, 1);
    glVertex2f(0, 2);
    glEnd();
  }
  glDisable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);
  glDeleteTextures(1, &name);
  bound_texture = 0;
  texturing = false;
  glClear(GL_COLOR_BUFFER_BIT);
}

void EnableTexture(GLuint name) {
  if (name != bound_texture) {
    glBindTexture(GL_TEXTURE_2D, name);
    bound_texture = name;
  }
  if (!texturing) {
    glEnable(GL_TEXTURE_2D);
    texturing = true;
  }
}

void DisableTexture() {
  if (texturing) {
    glDisable(GL_TEXTURE_2D);
    texturing = false;
  }
}

void Vertex(float x, float y, float tx, float ty) {
  glVertex2f(x * ix + y * iy + tx, x * jx + y * jy + ty);
}

// The side of a texture that frames made together share: 1024 x 1024 holds a few thousand glyphs
// and still uploads in well under a millisecond.
constexpr int kSheetSide = 1024;

int ClampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// Frames are made in the graphics generation current at the time, and the image layer asks for
// them through this source.
class GLFrameSource : public TImageFrameSource {
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

int OvalSegments(float x_radius, float y_radius) {
  // Bounded before the conversion: a radius past the int range (or infinite) would not convert,
  // and billions of vertices would hang the frame. A radius that is not a number counts as small.
  const float sum = std::fabs(x_radius) + std::fabs(y_radius);
  int segments = 12;
  if (sum > 12) segments = sum < kMaxOvalSegments ? static_cast<int>(sum) : kMaxOvalSegments;
  return segments & ~3;
}

TGLRar2ADriver* GLRar2ADriver() {
  static TGLRar2ADriver* d = [] {
    auto* driver = new TGLRar2ADriver;
    driver->Retain();  // lives for the whole program
    static GLFrameSource source;
    SetImageFrameSource(&source);
    SelectGraphicsDriver(driver, GFX_BACKBUFFER);
    return driver;
  }();
  return d;
}

// --- textures ---------------------------------------------------------------------------

void TGLImageFrame::TextureSize(int width, int height, int& tex_width, int& tex_height) {
  int w = PowerOfTwoAtLeast(width), h = PowerOfTwoAtLeast(height);
  // No driver takes a side past its largest texture, and some crash on a proxy that large
  // (Mesa at 2^30): halve as the probe below would, without asking.
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  while (largest > 0 && (w > largest || h > largest)) {
    if (w > 1) w /= 2;
    if (h > 1) h /= 2;
  }
  for (;;) {
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, 4, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    GLint accepted = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &accepted);
    if (accepted != 0) break;
    if (w == 1 && h == 1) RuntimeError("Unable to calculate tex size");
    if (w > 1) w /= 2;
    if (h > 1) h /= 2;
  }
  tex_width = w;
  tex_height = h;
}

Ref<TPixmap> TGLImageFrame::PaddedPixmap(const Ref<TPixmap>& source, int tex_width,
                                         int tex_height) {
  int width = source->width, height = source->height;
  // With no pixels there is no edge to repeat: the texture is clear.
  if (width <= 0 || height <= 0) return TPixmap::Create(tex_width, tex_height, FORMAT_RGBA8888, 4);
  if (width >= tex_width && height >= tex_height) {
    return source->format == FORMAT_RGBA8888 ? source : source->Convert(FORMAT_RGBA8888);
  }
  Ref<TPixmap> padded = TPixmap::Create(tex_width, tex_height, FORMAT_RGBA8888, 4);
  padded->Paste(source, 0, 0);
  if (width < tex_width) padded->Paste(source->Window(width - 1, 0, 1, height), width, 0);
  if (height < tex_height) {
    padded->Paste(source->Window(0, height - 1, width, 1), 0, height);
    if (width < tex_width) {
      padded->Paste(source->Window(width - 1, height - 1, 1, 1), width, height);
    }
  }
  return padded;
}

Ref<TGLImageFrame> TGLImageFrame::CreateFromPixmap(const Ref<TPixmap>& pixmap, int flags) {
  if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0) return nullptr;
  int tex_width, tex_height;
  TextureSize(pixmap->width, pixmap->height, tex_width, tex_height);
  int width = std::min(pixmap->width, tex_width), height = std::min(pixmap->height, tex_height);
  Ref<TPixmap> source = pixmap;
  if (width != pixmap->width || height != pixmap->height) {
    source = ScalePixmap(pixmap, width, height);
  }
  Ref<TPixmap> upload = PaddedPixmap(source, tex_width, tex_height);

  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  bool filtered = flags & IMAGE_FILTERED, mipmapped = flags & IMAGE_MIPMAPPED;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filtered ? GL_LINEAR : GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                  filtered ? (mipmapped ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR)
                           : (mipmapped ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST));
  int level = 0;
  for (int w = tex_width, h = tex_height;; ++level) {
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    if (!mipmapped || (w == 1 && h == 1)) break;
    if (w > 1) w /= 2;
    if (h > 1) h /= 2;
  }
  Ref<TPixmap> level_pixmap = upload;
  for (level = 0;; ++level) {
    glPixelStorei(GL_UNPACK_ROW_LENGTH, level_pixmap->pitch / 4);
    glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, level_pixmap->width, level_pixmap->height, GL_RGBA,
                    GL_UNSIGNED_BYTE, level_pixmap->pixels);
    int w = level_pixmap->width, h = level_pixmap->height;
    if (!mipmapped || (w == 1 && h == 1)) break;
    level_pixmap = ScalePixmap(level_pixmap, w > 1 ? w / 2 : 1, h > 1 ? h / 2 : 1);
  }
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  bound_texture = 0;  // the binding above was made behind the cache's back

  Ref<TGLImageFrame> frame = New<TGLImageFrame>();
  frame->name = name;
  frame->u1 = static_cast<float>(width) / tex_width;
  frame->v1 = static_cast<float>(height) / tex_height;
  frame->seq = GraphicsGeneration();
  return frame;
}

std::vector<Ref<TImageFrame>> TGLImageFrame::CreateTogether(
    const std::vector<Ref<TPixmap>>& pixmaps, int flags) {
  auto each_on_its_own = [&] {
    return FramesOneByOne(pixmaps, [&](const Ref<TPixmap>& p) -> Ref<TImageFrame> {
      return CreateFromPixmap(p, flags);
    });
  };
  if (flags & (IMAGE_FILTERED | IMAGE_MIPMAPPED)) return each_on_its_own();
  std::vector<FrameSheetCell> sizes;
  sizes.reserve(pixmaps.size());
  for (const Ref<TPixmap>& p : pixmaps) {
    sizes.push_back(p ? FrameSheetCell{0, 0, p->width, p->height} : FrameSheetCell{});
  }
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  const FrameSheetLayout layout = LayOutFrameSheet(sizes, std::min<int>(largest, kSheetSide));
  if (!layout.fits) return each_on_its_own();
  int tex_width, tex_height;
  TextureSize(layout.width, layout.height, tex_width, tex_height);
  if (tex_width != layout.width || tex_height != layout.height) return each_on_its_own();

  Ref<TGLImageFrame> sheet = CreateFromPixmap(PaintFrameSheet(pixmaps, layout), 0);
  if (!sheet) return each_on_its_own();
  const float w = static_cast<float>(layout.width), h = static_cast<float>(layout.height);
  std::vector<Ref<TImageFrame>> frames;
  frames.reserve(layout.cells.size());
  for (const FrameSheetCell& c : layout.cells) {
    if (c.width <= 0 || c.height <= 0) {
      frames.push_back(nullptr);
      continue;
    }
    Ref<TGLImageFrame> frame = New<TGLImageFrame>();
    frame->name = sheet->name;
    frame->u0 = static_cast<float>(c.x) / w;
    frame->v0 = static_cast<float>(c.y) / h;
    frame->u1 = static_cast<float>(c.x + c.width) / w;
    frame->v1 = static_cast<float>(c.y + c.height) / h;
    frame->sheet = sheet;  // seq stays 0: the sheet deletes the texture when its last cell goes
    frames.push_back(frame);
  }
  return frames;
}

TGLImageFrame::~TGLImageFrame() {
  if (seq == 0) return;
  {
    SharedContextScope shared;
    glDeleteTextures(1, &name);
  }
  if (seq == GraphicsGeneration()) {
    glDeleteTextures(1, &name);
    if (bound_texture == name) bound_texture = 0;
  }
  seq = 0;
}

void TGLImageFrame::Draw(float x0, float y0, float x1, float y1, float tx, float ty) {
  ApplyBlend();
  EnableTexture(name);
  glBegin(GL_QUADS);
  glTexCoord2f(u0, v0);
  Vertex(x0, y0, tx, ty);
  glTexCoord2f(u1, v0);
  Vertex(x1, y0, tx, ty);
  glTexCoord2f(u1, v1);
  Vertex(x1, y1, tx, ty);
  glTexCoord2f(u0, v1);
  Vertex(x0, y1, tx, ty);
  glEnd();
}

// --- graphics-driver operations ---------------------------------------------------------

TGraphicsDriver* TGLRar2ADriver::ContextDriver() { return GLGraphicsDriver(); }

void TGLRar2ADriver::ContextMadeCurrent(TRar2AGraphics* g) {
  ResetGLContext(g);
  if (!g->_setup) WarmUpPipelines();  // before MakeCurrent clears both buffers for the first time
}

// A stereo frame is drawn into its views before it is shown, and the next frame is drawn in the
// stereo mode chosen meanwhile (which the graphics driver's flip lays the window out for).
void TGLRar2ADriver::Flip(int sync) {
  FinishStereoFrame();
  StartStereoFrame();
  GLGraphicsDriver()->Flip(sync);
}

void TGLRar2ADriver::FinishFrame() {
  FinishStereoFrame();
  GLGraphicsDriver()->FinishFrame();
}

void TGLRar2ADriver::SelectView(StereoEye eye) { GLGraphicsDriver()->BindView(eye); }

void TGLRar2ADriver::ResetGLContext(TGraphics* g) {
  int width, height, depth, hertz, flags;
  g->GetSettings(width, height, depth, hertz, flags);
  wanted_blend = applied_blend = 0;
  bound_texture = 0;
  texturing = false;
  glDisable(GL_TEXTURE_2D);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, height, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glViewport(0, 0, width, height);
}

// --- 2D state ---------------------------------------------------------------------------

Ref<TImageFrame> TGLRar2ADriver::CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) {
  SharedContextScope shared;
  return TGLImageFrame::CreateFromPixmap(pixmap, flags);
}

std::vector<Ref<TImageFrame>> TGLRar2ADriver::CreateFramesTogether(
    const std::vector<Ref<TPixmap>>& pixmaps, int flags) {
  SharedContextScope shared;
  return TGLImageFrame::CreateTogether(pixmaps, flags);
}

void TGLRar2ADriver::SetBlend(int mode) { wanted_blend = mode; }

void TGLRar2ADriver::SetAlpha(float alpha) {
  if (!(alpha >= 0)) alpha = 0;  // below zero or not a number
  if (alpha > 1) alpha = 1;
  colour[3] = static_cast<GLubyte>(alpha * 255);
  glColor4ubv(colour);
}

void TGLRar2ADriver::SetColor(int r, int g, int b) {
  colour[0] = static_cast<GLubyte>(ClampByte(r));
  colour[1] = static_cast<GLubyte>(ClampByte(g));
  colour[2] = static_cast<GLubyte>(ClampByte(b));
  glColor4ubv(colour);
}

void TGLRar2ADriver::SetClsColor(int r, int g, int b) {
  glClearColor(ClampByte(r) / 255.0f, ClampByte(g) / 255.0f, ClampByte(b) / 255.0f, 1.0f);
}

void TGLRar2ADriver::SetViewport(int x, int y, int w, int h) {
  int height = ContextHeight();
  if (x == 0 && y == 0 && w == ContextWidth() && h == height) {
    glDisable(GL_SCISSOR_TEST);
  } else {
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, height - y - h, w, h);
  }
}

void TGLRar2ADriver::SetTransform(float nix, float niy, float njx, float njy) {
  ix = nix;
  iy = niy;
  jx = njx;
  jy = njy;
}

void TGLRar2ADriver::SetLineWidth(float width) { glLineWidth(width); }

void TGLRar2ADriver::Cls() { glClear(GL_COLOR_BUFFER_BIT); }

// --- shapes -----------------------------------------------------------------------------

void TGLRar2ADriver::Plot(float x, float y) {
  ApplyBlend();
  DisableTexture();
  glBegin(GL_POINTS);
  glVertex2f(x + 0.5f, y + 0.5f);
  glEnd();
}

void TGLRar2ADriver::DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) {
  ApplyBlend();
  DisableTexture();
  glBegin(GL_LINES);
  Vertex(x0, y0, tx + 0.5f, ty + 0.5f);
  Vertex(x1, y1, tx + 0.5f, ty + 0.5f);
  glEnd();
}

void TGLRar2ADriver::DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) {
  ApplyBlend();
  DisableTexture();
  glBegin(GL_QUADS);
  Vertex(x0, y0, tx, ty);
  Vertex(x1, y0, tx, ty);
  Vertex(x1, y1, tx, ty);
  Vertex(x0, y1, tx, ty);
  glEnd();
}

void TGLRar2ADriver::DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) {
  float xr = (x1 - x0) * 0.5f, yr = (y1 - y0) * 0.5f;
  float cx = x0 + xr, cy = y0 + yr;
  int segments = OvalSegments(xr, yr);
  ApplyBlend();
  DisableTexture();
  glBegin(GL_POLYGON);
  for (int i = 0; i < segments; ++i) {
    double theta = i * 360.0 / segments * M_PI / 180.0;
    Vertex(static_cast<float>(cx + std::cos(theta) * xr),
           static_cast<float>(cy - std::sin(theta) * yr), tx, ty);
  }
  glEnd();
}

void TGLRar2ADriver::DrawPoly(const std::vector<float>& xy, float hx, float hy, float tx,
                              float ty) {
  if (xy.size() < 6 || xy.size() % 2 != 0) return;
  ApplyBlend();
  DisableTexture();
  glBegin(GL_POLYGON);
  for (std::size_t k = 0; k + 1 < xy.size(); k += 2) Vertex(xy[k] + hx, xy[k + 1] + hy, tx, ty);
  glEnd();
}

// --- pixel transfers --------------------------------------------------------------------

void TGLRar2ADriver::DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y) {
  int blend = wanted_blend;
  SetBlend(BLEND_SOLID);
  ApplyBlend();
  DisableTexture();
  Ref<TPixmap> flipped = FlipPixmapVertically(pixmap);
  if (flipped->format != FORMAT_RGBA8888) flipped = flipped->Convert(FORMAT_RGBA8888);
  glRasterPos2i(0, 0);
  glBitmap(0, 0, 0, 0, static_cast<float>(x), static_cast<float>(-y - flipped->height), nullptr);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, flipped->pitch / 4);
  glDrawPixels(flipped->width, flipped->height, GL_RGBA, GL_UNSIGNED_BYTE, flipped->pixels);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  SetBlend(blend);
}

Ref<TPixmap> TGLRar2ADriver::GrabPixmap(int x, int y, int w, int h) {
  // Reading pixels back is not blended.
  Ref<TPixmap> p = TPixmap::Create(w, h, FORMAT_RGBA8888, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, p->pitch / 4);
  glReadPixels(x, ContextHeight() - h - y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, p->pixels);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  return FlipPixmapVertically(p);
}
