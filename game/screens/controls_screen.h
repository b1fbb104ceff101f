// controls_screen.h - the controls screen: every action with its key, mouse button and pad button,
// and the rebinding of fire, hyperspace, pause, abandon and quit on the keyboard and the pad.
//
// Left and right pick the keyboard's column or the pad's; choosing an action waits for the new key
// or button. A key or button the bindings' rule refuses (binding_rules.h) is refused with a word on
// the screen; "Defaults" brings back the original keys. Each change is saved at once and
// put in force. Opened from the options screen. Main thread only.
#pragma once

#include "graphics/image.h"

// The screen's loop over `backdrop`, until the player returns or the program is asked to close.
void ControlsScreen(const Ref<TImage>& backdrop);
