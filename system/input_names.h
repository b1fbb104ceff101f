// input_names.h - keys and joystick buttons by name, as a settings file or a screen writes them.
//
// A key is its code (key_codes.h) and is named as SDL names it ("Left Ctrl", "Space", "F1"); a
// button is its number on a mapped pad (joystick.h) and is named as SDL's controller mapping names
// it ("a", "b", "x", "back", "y", "leftshoulder"). Reading ignores case. Any thread. A screen names
// a button by the word on the pad itself (JoyButtonLabel).
#pragma once

#include <string>
#include <string_view>

#include "system/joystick.h"

// The name of the key with code `key`; "" when it has none.
std::string KeyName(int key);
// The code of the key called `name`; 0 when no key is called so.
int KeyFromName(std::string_view name);
// The name of the pad's button `button`; "" when the layout has none there.
std::string JoyButtonName(int button);
// The number of the pad's button called `name`; -1 when no button is called so.
int JoyButtonFromName(std::string_view name);

// The word printed on button `button` of a pad of `family`, for a screen: "A", "Cross", "B" (a
// Nintendo pad's lower face button), "Options"; "B1" for button 0 of a joystick SDL does not map
// (kNone), numbered from 1 as such joysticks number them. "" for a negative button.
std::string JoyButtonLabel(int button, PadFamily family);
