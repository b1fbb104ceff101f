// virtual_pad.h - made-up gamepads that SDL's controller mapping knows, for tests and the
// headless harness.
//
// A virtual pad is one of SDL's virtual joysticks of the game controller type, with the full set
// of buttons, both sticks and both triggers; SDL maps it as it maps a known pad, so it reads in
// the shared pad layout (joystick.h). Plugging one in and pulling it out are the hot-plug a real
// pad's cable gives. Main thread only.
#pragma once

// The controls by the names SDL's controller mapping gives them.
enum class PadButton {
  A,
  B,
  X,
  Y,
  Back,
  Guide,
  Start,
  LeftStick,
  RightStick,
  LeftShoulder,
  RightShoulder,
  DpadUp,
  DpadDown,
  DpadLeft,
  DpadRight,
};
enum class PadAxis { LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger };

// Plugs a pad in and returns its device number (-1 if the joystick service cannot run or every
// number is taken). Pads of the same name are the same pad: plugged back in, it gets its number.
// With a maker's USB `vendor` and `product` numbers, SDL takes it for that maker's pad (its
// controller type: 0x045e/0x02ea an Xbox One pad, 0x054c/0x09cc a PlayStation 4 pad, 0x057e/0x2009
// a Switch Pro pad); with none, for a pad of no known make.
int PlugVirtualPad(const char* name = "Virtual Pad", unsigned short vendor = 0,
                   unsigned short product = 0);
// Pulls the pad out; its device number then reads as free.
void UnplugVirtualPad(int device);
void SetVirtualPadButton(int device, PadButton button, bool down);
// Sticks -32768..32767 (negative left and up); triggers 0 (released)..32767.
void SetVirtualPadAxis(int device, PadAxis axis, int value);
