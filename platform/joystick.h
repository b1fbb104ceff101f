// joystick.h - game controllers in the style of the Windows multimedia joystick interface.
//
// Devices are numbered from 0 in the order the system lists them. Nothing needs opening: a read
// asks the device for its state there and then, and fails quietly when the device is missing or
// unplugged. Axis positions come in the unsigned range the multimedia interface uses: each axis
// reports a minimum and maximum in its capabilities (0 and 65535 here) and positions between
// them, so that a caller maps a position to -1..1 from the capabilities alone.
#pragma once

#include <string>

constexpr int kPlatJoyAxes = 6;  // x, y, z, r (rudder), u, v
constexpr unsigned kPlatJoyHatCentred = 65535;

struct PlatJoyCaps {
  std::string name;
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

// How many device numbers there are to ask (0 when the joystick service cannot start).
int plat_joy_device_count();

bool plat_joy_caps(int device, PlatJoyCaps* caps);
bool plat_joy_read(int device, PlatJoyPosition* position);
