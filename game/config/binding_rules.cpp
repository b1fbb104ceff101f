// binding_rules.cpp - the refusals of a key or a pad button for an action, and a whole table
// checked against them.
#include "game/config/binding_rules.h"

#include "game/config/joystick_buttons.h"
#include "system/input_names.h"
#include "system/key_codes.h"

namespace {

// Keys the game reads for itself whatever the table says, and the menus' own.
constexpr KeyCode kKeptKeys[] = {KeyCode::kF2,    KeyCode::kF3,   KeyCode::kF4,   KeyCode::kF11,
                                 KeyCode::kF12,   KeyCode::kUp,   KeyCode::kDown, KeyCode::kLeft,
                                 KeyCode::kRight, KeyCode::kEnter};
constexpr int kOKey = 'O', kWKey = 'W', kVKey = 'V';

int Code(const KeyBindings& bindings, GameAction action, BindingColumn column) {
  const int index = static_cast<int>(action);
  return column == BindingColumn::kKey ? bindings.keys[index] : bindings.pads[index];
}

}  // namespace

std::string BoundKeyText(int key) {
  if (key == kNoKey) return "-";
  const std::string name = KeyName(key);
  return name.empty() ? "key " + std::to_string(key) : name;
}

std::string BoundButtonText(int button) {
  if (button == kNoButton) return "-";
  const std::string name = JoyButtonName(button);
  return name.empty() ? "button " + std::to_string(button) : name;
}

std::string BindingRefusal(const KeyBindings& bindings, GameAction action, BindingColumn column,
                           int code) {
  const bool key = column == BindingColumn::kKey;
  const std::string name = key ? BoundKeyText(code) : BoundButtonText(code);
  if (key) {
    // The keyboard is always there; the pad may not be.
    if (code == kNoKey && (action == GameAction::kQuit || action == GameAction::kPause)) {
      return std::string(GameActionLabel(action)) + " needs a key";
    }
    for (KeyCode kept : kKeptKeys) {
      if (Key(kept) == code) return name + " is kept by the game";
    }
    if (code == kOKey) return name + " opens the options";
    if (code == kWKey) return name + " watches the best game";
    if (code == kVKey) return name + " saves the best game as a video";
    if (code == Key(KeyCode::kEscape) && action != GameAction::kQuit) {
      return name + " only quits or goes back";
    }
  } else if (code == kOptionsButton) {
    return name + " opens the options";
  } else if (code == kVideoButton) {
    return name + " saves the best game as a video";
  } else if (code == kStartButton && action != GameAction::kPause) {
    return name + " pauses the game";
  }
  if (code == (key ? kNoKey : kNoButton)) return "";
  for (int other = 0; other < kGameActions; ++other) {
    if (other == static_cast<int>(action)) continue;
    const int taken = key ? bindings.keys[other] : bindings.pads[other];
    if (taken == code) {
      return name + " is " + GameActionLabel(static_cast<GameAction>(other)) + "'s " +
             (key ? "key" : "button");
    }
  }
  return "";
}

KeyBindings CheckedBindings(KeyBindings bindings, const BindingRefused& refused) {
  // Only a binding away from its default is ever put back, so this ends; and since the defaults
  // refuse none of each other, what is left refuses nothing: a default clashing with another
  // action's key finds that key away from its default, and that one is put back.
  for (BindingColumn column : {BindingColumn::kKey, BindingColumn::kPad}) {
    for (int index = 0; index < kGameActions;) {
      const GameAction action = static_cast<GameAction>(index);
      const int code = Code(bindings, action, column);
      const int original = Code(kDefaultBindings, action, column);
      const std::string why =
          code == original ? "" : BindingRefusal(bindings, action, column, code);
      if (why.empty()) {
        ++index;
        continue;
      }
      if (refused) refused(action, column, code, why);
      (column == BindingColumn::kKey ? bindings.keys : bindings.pads)[index] = original;
      index = 0;  // a put-back default may clash with an action already looked at
    }
  }
  return bindings;
}
