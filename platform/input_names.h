// input_names.h - the names SDL gives keys and pad buttons, for settings a person edits.
//
// Keys are named by the framework's key codes (Windows virtual-key numbers, side-specific for
// Shift, Control and Alt) and pad buttons by their number in the shared pad layout (joystick.h).
// The names are SDL's own ("Left Ctrl", "Space", "F1"; "a", "back", "leftshoulder"). Pure table
// look-ups: any thread, before or after SDL starts.
#pragma once

// SDL's name of the key with code `vkey`; "" when the key has none.
const char* plat_key_name(int vkey);
// The key code of the key SDL calls `name` (any case); 0 when there is none.
int plat_key_from_name(const char* name);
// SDL's name of the controller button at `button` in the pad layout; "" when there is none.
const char* plat_pad_button_name(int button);
// The layout's number of the controller button SDL calls `name` (any case); -1 when none.
int plat_pad_button_from_name(const char* name);
