// view_recorder.h - drawing a frame once per eye without running the program twice.
//
// While a stereo mode is in use (stereo_mode.h), drawing does not reach the 2D driver at once: a
// recorder stands in for it and keeps each call of the frame in a list, marked for both eyes or,
// after SetStereoEye, for one. At the flip the list is played into the driver twice, once into
// each eye's view (the driver's SelectView), so that each view gets exactly the calls a flat frame
// of that eye would get, in the same order and from the same textures; the state each eye's part
// starts from is re-sent, so that the two parts never leak state into each other. Reading pixels
// back (GrabPixmap) first plays what was recorded so far and reads the left eye's view; drawing
// then goes on into a fresh list. Off, the recorder is out of the way and costs nothing.
//
//   SetStereoEye(StereoEye::Left);   PaintImage(ship, x + 3, y);
//   SetStereoEye(StereoEye::Right);  PaintImage(ship, x - 3, y);
//   SetStereoEye(StereoEye::Both);   DrawRect(0, 0, 80, 480);     // the same in both views
//
// Main thread only, like all drawing.
#pragma once

#include "graphics/draw2d.h"
#include "graphics/stereo_mode.h"

// The driver that drawing for a context of `driver` goes through: the recorder, playing into
// `driver`, while a stereo mode is in use; `driver` itself otherwise. For the 2D layer.
TRar2ADriver* StereoDrawingDriver(TRar2ADriver* driver);

// What follows is drawn into one eye's view only (Both: into both, the default). Does nothing
// while no stereo mode is in use.
void SetStereoEye(StereoEye eye);
StereoEye CurrentStereoEye();

// For the 2D drivers, before a frame is shown: plays what was recorded into both views.
void FinishStereoFrame();
// For the 2D drivers, once a frame is flipped: switches to the chosen stereo mode, if it changed,
// for the next frame.
void StartStereoFrame();

// One eye's view (picture pixels at x, y, of w x h) as drawn so far; null while no stereo mode is
// in use or without a context.
Ref<TPixmap> GrabEyeView(StereoEye eye, int x, int y, int w, int h);
// The picture as drawn so far: in a stereo mode the stereo picture (stereo_layout.h: both views,
// side-by-side-half's squeezed), off the context's own. What screenshots save. Null without a
// context.
Ref<TPixmap> GrabStereoPicture();
