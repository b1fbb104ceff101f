// gl_offscreen.h - an offscreen picture for a scaled window: drawing goes into a texture of the
// program's size through a framebuffer object, and each flip shows it scaled into the window.
//
// Why offscreen rather than a scaled viewport: every pixel the program reads back (GrabPixmap,
// the pause screen's frozen frame, screenshots) is then its own picture at its own size in
// every display mode, and scissor rectangles, raster positions and pixel transfers need no
// conversion. The cost is one textured quad a frame.
//
// Needs a current OpenGL context offering framebuffer objects (OpenGL 3.0, or the ARB or EXT
// extension, found through plat_gl_proc_address). Main thread only, with the owning context
// current for every call.
#pragma once

#include "graphics/picture_fit.h"

struct GLOffscreen;

// A width x height picture, or null when the context offers no framebuffer objects. Without
// `alpha` it keeps no alpha, as a window's buffer without alpha bits: its pixels read back opaque.
GLOffscreen* CreateGLOffscreen(int width, int height, bool alpha);
void DestroyGLOffscreen(GLOffscreen* offscreen);
// Makes drawing go into the picture (null: into the window).
void BindGLOffscreen(GLOffscreen* offscreen);
// The picture's size.
int GLOffscreenWidth(const GLOffscreen* offscreen);
int GLOffscreenHeight(const GLOffscreen* offscreen);
// `offscreen` when it already has that size, else a new picture of it (without alpha) in its
// place, the old one destroyed; null for an empty size or when none can be made.
GLOffscreen* GLOffscreenOfSize(GLOffscreen* offscreen, int width, int height);
// One picture and where it goes in the window's drawable; with `prescaled`, it is first repeated
// into that (larger, whole-multiple) picture by nearest neighbour, which is then shown filtered.
struct GLOffscreenPiece {
  GLOffscreen* offscreen = nullptr;
  PictureRect where;
  GLOffscreen* prescaled = nullptr;
};
// Shows the pictures in the window's drawable (view_width x view_height), each at its place
// (the two eyes' views of a stereo picture, or one picture), black elsewhere; sharp keeps texels
// square (for whole multiples), otherwise they are filtered, a prescaled piece always. The OpenGL
// state the 2D driver keeps is left as it was; the window's framebuffer stays bound for the swap,
// after which BindGLOffscreen sends drawing into a picture again.
void PresentGLOffscreens(const GLOffscreenPiece* pieces, int count, int view_width, int view_height,
                         bool sharp);
