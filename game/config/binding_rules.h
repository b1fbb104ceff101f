// binding_rules.h - which keys and pad buttons an action may have: the one rule the controls
// screen and the settings file both keep.
//
// A key or button is refused when another action has it, when the game or its menus read it for
// themselves (F2, F3, F4, F11, F12, the arrows, Enter, O, W; the pad's Y, and Start for anything
// but the pause), when it is Escape for anything but quitting, and when it leaves the keyboard
// without a way to quit or to pause (no key for either). Pure: no input, no files. Any thread.
#pragma once

#include <functional>
#include <string>

#include "game/config/key_bindings.h"

enum class BindingColumn { kKey, kPad };

// The words for a key ("Left Alt", "-" for none) and a pad button ("leftshoulder", "-").
std::string BoundKeyText(int key);
std::string BoundButtonText(int button);

// Why `code` (a key code, or a pad button) cannot do `action` in `bindings`: "" when it can, else
// the words the screen shows ("Left Alt is Hyperspace's key").
std::string BindingRefusal(const KeyBindings& bindings, GameAction action, BindingColumn column,
                           int code);

// A refused binding: the action, its column, the refused code and why.
using BindingRefused =
    std::function<void(GameAction action, BindingColumn column, int code, const std::string& why)>;
// `bindings` with each key and button the rule refuses back at its default, each told once to
// `refused`; the result is one the rule refuses nothing of. Of two actions given one key, the
// later in the table keeps it.
KeyBindings CheckedBindings(KeyBindings bindings, const BindingRefused& refused);
