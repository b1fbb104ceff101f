// gl_offscreen.cpp - framebuffer-object picture and its letterboxed presentation.
#include "graphics/gl_offscreen.h"

#include <GL/gl.h>

#include "platform/gl_window.h"

namespace {

constexpr GLenum kFramebuffer = 0x8D40;       // GL_FRAMEBUFFER (same value in the EXT)
constexpr GLenum kColorAttachment0 = 0x8CE0;  // GL_COLOR_ATTACHMENT0
constexpr GLenum kFramebufferComplete = 0x8CD5;

using GenFramebuffers = void (*)(GLsizei, GLuint*);
using DeleteFramebuffers = void (*)(GLsizei, const GLuint*);
using BindFramebuffer = void (*)(GLenum, GLuint);
using FramebufferTexture2D = void (*)(GLenum, GLenum, GLenum, GLuint, GLint);
using CheckFramebufferStatus = GLenum (*)(GLenum);

struct Entries {
  GenFramebuffers gen = nullptr;
  DeleteFramebuffers del = nullptr;
  BindFramebuffer bind = nullptr;
  FramebufferTexture2D texture = nullptr;
  CheckFramebufferStatus status = nullptr;
  bool complete() const { return gen && del && bind && texture && status; }
};

template <class F>
F Entry(const char* core, const char* ext) {
  void* f = plat_gl_proc_address(core);
  if (!f) f = plat_gl_proc_address(ext);
  return reinterpret_cast<F>(f);
}

// The entry points are the same for every context of one driver.
const Entries& GL() {
  static const Entries entries = [] {
    Entries e;
    e.gen = Entry<GenFramebuffers>("glGenFramebuffers", "glGenFramebuffersEXT");
    e.del = Entry<DeleteFramebuffers>("glDeleteFramebuffers", "glDeleteFramebuffersEXT");
    e.bind = Entry<BindFramebuffer>("glBindFramebuffer", "glBindFramebufferEXT");
    e.texture = Entry<FramebufferTexture2D>("glFramebufferTexture2D", "glFramebufferTexture2DEXT");
    e.status =
        Entry<CheckFramebufferStatus>("glCheckFramebufferStatus", "glCheckFramebufferStatusEXT");
    return e;
  }();
  return entries;
}

int PowerOfTwoAtLeast(int n) {
  int p = 1;
  while (p < n && p < (1 << 15)) p <<= 1;
  return p;
}

}  // namespace

struct GLOffscreen {
  GLuint framebuffer = 0;
  GLuint texture = 0;
  int width = 0, height = 0;
  float u1 = 1, v1 = 1;  // the picture's share of the texture
};

GLOffscreen* CreateGLOffscreen(int width, int height, bool alpha) {
  const Entries& gl = GL();
  if (!gl.complete() || width <= 0 || height <= 0) return nullptr;
  // A power-of-two texture, so that OpenGL 1.x drivers take it too; the picture is its
  // bottom-left corner, where a viewport of the picture's size draws.
  int tex_width = PowerOfTwoAtLeast(width), tex_height = PowerOfTwoAtLeast(height);
  auto* o = new GLOffscreen;
  o->width = width;
  o->height = height;
  o->u1 = static_cast<float>(width) / tex_width;
  o->v1 = static_cast<float>(height) / tex_height;
  glPushAttrib(GL_TEXTURE_BIT);  // the 2D driver's bound texture stays bound
  glGenTextures(1, &o->texture);
  glBindTexture(GL_TEXTURE_2D, o->texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, alpha ? GL_RGBA8 : GL_RGB8, tex_width, tex_height, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, nullptr);
  glPopAttrib();
  gl.gen(1, &o->framebuffer);
  gl.bind(kFramebuffer, o->framebuffer);
  gl.texture(kFramebuffer, kColorAttachment0, GL_TEXTURE_2D, o->texture, 0);
  bool complete = gl.status(kFramebuffer) == kFramebufferComplete;
  gl.bind(kFramebuffer, 0);
  if (!complete) {
    DestroyGLOffscreen(o);
    return nullptr;
  }
  return o;
}

void DestroyGLOffscreen(GLOffscreen* o) {
  if (!o) return;
  const Entries& gl = GL();
  gl.bind(kFramebuffer, 0);
  gl.del(1, &o->framebuffer);
  glDeleteTextures(1, &o->texture);
  delete o;
}

void BindGLOffscreen(GLOffscreen* o) {
  const Entries& gl = GL();
  if (gl.bind) gl.bind(kFramebuffer, o ? o->framebuffer : 0);
}

int GLOffscreenWidth(const GLOffscreen* o) { return o ? o->width : 0; }
int GLOffscreenHeight(const GLOffscreen* o) { return o ? o->height : 0; }

GLOffscreen* GLOffscreenOfSize(GLOffscreen* o, int width, int height) {
  if (o && o->width == width && o->height == height) return o;
  DestroyGLOffscreen(o);
  return width > 0 && height > 0 ? CreateGLOffscreen(width, height, false) : nullptr;
}

namespace {

// Draws into a target of width x height (top-left origin) with nothing of the 2D driver's state.
void DrawInto(int width, int height) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, height, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glViewport(0, 0, width, height);
}

// The picture's texture over `where`, sampled by `filter`. The picture's top row is the
// texture's last: OpenGL counts rows from the bottom.
void DrawPicture(const GLOffscreen* o, const PictureRect& where, GLint filter) {
  glBindTexture(GL_TEXTURE_2D, o->texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  float x0 = static_cast<float>(where.x), y0 = static_cast<float>(where.y);
  float x1 = x0 + where.width, y1 = y0 + where.height;
  glBegin(GL_QUADS);
  glTexCoord2f(0, o->v1);
  glVertex2f(x0, y0);
  glTexCoord2f(o->u1, o->v1);
  glVertex2f(x1, y0);
  glTexCoord2f(o->u1, 0);
  glVertex2f(x1, y1);
  glTexCoord2f(0, 0);
  glVertex2f(x0, y1);
  glEnd();
}

}  // namespace

void PresentGLOffscreens(const GLOffscreenPiece* pieces, int count, int view_width, int view_height,
                         bool sharp) {
  const Entries& gl = GL();
  if (!gl.bind) return;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glColor4f(1, 1, 1, 1);
  // Each whole-multiple step first, each pixel repeated into a block of texels.
  for (int k = 0; k < count; ++k) {
    const GLOffscreenPiece& piece = pieces[k];
    if (!piece.offscreen || !piece.prescaled) continue;
    gl.bind(kFramebuffer, piece.prescaled->framebuffer);
    DrawInto(piece.prescaled->width, piece.prescaled->height);
    DrawPicture(piece.offscreen, PictureRect{0, 0, piece.prescaled->width, piece.prescaled->height},
                GL_NEAREST);
  }
  gl.bind(kFramebuffer, 0);
  DrawInto(view_width, view_height);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);  // the bars: nothing is ever drawn there
  for (int k = 0; k < count; ++k) {
    const GLOffscreenPiece& piece = pieces[k];
    if (!piece.offscreen) continue;
    if (piece.prescaled) {
      DrawPicture(piece.prescaled, piece.where, GL_LINEAR);
    } else {
      DrawPicture(piece.offscreen, piece.where, sharp ? GL_NEAREST : GL_LINEAR);
    }
  }
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glPopAttrib();
}
