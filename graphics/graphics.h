// graphics.h - graphics contexts and frame pacing, independent of any one driver.
//
// A graphics context is a full-screen display or a desktop window with a back buffer. Drivers
// make them (the OpenGL driver is the one in use); this module keeps the current driver, the
// current context and its settings, and presents the back buffer at a steady pace.
//
//   OpenGraphics(640, 480, 32, 60, GFX_BACKBUFFER);   // full screen at 60 Hz
//   for (;;) { ...draw...; FlipScreen(-1); }           // 60 flips take one second
//
// Pacing: FlipScreen(-1) uses the display's vertical sync when OpenGraphics found it running at
// the requested rate, and otherwise sleeps by the clock ("soft sync"): 16 ms a frame plus one
// more millisecond on 40 frames of every 60, so that 60 frames take exactly 1000 ms; in real time
// each wake-up also takes the fraction of a millisecond that schedule has not yet paid, so that
// the frames come 16667 us apart rather than 16 or 17 ms. A frame that overran its slot, or that
// was shown a millisecond or more late (its sleep woke late, or its flip took longer than flips
// usually do), does not shorten the ones after it: the schedule goes on from where it is.
#pragma once

#include <string>
#include <vector>

#include "core/object.h"

class TPixmap;

enum {
  GFX_BACKBUFFER = 2,
  GFX_ALPHABUFFER = 4,
  GFX_DEPTHBUFFER = 8,
  GFX_STENCILBUFFER = 16,
  GFX_ACCUMBUFFER = 32,
};

struct TGraphicsMode {
  int width = 0, height = 0, depth = 0, hertz = 0;
};

class TGraphicsDriver;

// One graphics context.
class TGraphics : public TObject {
 public:
  virtual TGraphicsDriver* Driver() = 0;
  virtual void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) = 0;
  virtual void Close() = 0;
};

class TGraphicsDriver : public TObject {
 public:
  virtual std::vector<TGraphicsMode> GraphicsModes() = 0;
  // A context drawing into an existing window of the platform (`widget` is its window id).
  virtual Ref<TGraphics> AttachGraphics(unsigned widget, int flags) = 0;
  // Depth 0 asks for a desktop window, any other depth for the full screen.
  virtual Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) = 0;
  // Makes `g` (or nothing, for null) the target of drawing.
  virtual void SetGraphics(TGraphics* g) = 0;
  // Presents the back buffer; sync 1 waits for the vertical blank, 0 does not.
  virtual void Flip(int sync) = 0;
  // Completes the drawing of the frame about to be flipped, so that a paced flip that waited for
  // its time only shows it: how long the drawing took then moves the wait, not the frame's time
  // on screen. Nothing may be drawn between this and the Flip. The default does nothing.
  virtual void FinishFrame() {}
};

// Opens the program's display, closing the one opened before. Null when it cannot be made.
Ref<TGraphics> OpenGraphics(int width, int height, int depth = 0, int hertz = 60, int flags = 0);
// Closes the context OpenGraphics opened, if any. Runs at program exit too.
void EndGraphicsMode();
// sync: 0 no vertical sync, 1 vertical sync, -1 the paced flip described above.
void FlipScreen(int sync = -1);

void SelectGraphicsDriver(TGraphicsDriver* driver, int default_flags);
TGraphicsDriver* CurrentGraphicsDriver();
// Any error the driver raises while making the context gives null.
Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags);
void SetGraphics(TGraphics* g);
void CloseGraphics(TGraphics* g);
TGraphics* CurrentGraphics();

int ContextWidth();
int ContextHeight();
int ContextDepth();
int ContextHertz();
int ContextFlags();

std::vector<TGraphicsMode> GraphicsModes();
int GraphicsModeCount();
void GetGraphicsMode(int index, int& width, int& height, int& depth, int& hertz);
// An argument of 0 matches anything.
bool GraphicsModeExists(int width, int height, int depth = 0, int hertz = 0);

// Rises whenever a context opens or closes; textures made in an older generation are stale.
int GraphicsGeneration();
// Whether FlipScreen(-1) paces by the clock (decided by every OpenGraphics).
bool SoftSyncActive();
// The hook chain run at every FlipScreen.
int FlipHookId();

// The caption of the windows drivers create; set by the program before it opens graphics.
void SetAppTitle(const std::string& title);
const std::string& AppTitle();
// The icon of the windows drivers create (null: the system's own); set before graphics open.
void SetAppIcon(const Ref<TPixmap>& icon);
const Ref<TPixmap>& AppIcon();
