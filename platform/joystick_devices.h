// joystick_devices.h - the opened SDL joysticks by device number. Private to platform/.
#pragma once

struct _SDL_Joystick;

// Starts the joystick service if needed; false when it cannot run.
bool plat_joy_service();

// The device's open handle, opened on first use; null when the device is not there.
_SDL_Joystick* plat_joy_handle(int device);
