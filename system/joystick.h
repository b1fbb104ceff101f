// joystick.h - game controllers by port, read at the moment of asking.
//
// JoystickCount numbers the working devices as ports 0, 1, ... (before it runs, port 0 reads the
// first device). Every other query reads its port's device there and then: buttons that went
// down since the previous read of the port count as hits, and the latest buttons and axes are
// kept. A button pressed and released between two reads is never seen.
//
// Axes read -1.0 at the device's minimum and 1.0 at its maximum (exactly, so a fully deflected
// stick can be compared with -1.0 and 1.0); the hat reads its direction as a fraction of a turn
// clockwise from forward (0.25 is right), and -1.0 when centred.
//
// With no joystick, or one unplugged, reads fail quietly: the port keeps its last values, which
// start at 0, so nothing is ever pressed and the axes read 0. Ports are 0-15 and buttons 0-15;
// others read as 0. Main thread only.
#pragma once

#include <string>

constexpr int kJoyPorts = 16;
constexpr int kJoyButtons = 16;

int JoystickCount();
std::string JoystickName(int port);

int JoyButtonHits(int button, int port = 0);
int IsJoyButtonDown(int button, int port = 0);

float JoyAxisX(int port = 0);
float JoyAxisY(int port = 0);
float JoyAxisZ(int port = 0);
float JoyAxisR(int port = 0);
float JoyAxisU(int port = 0);
float JoyAxisV(int port = 0);
float JoyHat(int port = 0);

// The axis mapping: 2 * (position - minimum) / maximum - 1. An axis whose maximum is 0 (one the
// device does not have) reads 0.
float JoyAxisValue(unsigned position, unsigned minimum, unsigned maximum);
