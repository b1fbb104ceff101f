// collision.h - pixel-exact collisions between images, through 32 collision layers.
//
// An image placed at (x, y) becomes a quad: its rectangle around its handle, turned and scaled by
// the current transform (transform.h) and moved by the 2D origin. Two images collide when they
// share a pixel that is opaque (alpha >= 128) in both; an image whose pixmap has no alpha channel
// is opaque everywhere, as is a rectangle. Quads can be kept in layers (bit n of a mask is layer
// n) and queried later:
//
//   ClearCollisionLayers(0);                                          // all 32
//   TestImageCollision(bee, bx, by, 0, 0, 1, bee);                    // keep the bee in layer 0
//   auto hits = TestImageCollision(shot, sx, sy, 0, 1, 0, nullptr);   // ids of what it hits
//
// A layer keeps its quads, and through them the images' pixmaps, until it is cleared. Quads are
// recycled, so a test allocates nothing in steady state but the array it returns (and
// ImagesOverlap nothing at all). Main thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/image.h"

// Empties each layer whose bit is set; 0 empties all 32.
void ClearCollisionLayers(std::uint32_t layers);

// The ids of the quads in the layers of `collideMask` that the image (frame `frame`) placed at
// (x, y) hits, in layer order (bit 0 first) and, within a layer, newest first. The image's quad,
// carrying `id`, is then written into every layer of `writeMask`.
std::vector<Ref<TObject>> TestImageCollision(const Ref<TImage>& image, float x, float y, int frame,
                                             std::uint32_t collideMask, std::uint32_t writeMask,
                                             const Ref<TObject>& id);
// The same for a solid w x h rectangle with its corner at (x, y).
std::vector<Ref<TObject>> TestRectCollision(float x, float y, float w, float h,
                                            std::uint32_t collideMask, std::uint32_t writeMask,
                                            const Ref<TObject>& id);

// Whether the two images, each placed with the current rotation and scale, share an opaque
// pixel. Uses layer 31, which keeps image1's quad until the next such call.
bool ImagesOverlap(const Ref<TImage>& image1, float x1, float y1, int frame1,
                   const Ref<TImage>& image2, float x2, float y2, int frame2);
// The same with a rotation and scale for each image; the current rotation and scale are restored
// afterwards, also when the test raises an error.
bool ImagesOverlapTransformed(const Ref<TImage>& image1, float x1, float y1, int frame1, float rot1,
                              float sx1, float sy1, const Ref<TImage>& image2, float x2, float y2,
                              int frame2, float rot2, float sx2, float sy2);
