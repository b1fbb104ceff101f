// controls_screen.cpp - the controls table, the wait for a new key or button, and the refusals.
#include "game/screens/controls_screen.h"

#include <string>

#include "game/config/binding_rules.h"
#include "game/config/joystick_buttons.h"
#include "game/config/settings_store.h"
#include "game/play/globals.h"
#include "game/play/screen_name.h"
#include "game/screens/menu.h"
#include "system/joystick.h"
#include "system/key_codes.h"
#include "system/polled_input.h"

namespace {

constexpr int kActionRows = kGameActions;
constexpr int kDefaultsRow = kActionRows;
constexpr int kBackRow = kActionRows + 1;
constexpr int kWaitFrames = 5 * 60;     // a wait for a key or button ends unanswered after this
constexpr int kMessageFrames = 3 * 60;  // how long a refusal or a change is shown

const char* const kMouseColumn[kGameActions] = {"Left", "Right", "-", "-", "-"};

constexpr float kActionX = 96, kKeyX = 232, kMouseX = 352, kPadColumnX = 432;

// A button by the word on the pad in use ("A", "Cross", "B1" on a joystick SDL does not map).
std::string ButtonText(int button) { return button == kNoButton ? "-" : PadButtonWord(button); }

void Keep(const KeyBindings& bindings) {
  ChangeSettings([&bindings](Settings& s) { s.bindings = bindings; });
  UseInputChoices(InputChoices{bindings, ActiveInputChoices().pause_on_focus_loss});
}

// Either side's plain code (Shift, Control or Alt) names no key of its own: the side's code is
// the key.
bool PlainModifier(int key) {
  return key == Key(KeyCode::kShift) || key == Key(KeyCode::kControl) || key == Key(KeyCode::kAlt);
}

// The first key hit since the last read, 0 when none (every key's hits are read).
int AnyKeyHit() {
  int hit = 0;
  for (int key = 1; key < 256; ++key) {
    if (KeyHits(key) && hit == 0 && !PlainModifier(key)) hit = key;
  }
  return hit;
}

int AnyButtonHit() {
  int hit = kNoButton;
  for (int button = 0; button < kJoyButtons; ++button) {
    if (JoyButtonHits(button, kGameJoystickPort) && hit == kNoButton) hit = button;
  }
  return hit;
}

}  // namespace

void ControlsScreen(const Ref<TImage>& backdrop) {
  ModalScreenScope scope(ModalScreen::Controls);
  MenuInput input;
  input.Begin();
  const MenuRows rows{kBackRow + 1, 150, 22};
  int selected = 0;
  BindingColumn column = BindingColumn::kKey;
  int waiting = 0;  // frames left for a new key or button; 0: not waiting
  std::string message;
  int message_left = 0;
  auto say = [&](const std::string& words) {
    message = words;
    message_left = kMessageFrames;
  };
  for (;;) {
    const GameAction action = static_cast<GameAction>(selected < kActionRows ? selected : 0);
    if (waiting > 0) {
      --waiting;
      KeyBindings bindings = ActiveBindings();
      int& slot = column == BindingColumn::kKey ? bindings.keys[selected] : bindings.pads[selected];
      int code = column == BindingColumn::kKey ? AnyKeyHit() : AnyButtonHit();
      if (column == BindingColumn::kPad && KeyHits(Key(KeyCode::kEscape))) waiting = 0;
      const bool answered = column == BindingColumn::kKey ? code != 0 : code != kNoButton;
      if (column == BindingColumn::kKey && code == Key(KeyCode::kEscape) &&
          action != GameAction::kQuit) {
        waiting = 0;  // ESC keeps the key, unless it is the key asked for
      } else if (answered) {
        waiting = 0;
        const std::string refusal = BindingRefusal(bindings, action, column, code);
        if (!refusal.empty()) {
          say(refusal + ": not changed");
        } else {
          slot = code;
          Keep(bindings);
          say(std::string(GameActionLabel(action)) + ": " +
              (column == BindingColumn::kKey ? BoundKeyText(code) : BoundButtonText(code)));
        }
      }
      if (waiting == 0) input.Begin();
    } else {
      bool done = false;
      switch (input.Select(rows, selected)) {
        case MenuAction::kLeft:
          column = BindingColumn::kKey;
          break;
        case MenuAction::kRight:
          column = BindingColumn::kPad;
          break;
        case MenuAction::kChoose:
          if (selected == kBackRow) {
            done = true;
          } else if (selected == kDefaultsRow) {
            Keep(kDefaultBindings);
            say("The original keys and buttons are back");
          } else {
            waiting = kWaitFrames;
            ClearKeys();
            AnyButtonHit();
          }
          break;
        case MenuAction::kBack:
          done = true;
          break;
        case MenuAction::kNone:
        case MenuAction::kUp:
        case MenuAction::kDown:
          break;
      }
      if (done) break;
    }
    if (message_left > 0) --message_left;

    DrawMenuBackdrop(backdrop, 316);
    DrawMenuText("** Controls **", 70);
    DrawMenuTextAt("Action", kActionX, 120);
    DrawMenuTextAt(column == BindingColumn::kKey ? "[Key]" : "Key", kKeyX, 120);
    DrawMenuTextAt("Mouse", kMouseX, 120);
    DrawMenuTextAt(column == BindingColumn::kPad ? "[Pad]" : "Pad", kPadColumnX, 120);
    const KeyBindings& bindings = ActiveBindings();
    for (int row = 0; row < kActionRows; ++row) {
      const float y = rows.Y(row);
      const bool chosen = row == selected;
      const bool asked = chosen && waiting > 0;
      DrawMenuTextAt(
          std::string(chosen ? "> " : "  ") + GameActionLabel(static_cast<GameAction>(row)),
          kActionX - 16, y);
      DrawMenuTextAt(
          asked && column == BindingColumn::kKey ? "?" : BoundKeyText(bindings.keys[row]), kKeyX,
          y);
      DrawMenuTextAt(kMouseColumn[row], kMouseX, y);
      // Start pauses whatever button the pause has, so its row names both.
      const bool pause_row = static_cast<GameAction>(row) == GameAction::kPause;
      DrawMenuTextAt(
          asked && column == BindingColumn::kPad
              ? "?"
              : ButtonText(bindings.pads[row]) + (pause_row ? ", " + ButtonText(kStartButton) : ""),
          kPadColumnX, y);
    }
    DrawMenuText("Defaults", rows.Y(kDefaultsRow), selected == kDefaultsRow);
    DrawMenuText("Back", rows.Y(kBackRow), selected == kBackRow);
    DrawMenuText("Move: mouse, stick or D-pad  Volumes: F2/F3", 330);
    DrawMenuText("Colours: F4  Window: Alt+Enter  Picture: F12", 348);
    DrawMenuText("Best game: W/" + BoundButtonText(kWatchButton) + " watch, V/" +
                     BoundButtonText(kVideoButton) + " video",
                 366);
    DrawMenuText(UnsavedSettingsNote(), 370);
    if (waiting > 0) {
      DrawMenuText(
          column == BindingColumn::kKey
              ? std::string("Press the new key for ") + GameActionLabel(action) + " (ESC: keep)"
              : std::string("Press the new button for ") + GameActionLabel(action),
          390);
    } else if (message_left > 0) {
      DrawMenuText(message, 390);
    } else {
      DrawMenuText("Left/Right: key or pad - " + ButtonText(kMenuChooseButton) + "/Enter: change",
                   390);
    }
    DrawMenuText("ESC/" + ButtonText(kMenuBackButton) + ": back", 410);
    if (!FinishMenuPass()) return;
  }
}
