// joystick.h - game controllers by port, read at the moment of asking.
//
// JoystickCount numbers the working devices as ports 0, 1, ... (before it runs, port 0 reads the
// first device; when it finds none, port 0 reads the first device plugged in later). Every other
// query reads its port's device there and then: buttons that went down since the previous read of
// the port count as hits, and the latest buttons and axes are kept. A button pressed and released
// between two reads is never seen.
//
// Axes read -1.0 at the device's minimum and 1.0 at its maximum (exactly, so a fully deflected
// stick can be compared with -1.0 and 1.0); the hat reads its direction as a fraction of a turn
// clockwise from forward (0.25 is right), and -1.0 when centred.
//
// A pad that SDL's controller mapping knows reads in one layout whatever its make (buttons 0 A,
// 1 B, 2 X or Start, 3 Back; the D-pad holds x and y at -1.0 or 1.0; a stick at its gate reads
// -1.0 or 1.0, on a diagonal too); other devices read as they number their controls.
//
// Devices plugged in or pulled out are seen at the port's next read, and a device plugged back in
// reads on the port it had (unless another device took its place while it was out). A port whose
// device is pulled out reads centred with nothing pressed (axes 0, the hat -1.0) and counts an
// unplug; a port that never had a device reads 0 throughout. Ports are 0-15 and buttons 0-15;
// others read as 0. Main thread only.
#pragma once

#include <string>

constexpr int kJoyPorts = 16;
constexpr int kJoyButtons = 16;

int JoystickCount();
std::string JoystickName(int port);

// The family of a mapped pad by the words printed on its buttons; the layout puts its buttons by
// place whatever the words (on a Nintendo pad, button 0 is the lower face button, "B").
enum class PadFamily {
  kNone,  // no device, or one SDL does not map: its buttons go by their numbers
  kXbox360,
  kXboxOne,  // and the Xbox Series pads
  kPlayStation3,
  kPlayStation4,
  kPlayStation5,
  kNintendo,
  kOther,  // labelled as the layout names its buttons: A, B, X, Y, Back, Start
};
// The family of the device on `port` now (the device itself, even while a replay plays).
PadFamily JoystickPadFamily(int port = 0);

int JoyButtonHits(int button, int port = 0);
int IsJoyButtonDown(int button, int port = 0);

float JoyAxisX(int port = 0);
float JoyAxisY(int port = 0);
float JoyAxisZ(int port = 0);
float JoyAxisR(int port = 0);
float JoyAxisU(int port = 0);
float JoyAxisV(int port = 0);
float JoyHat(int port = 0);

// Reads the port; how many times its device was pulled out since the last call (which resets
// the count).
int JoyUnplugHits(int port = 0);

// The axis mapping: 2 * (position - minimum) / maximum - 1. An axis whose maximum is 0 (one the
// device does not have) reads 0.
float JoyAxisValue(unsigned position, unsigned minimum, unsigned maximum);
