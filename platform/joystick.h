// joystick.h - game controllers in the style of the Windows multimedia joystick interface.
//
// Devices are numbered from 0 and keep their number while the program runs: a device plugged in
// takes the number it held before it was pulled out, else the lowest free one (at most
// kPlatJoyDevices). Nothing needs opening: every call first picks up devices plugged in and drops
// devices pulled out since the previous call, then asks the device for its state there and then;
// a read fails quietly while the number holds no device.
//
// Axis positions come in the unsigned range the multimedia interface uses: each axis reports a
// minimum and maximum in its capabilities and positions between them, so that a caller maps a
// position to -1..1 from the capabilities alone.
//
// A pad that SDL's controller mapping knows reads in one layout, whatever its make, by the
// places of Xbox's labels:
//   buttons  0 A, 1 B, 2 X, 3 Back (Select), 4 Y, 5 left shoulder, 6 right shoulder,
//            7 left stick pressed, 8 right stick pressed, 9 guide, 10 Start;
//   axes     x, y the left stick, z, r the right stick, u, v the left and right triggers;
//   hat      the D-pad, which also holds x and y at their ends while pressed.
// Its sticks are calibrated as a calibrated joystick is: the range runs 0..65534 around a centre
// of 32767 and ends a little inside the mechanical end, so a stick at its gate reaches the ends,
// on a diagonal too (a round gate is squared first, as the old joysticks' square gates were).
// Triggers run 0 (released) to 65534. Any other device reads raw: axes 0..65535 from SDL's
// range end to end, buttons and the first hat as the device numbers them.
#pragma once

#include <string>

constexpr int kPlatJoyAxes = 6;  // x, y, z, r (rudder), u, v
constexpr int kPlatJoyDevices = 16;
constexpr unsigned kPlatJoyHatCentred = 65535;

enum class PlatJoyLayout {
  Raw,      // as the device numbers its buttons and axes
  Gamepad,  // SDL's controller mapping: the layout above
};

// The family of a mapped pad by the words printed on its buttons (SDL's controller type). The
// layout is by place on every one of them: button 0 is the lower face button, 1 the right one,
// 2 the left one and 4 the upper one, whatever their labels (a Nintendo pad's 0 reads "B").
enum class PlatPadFamily {
  kNone,  // not a mapped pad (it reads raw)
  kXbox360,
  kXboxOne,  // and the Xbox Series pads
  kPlayStation3,
  kPlayStation4,
  kPlayStation5,
  kNintendo,  // the Switch Pro pad and the Joy-Cons
  kOther,     // a mapped pad labelled as SDL's layout names its buttons (A, B, X, Y, Back, Start)
};

struct PlatJoyCaps {
  std::string name;
  PlatJoyLayout layout = PlatJoyLayout::Raw;
  PlatPadFamily family = PlatPadFamily::kNone;
  unsigned axis_min[kPlatJoyAxes] = {};  // both 0 for an axis the device lacks
  unsigned axis_max[kPlatJoyAxes] = {};
  int buttons = 0;
  bool has_hat = false;
};

struct PlatJoyPosition {
  unsigned axis[kPlatJoyAxes] = {};
  unsigned buttons = 0;               // bit n set while button n is held (buttons 0-31)
  unsigned hat = kPlatJoyHatCentred;  // hundredths of a degree clockwise from forward
};

// How many device numbers there are to ask, free ones included (0 when the joystick service
// cannot start). Main thread only, as is every call here.
int plat_joy_device_count();

// The device's capabilities; false while the number holds no device.
bool plat_joy_caps(int device, PlatJoyCaps* caps);
// The device's position now; false (and *position untouched) while the number holds no device.
bool plat_joy_read(int device, PlatJoyPosition* position);
