// joystick_devices.h - the opened SDL joysticks by device number. Private to platform/.
#pragma once

struct _SDL_Joystick;

// Starts the joystick service if needed; false when it cannot run.
bool plat_joy_service();

// The open joystick a device number holds (for a mapped pad, the joystick under the mapping);
// null while the number holds no device. Picks up and drops devices first.
_SDL_Joystick* plat_joy_handle(int device);

// The device number SDL's device index `index` holds, after picking up devices; -1 if none.
int PlatJoyDeviceOfIndex(int index);
// SDL's current device index of the device a number holds; -1 while it holds none.
int PlatJoyIndexOfDevice(int device);
