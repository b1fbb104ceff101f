// frame_overlay.h - frames per second and a graph of recent frame times, over the picture.
//
// While shown, the overlay watches the frames (frame_timing.h) and draws itself at every
// FlipScreen, after the program's own drawing and before the picture is presented: a panel in
// the picture's top-left corner (80 x 120 pixels of a 640x480 picture, the game's left side bar)
// with the frames presented in the last second, the longest frame interval of the graph, and one
// column per three frames for the last 228 frames (about 3.8 s at 60 Hz), a column as tall as the
// longest interval among its three, with marks at 16.7 and 33.3 ms. It is drawn with the 2D layer
// and leaves the drawing state as it found it. Hidden, it is neither watched nor drawn: it costs
// nothing. Main thread only.
#pragma once

// Shows or hides the overlay.
void ShowFrameOverlay(bool show);
bool FrameOverlayShown();

// The panel's place and size in picture pixels.
constexpr int kFrameOverlayX = 0, kFrameOverlayY = 0;
constexpr int kFrameOverlayWidth = 80, kFrameOverlayHeight = 120;
