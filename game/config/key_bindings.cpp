// key_bindings.cpp - the table in force and the reads through it.
#include "game/config/key_bindings.h"

#include "game/config/joystick_buttons.h"
#include "system/polled_input.h"

namespace {

// Apart from the game's state: the bindings are settings, and the replays keep them per game.
// Set from the settings at each start and from a recording at each replayed game's start.
InputChoices choices;

int Index(GameAction action) { return static_cast<int>(action); }

}  // namespace

const char* GameActionLabel(GameAction action) {
  static const char* const kLabels[kGameActions] = {"Fire", "Hyperspace", "Pause", "Abandon game",
                                                    "Quit"};
  return kLabels[Index(action)];
}

const char* GameActionWord(GameAction action) {
  static const char* const kWords[kGameActions] = {"fire", "hyperspace", "pause", "abandon",
                                                   "quit"};
  return kWords[Index(action)];
}

const InputChoices& ActiveInputChoices() { return choices; }

const KeyBindings& ActiveBindings() { return choices.bindings; }

void UseInputChoices(const InputChoices& in_force) { choices = in_force; }

int ActionKeyHits(GameAction action) {
  const int key = choices.bindings.keys[Index(action)];
  return key == kNoKey ? 0 : KeyHits(key);
}

bool ActionKeyDown(GameAction action) {
  const int key = choices.bindings.keys[Index(action)];
  return key != kNoKey && IsKeyDown(key) != 0;
}

int ActionButtonHits(GameAction action) {
  const int button = choices.bindings.pads[Index(action)];
  const int hits = button == kNoButton ? 0 : JoyButtonHits(button, kGameJoystickPort);
  if (action != GameAction::kPause || button == kStartButton) return hits;
  return hits + JoyButtonHits(kStartButton, kGameJoystickPort);
}
