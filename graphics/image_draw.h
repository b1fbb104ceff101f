// image_draw.h - drawing images, and capturing them from the back buffer.
//
// An image is drawn around its handle (the image point placed at the drawing position), under
// the current colour, alpha, blend, rotation and scale, shifted by the 2D origin; the primitive
// handle of SetDrawHandle does not apply to images. The first draw in each graphics generation
// turns the frame's pixmap into a texture of the current driver.
//
//   Ref<TImage> ship = NewImage(36, 58, 4);     // handle centred when auto-centring is on
//   CaptureImage(ship, 1, 1, 0);                 // frame 0 from the back buffer
//   PaintImage(ship, 320, 400, 0);
#pragma once

#include "graphics/image.h"
#include "graphics/image_commands.h"

void PaintImage(const Ref<TImage>& image, float x, float y, int frame = 0);
// As PaintImage, stretched to w x h (the handle stays in image pixels).
void DrawImageScaled(const Ref<TImage>& image, float x, float y, float w, float h, int frame = 0);
// The frame repeated over the whole viewport, untransformed, one tile's corner at (x, y) less
// the image handle.
void PaintImageTiled(const Ref<TImage>& image, float x = 0, float y = 0, int frame = 0);
// Copies the back buffer's rectangle at (x, y), of the image's size, into `frame`. A masked image
// gets the layer's mask colour turned transparent. In a stereo mode both eyes' views are copied,
// and drawing the frame then shows each eye its own (view_recorder.h).
void CaptureImage(const Ref<TImage>& image, int x, int y, int frame = 0);
