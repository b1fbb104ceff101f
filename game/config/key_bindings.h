// key_bindings.h - which key and which pad button does each of the game's rebindable actions,
// and the reads of them.
//
// The game acts through this table: the frame loop, the pause screen and the ship ask whether an
// action's key or button was hit, never for a key by its code. The table in force comes from the
// settings at start and from the options and controls screens; a replay puts each game's recorded
// table in force while it plays that game. The mouse buttons are not in the table (left fires and
// starts, right jumps). Main thread only.
#pragma once

#include <array>

#include "game/config/joystick_buttons.h"

enum class GameAction { kFire, kHyperspace, kPause, kAbandon, kQuit };
inline constexpr int kGameActions = 5;

// No key (key code 0) or no button (-1) does the action.
inline constexpr int kNoKey = 0;
inline constexpr int kNoButton = -1;

struct KeyBindings {
  std::array<int, kGameActions> keys;  // key codes (key_codes.h)
  std::array<int, kGameActions> pads;  // buttons of the pad on the game's port
  friend bool operator==(const KeyBindings&, const KeyBindings&) = default;
};

// Left Ctrl fires, Left Alt jumps, Space pauses, F1 abandons, ESC quits; on the pad the first four
// buttons of the layout (A fires, B jumps, X pauses, Back quits), and no button abandons; Start
// pauses too, whatever the pause's button (ActionButtonHits).
inline constexpr KeyBindings kDefaultBindings = {{162, 164, 32, 112, 27},
                                                 {kPadA, kPadB, kPadX, kNoButton, kPadBack}};

// The action's word for a person ("Fire", "Hyperspace", "Pause", "Abandon game", "Quit").
const char* GameActionLabel(GameAction action);
// The word the settings keys use for it ("fire", "hyperspace", "pause", "abandon", "quit").
const char* GameActionWord(GameAction action);

// Everything besides the input itself that decides what the game does with it: the table and
// whether losing the focus pauses. A recording keeps it with each game.
struct InputChoices {
  KeyBindings bindings = kDefaultBindings;
  bool pause_on_focus_loss = true;
  friend bool operator==(const InputChoices&, const InputChoices&) = default;
};

// The choices in force.
const InputChoices& ActiveInputChoices();
const KeyBindings& ActiveBindings();
// Puts `choices` in force (the settings' at start, a replayed game's, the options screens').
void UseInputChoices(const InputChoices& choices);

// Hits of the action's key since the last read (consumed); 0 when it has none.
int ActionKeyHits(GameAction action);
// Whether the action's key is held down.
bool ActionKeyDown(GameAction action);
// Hits of the action's button on the game's pad (consumed); 0 when it has none. The pause's
// count Start's hits too.
int ActionButtonHits(GameAction action);
