// colour_mode.h - how the game draws its images and texts: as red/cyan pairs for 3D glasses
// (anaglyph, the default), or each once in its own colours (flat), for playing without glasses.
//
// Only drawing changes with the mode: the anaglyph operations (anaglyph.h) and the stars read it;
// logic, positions, collisions, timings and sounds are the same in both. F4 in the pause screen
// switches it; whoever starts the game may set it first (from the command line or settings).
// While a stereo mode is in use (graphics/stereo_mode.h) each eye's view is drawn in flat colours
// whatever the mode, and the mode applies again once stereo is off.
#pragma once

#include "graphics/stereo_mode.h"

enum class ColourMode { Anaglyph, Flat };

// The mode every drawing from now on uses. Game thread.
void SetColourMode(ColourMode mode);
// The mode in use; Anaglyph until set. Game thread.
ColourMode GetColourMode();
// The other mode: what F4 in the pause screen switches to.
ColourMode OtherColourMode(ColourMode mode);
// The pause screen's label for `mode`, in the style of the volume labels: "(Red/Cyan 3D)",
// "(Flat)".
const char* ColourModeLabel(ColourMode mode);

// Draws the flat picture as one eye's view of a stereo frame: every 3D drawing moved to where
// that eye's view has it (Left: where the red copy is, Right: the cyan one), the rest as flat.
// Both, the default, is the flat picture itself. What the stereo views are checked against.
// Game thread.
void SetFlatEye(StereoEye eye);
StereoEye FlatEye();
// Whether the picture shows no depth at all: the flat mode, with no stereo and no eye. The stars
// then show their layer's depth by their brightness.
bool DrawnWithoutDepth();
