// inject.cpp - made-up SDL events and virtual joysticks.
#include "platform/inject.h"

#include <SDL.h>

#include <cstring>
#include <map>
#include <utility>

#include "platform/events.h"
#include "platform/joystick_devices.h"
#include "platform/keymap.h"
#include "platform/window_registry.h"

namespace {

bool Push(SDL_Event& e) { return plat_events_init() && SDL_PushEvent(&e) == 1; }

bool PushWindowEvent(std::uint32_t window, SDL_WindowEventID id) {
  SDL_Event e = {};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = window;
  e.window.event = id;
  return Push(e);
}

Uint8 SdlButton(int button) {
  switch (button) {
    case 1:
      return SDL_BUTTON_LEFT;
    case 2:
      return SDL_BUTTON_RIGHT;
    case 3:
      return SDL_BUTTON_MIDDLE;
    default:
      return 0;
  }
}

// Where injected moves have put the pointer, ahead of the messages still in the queue.
std::map<std::uint32_t, std::pair<int, int>> injected_pointer;

void PointerOf(std::uint32_t window, int* x, int* y) {
  auto found = injected_pointer.find(window);
  if (found != injected_pointer.end()) {
    *x = found->second.first;
    *y = found->second.second;
    return;
  }
  PlatWindowRecord* record = plat_window_record(window);
  *x = record ? record->pointer_x : 0;
  *y = record ? record->pointer_y : 0;
}

}  // namespace

bool plat_inject_key(std::uint32_t window, int vkey, bool down, bool repeat) {
  int scancode = plat_sdl_scancode_from_vkey(vkey);
  if (scancode == 0) return false;
  SDL_Event e = {};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.windowID = window;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = down && repeat ? 1 : 0;
  e.key.keysym.scancode = static_cast<SDL_Scancode>(scancode);
  e.key.keysym.sym = SDL_GetKeyFromScancode(e.key.keysym.scancode);
  return Push(e);
}

bool plat_inject_text(std::uint32_t window, const char* utf8) {
  SDL_Event e = {};
  e.type = SDL_TEXTINPUT;
  e.text.windowID = window;
  std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
  return Push(e);
}

bool plat_inject_mouse_move(std::uint32_t window, int x, int y) {
  int old_x, old_y;
  PointerOf(window, &old_x, &old_y);
  SDL_Event e = {};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = window;
  e.motion.x = x;
  e.motion.y = y;
  e.motion.xrel = x - old_x;
  e.motion.yrel = y - old_y;
  injected_pointer[window] = {x, y};
  return Push(e);
}

bool plat_inject_mouse_button(std::uint32_t window, int button, bool down) {
  Uint8 sdl_button = SdlButton(button);
  if (sdl_button == 0) return false;
  SDL_Event e = {};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.windowID = window;
  e.button.button = sdl_button;
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = 1;
  PointerOf(window, &e.button.x, &e.button.y);
  return Push(e);
}

bool plat_inject_wheel(std::uint32_t window, int notches) {
  SDL_Event e = {};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.windowID = window;
  e.wheel.y = notches;
  e.wheel.preciseY = static_cast<float>(notches);
  e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  return Push(e);
}

bool plat_inject_focus(std::uint32_t window, bool gained) {
  return PushWindowEvent(window,
                         gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
}

bool plat_inject_close(std::uint32_t window) {
  return PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
}

bool plat_inject_pointer_leave(std::uint32_t window) {
  return PushWindowEvent(window, SDL_WINDOWEVENT_LEAVE);
}

bool plat_inject_file_drop(std::uint32_t window, const char* path) {
  SDL_Event e = {};
  e.type = SDL_DROPFILE;
  e.drop.windowID = window;
  e.drop.file = SDL_strdup(path);
  if (!e.drop.file) return false;
  if (SDL_PushEvent(&e) == 1) return true;
  SDL_free(e.drop.file);
  return false;
}

int plat_inject_joystick_attach(int axes, int buttons, int hats) {
  if (!plat_joy_service()) return -1;
  return PlatJoyDeviceOfIndex(
      SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, axes, buttons, hats));
}

void plat_inject_joystick_detach(int device) {
  int index = PlatJoyIndexOfDevice(device);
  if (index >= 0 && SDL_JoystickIsVirtual(index)) SDL_JoystickDetachVirtual(index);
}

void plat_inject_joystick_axis(int device, int axis, int value) {
  if (SDL_Joystick* handle = plat_joy_handle(device)) {
    SDL_JoystickSetVirtualAxis(handle, axis, static_cast<Sint16>(value));
  }
}

void plat_inject_joystick_button(int device, int button, bool down) {
  if (SDL_Joystick* handle = plat_joy_handle(device)) {
    SDL_JoystickSetVirtualButton(handle, button, down ? SDL_PRESSED : SDL_RELEASED);
  }
}

void plat_inject_joystick_hat(int device, int hat, int directions) {
  if (SDL_Joystick* handle = plat_joy_handle(device)) {
    SDL_JoystickSetVirtualHat(handle, hat, static_cast<Uint8>(directions));
  }
}
