// joystick.cpp - SDL joysticks read on demand.
//
// SDL's joystick events stay switched off: reads update the devices themselves, so the message
// stream carries nothing a query did not ask for.
#include "platform/joystick.h"

#include <SDL.h>

#include <map>

#include "platform/events.h"
#include "platform/joystick_devices.h"

namespace {

constexpr unsigned kAxisMax = 65535;

std::map<int, SDL_Joystick*>& Handles() {
  static std::map<int, SDL_Joystick*> handles;
  return handles;
}

unsigned Hundredths(Uint8 hat) {
  switch (hat) {
    case SDL_HAT_UP:
      return 0;
    case SDL_HAT_RIGHTUP:
      return 4500;
    case SDL_HAT_RIGHT:
      return 9000;
    case SDL_HAT_RIGHTDOWN:
      return 13500;
    case SDL_HAT_DOWN:
      return 18000;
    case SDL_HAT_LEFTDOWN:
      return 22500;
    case SDL_HAT_LEFT:
      return 27000;
    case SDL_HAT_LEFTUP:
      return 31500;
    default:
      return kPlatJoyHatCentred;
  }
}

}  // namespace

bool plat_joy_service() {
  if (SDL_WasInit(SDL_INIT_JOYSTICK)) return true;
  if (!plat_events_init()) return false;
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
  SDL_JoystickEventState(SDL_IGNORE);
  return true;
}

SDL_Joystick* plat_joy_handle(int device) {
  if (device < 0 || !plat_joy_service()) return nullptr;
  SDL_Joystick*& handle = Handles()[device];
  if (handle && !SDL_JoystickGetAttached(handle)) {
    SDL_JoystickClose(handle);
    handle = nullptr;
  }
  if (!handle && device < SDL_NumJoysticks()) handle = SDL_JoystickOpen(device);
  return handle;
}

int plat_joy_device_count() {
  if (!plat_joy_service()) return 0;
  SDL_JoystickUpdate();
  int count = SDL_NumJoysticks();
  return count < 0 ? 0 : count;
}

bool plat_joy_caps(int device, PlatJoyCaps* caps) {
  SDL_Joystick* handle = plat_joy_handle(device);
  if (!handle) return false;
  const char* name = SDL_JoystickName(handle);
  caps->name = name ? name : "";
  int axes = SDL_JoystickNumAxes(handle);
  for (int a = 0; a < kPlatJoyAxes; ++a) {
    caps->axis_min[a] = 0;
    caps->axis_max[a] = a < axes ? kAxisMax : 0;
  }
  caps->buttons = SDL_JoystickNumButtons(handle);
  caps->has_hat = SDL_JoystickNumHats(handle) > 0;
  return true;
}

bool plat_joy_read(int device, PlatJoyPosition* position) {
  SDL_Joystick* handle = plat_joy_handle(device);
  if (!handle) return false;
  SDL_JoystickUpdate();
  if (!SDL_JoystickGetAttached(handle)) return false;
  int axes = SDL_JoystickNumAxes(handle);
  for (int a = 0; a < kPlatJoyAxes; ++a) {
    // SDL's -32768..32767 shifted onto 0..65535: the ends map onto the ends exactly.
    position->axis[a] =
        a < axes ? static_cast<unsigned>(SDL_JoystickGetAxis(handle, a) + 32768) : 0;
  }
  int buttons = SDL_JoystickNumButtons(handle);
  position->buttons = 0;
  for (int b = 0; b < buttons && b < 32; ++b) {
    if (SDL_JoystickGetButton(handle, b)) position->buttons |= 1u << b;
  }
  position->hat = SDL_JoystickNumHats(handle) > 0 ? Hundredths(SDL_JoystickGetHat(handle, 0))
                                                  : kPlatJoyHatCentred;
  return true;
}
