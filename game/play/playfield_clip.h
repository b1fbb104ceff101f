// playfield_clip.h - keeps the playfield's drawing out of the side bars. What the frame draws for
// the playfield after its clear (stars, shots, bees, overlays) is clipped to x 80..559, since the
// side bars later paint x 0..79 and 560..639 opaque black over it: the picture is the same, and
// the rasteriser fills nothing there twice. The clear itself stays whole (the cheapest clear).
// Clipping goes through the 2D layer's viewport, which is in picture pixels in every display
// mode. Needs the 2D layer (draw2d.h).
#pragma once

// The part of the 640x480 picture the side bars leave visible.
inline constexpr int kPlayfieldLeft = 80;
inline constexpr int kPlayfieldWidth = 480;

// Clips drawing to the playfield (when clipping is on) until EndPlayfield. Main thread.
void BeginPlayfield();
// Gives back the viewport BeginPlayfield found. Main thread.
void EndPlayfield();
// Turns the clipping on (the default) or off, for comparisons and benchmarks. Main thread.
void SetPlayfieldClipping(bool on);
// Whether BeginPlayfield clips. Main thread.
bool PlayfieldClipping();
