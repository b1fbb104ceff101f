// virtual_pad.cpp - virtual game controllers through SDL_JoystickAttachVirtualEx.
#include "platform/virtual_pad.h"

#include <SDL.h>

#include "platform/joystick_devices.h"

namespace {

// With every control present, SDL numbers the virtual joystick's buttons and axes in the order
// of its controller enums, which the mapping it makes then names.
constexpr int kButtons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
constexpr int kAxes = SDL_CONTROLLER_AXIS_MAX;

SDL_GameControllerButton SdlButton(PadButton button) {
  switch (button) {
    case PadButton::A:
      return SDL_CONTROLLER_BUTTON_A;
    case PadButton::B:
      return SDL_CONTROLLER_BUTTON_B;
    case PadButton::X:
      return SDL_CONTROLLER_BUTTON_X;
    case PadButton::Y:
      return SDL_CONTROLLER_BUTTON_Y;
    case PadButton::Back:
      return SDL_CONTROLLER_BUTTON_BACK;
    case PadButton::Guide:
      return SDL_CONTROLLER_BUTTON_GUIDE;
    case PadButton::Start:
      return SDL_CONTROLLER_BUTTON_START;
    case PadButton::LeftStick:
      return SDL_CONTROLLER_BUTTON_LEFTSTICK;
    case PadButton::RightStick:
      return SDL_CONTROLLER_BUTTON_RIGHTSTICK;
    case PadButton::LeftShoulder:
      return SDL_CONTROLLER_BUTTON_LEFTSHOULDER;
    case PadButton::RightShoulder:
      return SDL_CONTROLLER_BUTTON_RIGHTSHOULDER;
    case PadButton::DpadUp:
      return SDL_CONTROLLER_BUTTON_DPAD_UP;
    case PadButton::DpadDown:
      return SDL_CONTROLLER_BUTTON_DPAD_DOWN;
    case PadButton::DpadLeft:
      return SDL_CONTROLLER_BUTTON_DPAD_LEFT;
    case PadButton::DpadRight:
      return SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
  }
  return SDL_CONTROLLER_BUTTON_INVALID;
}

SDL_GameControllerAxis SdlAxis(PadAxis axis) {
  switch (axis) {
    case PadAxis::LeftX:
      return SDL_CONTROLLER_AXIS_LEFTX;
    case PadAxis::LeftY:
      return SDL_CONTROLLER_AXIS_LEFTY;
    case PadAxis::RightX:
      return SDL_CONTROLLER_AXIS_RIGHTX;
    case PadAxis::RightY:
      return SDL_CONTROLLER_AXIS_RIGHTY;
    case PadAxis::LeftTrigger:
      return SDL_CONTROLLER_AXIS_TRIGGERLEFT;
    case PadAxis::RightTrigger:
      return SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
  }
  return SDL_CONTROLLER_AXIS_INVALID;
}

bool IsTrigger(SDL_GameControllerAxis axis) {
  return axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
}

}  // namespace

int PlugVirtualPad(const char* name, unsigned short vendor, unsigned short product) {
  if (!plat_joy_service()) return -1;
  SDL_VirtualJoystickDesc desc = {};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = kAxes;
  desc.nbuttons = kButtons;
  desc.button_mask = (1u << kButtons) - 1;
  desc.axis_mask = (1u << kAxes) - 1;
  desc.name = name;
  desc.vendor_id = vendor;
  desc.product_id = product;
  return PlatJoyDeviceOfIndex(SDL_JoystickAttachVirtualEx(&desc));
}

void UnplugVirtualPad(int device) {
  int index = PlatJoyIndexOfDevice(device);
  if (index >= 0 && SDL_JoystickIsVirtual(index)) SDL_JoystickDetachVirtual(index);
}

void SetVirtualPadButton(int device, PadButton button, bool down) {
  SDL_GameControllerButton sdl = SdlButton(button);
  SDL_Joystick* handle = plat_joy_handle(device);
  if (handle && sdl != SDL_CONTROLLER_BUTTON_INVALID) {
    SDL_JoystickSetVirtualButton(handle, sdl, down ? SDL_PRESSED : SDL_RELEASED);
  }
}

void SetVirtualPadAxis(int device, PadAxis axis, int value) {
  SDL_GameControllerAxis sdl = SdlAxis(axis);
  SDL_Joystick* handle = plat_joy_handle(device);
  if (!handle || sdl == SDL_CONTROLLER_AXIS_INVALID) return;
  // A virtual trigger spans SDL's whole range, resting at its minimum; the mapping halves it.
  long long raw = IsTrigger(sdl) ? -32768 + (value * 65535LL + 16383) / 32767 : value;
  if (raw > 32767) raw = 32767;
  if (raw < -32768) raw = -32768;
  SDL_JoystickSetVirtualAxis(handle, sdl, static_cast<Sint16>(raw));
}
