// joystick.cpp - SDL joysticks and mapped pads by device number, picked up and dropped as they
// are plugged in and pulled out.
//
// SDL's joystick and controller events stay switched off: every call compares SDL's device list
// with the numbers handed out, so the message stream carries nothing a query did not ask for and
// a device plugged in or pulled out shows at the very next call.
#include "platform/joystick.h"

#include <SDL.h>

#include <cstring>
#include <vector>

#include "platform/events.h"
#include "platform/joystick_devices.h"
#include "platform/pad_layout.h"

namespace {

constexpr unsigned kAxisMax = 65535;

// One device number. A free number remembers the device it last held, so that the same device
// plugged back in gets it again.
struct Device {
  SDL_JoystickGUID guid = {};
  SDL_JoystickID instance = -1;  // -1 while the number is free
  SDL_Joystick* stick = nullptr;
  SDL_GameController* pad = nullptr;  // set when SDL maps the device; it owns `stick`
};

std::vector<Device>& Devices() {
  static std::vector<Device> devices;
  return devices;
}

void Close(Device& device) {
  if (device.pad) {
    SDL_GameControllerClose(device.pad);
  } else if (device.stick) {
    SDL_JoystickClose(device.stick);
  }
  device.pad = nullptr;
  device.stick = nullptr;
  device.instance = -1;
}

bool Holds(SDL_JoystickID instance) {
  for (const Device& device : Devices()) {
    if (device.instance == instance) return true;
  }
  return false;
}

// The free number that last held a device with this GUID, else the lowest free number, else a
// new one; -1 when all kPlatJoyDevices are taken.
int NumberFor(const SDL_JoystickGUID& guid) {
  std::vector<Device>& devices = Devices();
  int lowest = -1;
  for (int n = 0; n < static_cast<int>(devices.size()); ++n) {
    if (devices[n].instance != -1) continue;
    if (std::memcmp(&devices[n].guid, &guid, sizeof guid) == 0) return n;
    if (lowest < 0) lowest = n;
  }
  if (lowest >= 0) return lowest;
  if (devices.size() >= static_cast<std::size_t>(kPlatJoyDevices)) return -1;
  devices.emplace_back();
  return static_cast<int>(devices.size()) - 1;
}

void Open(int index, Device& device) {
  if (SDL_IsGameController(index)) {
    device.pad = SDL_GameControllerOpen(index);
    if (device.pad) device.stick = SDL_GameControllerGetJoystick(device.pad);
  }
  if (!device.stick) device.stick = SDL_JoystickOpen(index);  // unmapped, or the mapping failed
  if (!device.stick) return;
  device.guid = SDL_JoystickGetDeviceGUID(index);
  device.instance = SDL_JoystickGetDeviceInstanceID(index);
}

// Drops the devices pulled out and gives numbers to those plugged in since the last look.
void Refresh() {
  SDL_JoystickUpdate();
  for (Device& device : Devices()) {
    if (device.stick && !SDL_JoystickGetAttached(device.stick)) Close(device);
  }
  int count = SDL_NumJoysticks();
  for (int index = 0; index < count; ++index) {
    SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(index);
    if (instance < 0 || Holds(instance)) continue;
    int number = NumberFor(SDL_JoystickGetDeviceGUID(index));
    if (number < 0) break;
    Open(index, Devices()[number]);
  }
}

Device* Find(int number) {
  if (number < 0 || !plat_joy_service()) return nullptr;
  Refresh();
  std::vector<Device>& devices = Devices();
  if (number >= static_cast<int>(devices.size()) || !devices[number].stick) return nullptr;
  return &devices[number];
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

void RawCaps(SDL_Joystick* handle, PlatJoyCaps* caps) {
  const char* name = SDL_JoystickName(handle);
  caps->name = name ? name : "";
  caps->layout = PlatJoyLayout::Raw;
  int axes = SDL_JoystickNumAxes(handle);
  for (int a = 0; a < kPlatJoyAxes; ++a) {
    caps->axis_min[a] = 0;
    caps->axis_max[a] = a < axes ? kAxisMax : 0;
  }
  caps->buttons = SDL_JoystickNumButtons(handle);
  caps->has_hat = SDL_JoystickNumHats(handle) > 0;
}

void RawRead(SDL_Joystick* handle, PlatJoyPosition* position) {
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
}

}  // namespace

bool plat_joy_service() {
  if (SDL_WasInit(SDL_INIT_JOYSTICK)) return true;
  if (!plat_events_init()) return false;
  // Face buttons by place, not by label: the game's fire button is the lower one on every pad
  // (a Nintendo pad's B), as the layout says; the words on them come from the pad's family.
  SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
  // The controller mapping if it starts; plain joysticks if only they do.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0 &&
      SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
    return false;
  }
  SDL_JoystickEventState(SDL_IGNORE);
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) SDL_GameControllerEventState(SDL_IGNORE);
  return true;
}

SDL_Joystick* plat_joy_handle(int device) {
  Device* found = Find(device);
  return found ? found->stick : nullptr;
}

int PlatJoyDeviceOfIndex(int index) {
  if (index < 0 || !plat_joy_service()) return -1;
  Refresh();
  SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(index);
  std::vector<Device>& devices = Devices();
  for (int n = 0; n < static_cast<int>(devices.size()); ++n) {
    if (instance >= 0 && devices[n].instance == instance) return n;
  }
  return -1;
}

int PlatJoyIndexOfDevice(int device) {
  Device* found = Find(device);
  if (!found) return -1;
  int count = SDL_NumJoysticks();
  for (int index = 0; index < count; ++index) {
    if (SDL_JoystickGetDeviceInstanceID(index) == found->instance) return index;
  }
  return -1;
}

int plat_joy_device_count() {
  if (!plat_joy_service()) return 0;
  Refresh();
  return static_cast<int>(Devices().size());
}

bool plat_joy_caps(int device, PlatJoyCaps* caps) {
  Device* found = Find(device);
  if (!found) return false;
  if (found->pad) {
    PadCaps(found->pad, caps);
  } else {
    RawCaps(found->stick, caps);
  }
  return true;
}

bool plat_joy_read(int device, PlatJoyPosition* position) {
  Device* found = Find(device);
  if (!found) return false;
  if (found->pad) {
    PadRead(found->pad, position);
  } else {
    RawRead(found->stick, position);
  }
  return true;
}
