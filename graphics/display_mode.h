// display_mode.h - how the program's full-screen display is shown on the real screen.
//
// The program always draws a picture of the size it asked OpenGraphics for (640 x 480 for the
// game). A full-screen request (depth not 0) is shown in one of three ways:
//   Fullscreen  the screen switches to that display mode (the default);
//   Desktop     a window covering the desktop at its own resolution, the picture scaled up to fit
//               with its aspect ratio kept and black bars around it;
//   Window      a resizable window, the picture scaled to it as on the desktop.
// When the display mode cannot be set the driver falls back to Desktop. Alt+Enter switches
// between the full-screen choice and the window at any time. Requests for a desktop window
// (depth 0) are plain windows in every mode. Main thread only.
#pragma once

enum class DisplayMode { Fullscreen, Desktop, Window };

// Fit: as large as fits. Integer: the largest whole multiple that fits (square, sharp pixels),
// or Fit when not even one whole picture fits. Sharp: as large as Fit, each pixel first repeated
// by whole factors (nearest neighbour) up to the smallest whole multiple that reaches that size,
// then scaled smoothly down to it: sharp pixels of even widths, soft only at their edges.
enum class ScalePolicy { Fit, Integer, Sharp };

// Chooses how the next full-screen request is shown; also what the open display is in once the
// driver has applied it (a fallback or Alt+Enter sets it too).
void SetDisplayMode(DisplayMode mode);
DisplayMode CurrentDisplayMode();
// The full-screen way (Fullscreen or Desktop) Alt+Enter returns to from the window: the last one
// chosen or fallen back to.
DisplayMode FullScreenChoice();

void SetScalePolicy(ScalePolicy policy);
// Shows the open full-screen context the `mode` way scaled by `policy` at once, as Alt+Enter
// switches it; with none open (the null driver) only chooses them for the next request.
void ShowDisplayChoice(DisplayMode mode, ScalePolicy policy);
ScalePolicy CurrentScalePolicy();

// Whether the program wants the pointer kept inside its scaled window (while playing); the
// driver applies it while the window has the focus.
void HoldPointer(bool hold);
bool PointerHoldWanted();

// The name used on the command line and in messages: "fullscreen", "desktop", "window".
const char* DisplayModeName(DisplayMode mode);
// False for a name that is none of those.
bool DisplayModeFromName(const char* name, DisplayMode* mode);
