// arcade_face.h - the chunky stroke lettering of the captions, score numbers and title logo.
//
// Every letter is a few polylines on a small grid (capitals 4 units wide and 6 high, lower case
// from unit 2, descenders to unit 8), drawn as round-ended strokes. Lettering fits a text into a
// box, so one face serves a 10-pixel score number and a 100-pixel title.
#pragma once

#include <string>

#include "tools/canvas.h"

struct Lettering {
  float weight = 0.62f;     // stroke half-width, in grid units
  float spacing = 1.9f;     // from one letter's right edge to the next one's left, in units
  float outline = 1.0f;     // dark rim around the strokes, in pixels (0 for none)
  float max_stretch = 1.0;  // how much wider than tall the letters may grow to fill the box
  bool centred = true;      // otherwise the text starts at the box's left edge
  Rgb top = Grey(1.0f);     // the face's colour at the top of the capitals...
  Rgb bottom = Grey(0.7f);  // ...and at the baseline
  Rgb rim = Grey(0.28f);
};

// The text's strokes as one shape, fitted into and centred in the box (x0, y0)-(x1, y1).
// `cap_top` and `baseline` receive where the capitals start and end, in pixels.
Shape TextShape(const std::string& text, float x0, float y0, float x1, float y1,
                const Lettering& style, float* cap_top = nullptr, float* baseline = nullptr);

// Draws the text fitted into the box: rim first, then the shaded face.
void DrawText(Canvas& canvas, const std::string& text, float x0, float y0, float x1, float y1,
              const Lettering& style);
