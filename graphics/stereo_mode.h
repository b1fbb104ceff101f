// stereo_mode.h - whether the picture is drawn once (off) or once per eye, and how the two views
// are laid out for the hardware that shows them:
//   SideBySide      the views beside each other at full size (left eye on the left), for display
//                   glasses and VR desktop viewers that give each eye one half of a wide desktop;
//   SideBySideHalf  the same squeezed to the width of one view, for 3D TVs, which stretch each
//                   half back to the whole screen;
//   TopBottom       the views stacked (left eye on top), for 3D TVs and viewers taking top-bottom.
// The chosen mode takes effect at the next flip (or at once while no drawing context is current),
// so that a frame is never drawn half in one mode and half in another. Main thread only.
#pragma once

enum class StereoMode { Off, SideBySide, SideBySideHalf, TopBottom };

// Which eye's view a drawing is for. Both: everything drawn once is seen by both eyes; in the
// flat frame, the one picture.
enum class StereoEye { Both, Left, Right };

// Chooses the mode; the drawing switches to it at the next flip. Main thread.
void SetStereoMode(StereoMode mode);
// The mode last chosen.
StereoMode ChosenStereoMode();
// The mode the frame being drawn is drawn in. Off until a mode is chosen.
StereoMode StereoModeInUse();
// Makes the chosen mode the one in use; true when that changed it. For the 2D layer, at a flip
// and when a drawing context becomes current.
bool AdoptChosenStereoMode();

// The name used in settings and on the command line: "off", "side-by-side", "side-by-side-half",
// "top-bottom".
const char* StereoModeName(StereoMode mode);
// False for a name that is none of those.
bool StereoModeFromName(const char* name, StereoMode* mode);
