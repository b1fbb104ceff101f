// inject.h - input made up by a test or the headless harness, fed through SDL's own queue.
//
// Each function builds the SDL event a real device would cause and pushes it into SDL's event
// queue, so that everything from the conversion to Windows-style messages upwards runs exactly
// as it does for real input. Keys are named by Windows virtual-key code; the side-specific codes
// 160-165 press the left or right Shift, Control or Alt, and plain 16, 17, 18 press the left one.
//
// Joysticks are SDL virtual devices: attach one, then set its axes, buttons and hat; reads see
// the new state (joystick.h). Main thread only.
#pragma once

#include <cstdint>

// What a display without real modes (the offscreen driver) refuses, for tests of the refusals a
// real display can make. kDisplayModes: no display mode can be set; kAll: nor can a window take
// the whole desktop.
enum class PlatFullScreenRefusal { kNone, kDisplayModes, kAll };
void plat_inject_full_screen_refusal(PlatFullScreenRefusal refusal);
// The desktop size such a display reports (0 x 0: its driver's own); desktop full-screen
// windows made afterwards take it.
void plat_inject_desktop_size(int width, int height);

// Each returns false when the event could not be queued (or the key has no SDL equivalent).
bool plat_inject_key(std::uint32_t window, int vkey, bool down, bool repeat = false);
bool plat_inject_text(std::uint32_t window, const char* utf8);
bool plat_inject_mouse_move(std::uint32_t window, int x, int y);
bool plat_inject_mouse_button(std::uint32_t window, int button,
                              bool down);                   // 1 left 2 right 3 middle
bool plat_inject_wheel(std::uint32_t window, int notches);  // positive: away from the user
bool plat_inject_focus(std::uint32_t window, bool gained);
bool plat_inject_close(std::uint32_t window);
bool plat_inject_pointer_leave(std::uint32_t window);
bool plat_inject_file_drop(std::uint32_t window, const char* path);

// A virtual joystick that SDL does not map (it reads raw); returns its device number, or -1 if
// the joystick service cannot run or every number is taken. Detaching it is pulling it out.
// Virtual pads that SDL maps are in virtual_pad.h.
int plat_inject_joystick_attach(int axes, int buttons, int hats);
void plat_inject_joystick_detach(int device);
void plat_inject_joystick_axis(int device, int axis, int value);  // -32768 .. 32767
void plat_inject_joystick_button(int device, int button, bool down);
// `directions` is a mask: 1 forward, 2 right, 4 back, 8 left (0 centred).
void plat_inject_joystick_hat(int device, int hat, int directions);
