// pad_layout.h - a pad read through SDL's controller mapping into the one layout every mapped pad
// shares (joystick.h describes it), with its sticks calibrated. Private to platform/.
#pragma once

#include "platform/joystick.h"

struct _SDL_GameController;

// The layout's capabilities for the pad (which axes and the D-pad it has come from the mapping).
void PadCaps(_SDL_GameController* pad, PlatJoyCaps* caps);
// The pad's buttons, sticks, triggers and D-pad now, in the layout.
void PadRead(_SDL_GameController* pad, PlatJoyPosition* position);

// The SDL controller button at `button` of the layout; -1 past the layout's last.
int PadLayoutButton(int button);

// A stick's two SDL values (-32768..32767) as calibrated positions 0..65534: the gate squared,
// the range ending at kStickEnd, the centre at 32767.
void CalibrateStick(int x, int y, unsigned* position_x, unsigned* position_y);

// Where a calibrated stick's range ends, in SDL's units: 92 percent of SDL's range.
constexpr double kStickEnd = 0.92 * 32767.0;
constexpr unsigned kStickCentre = 32767;
constexpr unsigned kStickMax = 2 * kStickCentre;
