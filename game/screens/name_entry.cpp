// name_entry.cpp - the name screen's editing, input and drawing.
#include "game/screens/name_entry.h"

#include <algorithm>

#include "game/config/joystick_buttons.h"
#include "game/config/player_name.h"
#include "game/config/settings.h"
#include "game/config/settings_store.h"
#include "game/play/globals.h"
#include "game/play/screen_name.h"
#include "game/screens/menu.h"
#include "system/joystick.h"
#include "system/key_codes.h"
#include "system/polled_input.h"

namespace {

constexpr int kEraseButton = kPadX;

void TakeButtons() {
  for (int button = 0; button < kJoyButtons; ++button) JoyButtonHits(button, kGameJoystickPort);
}

}  // namespace

void NameEdit::Type(char c) {
  if (kNameCharacters.find(c) == std::string_view::npos) return;
  if (cursor < name.size()) {
    name[cursor] = c;
  } else if (name.size() < kMaxNameLength) {
    name += c;
  } else {
    return;
  }
  if (cursor + 1 < kMaxNameLength) ++cursor;
}

void NameEdit::Erase() {
  // A full name's cursor stays on its last letter: Backspace takes that one first.
  if (name.size() == kMaxNameLength && cursor + 1 == kMaxNameLength) {
    name.erase(cursor, 1);
    return;
  }
  if (cursor == 0) return;
  name.erase(--cursor, 1);
}

void NameEdit::EraseHere() {
  if (cursor < name.size()) {
    name.erase(cursor, 1);
  } else if (cursor > 0) {
    name.erase(--cursor, 1);
  }
}

void NameEdit::Move(int step) {
  if (step < 0 && cursor > 0) --cursor;
  if (step > 0 && cursor < name.size() && cursor + 1 < kMaxNameLength) {
    ++cursor;
    if (cursor == name.size()) name += 'A';
  }
}

void NameEdit::Step(int step) {
  if (cursor >= name.size()) {
    if (name.size() >= kMaxNameLength) return;
    name += 'A';
    if (step > 0) return;
  }
  const std::size_t count = kNameCharacters.size();
  std::size_t at = kNameCharacters.find(name[cursor]);
  if (at == std::string_view::npos) at = 0;
  at = (at + count + static_cast<std::size_t>(step < 0 ? count - 1 : 1)) % count;
  name[cursor] = kNameCharacters[at];
}

bool NameEntryScreen(const Ref<TImage>& backdrop) {
  ModalScreenScope scope(ModalScreen::Name);
  NameEdit edit{PlayerName(), 0};
  edit.cursor = std::min(edit.name.size(), kMaxNameLength - 1);
  ClearKeys();
  ClearMouse();
  TakeButtons();
  while (NextChar() != 0) {
  }
  HeldStick x_axis, y_axis;
  x_axis.Hold(JoyAxisX(kGameJoystickPort));
  y_axis.Hold(JoyAxisY(kGameJoystickPort));
  bool kept = false, done = false;
  while (!done) {
    for (int c = NextChar(); c != 0; c = NextChar()) {
      if (c == Key(KeyCode::kEnter)) {
        kept = done = true;
      } else if (c == Key(KeyCode::kEscape)) {
        done = true;
      } else if (c == Key(KeyCode::kBackspace)) {
        edit.Erase();
      } else if (c > 0 && c < 128) {
        edit.Type(static_cast<char>(c));
      }
    }
    if (KeyHits(Key(KeyCode::kLeft))) edit.Move(-1);
    if (KeyHits(Key(KeyCode::kRight))) edit.Move(1);
    if (KeyHits(Key(KeyCode::kUp))) edit.Step(1);
    if (KeyHits(Key(KeyCode::kDown))) edit.Step(-1);
    if (const int dx = x_axis.Step(JoyAxisX(kGameJoystickPort))) edit.Move(dx);
    // Up on the pad reads -1: it steps forwards through the letters.
    if (const int dy = y_axis.Step(JoyAxisY(kGameJoystickPort))) edit.Step(-dy);
    if (JoyButtonHits(kEraseButton, kGameJoystickPort)) edit.EraseHere();
    if (JoyButtonHits(kMenuChooseButton, kGameJoystickPort) || MouseHits(1)) kept = done = true;
    if (JoyButtonHits(kMenuBackButton, kGameJoystickPort)) done = true;

    DrawMenuBackdrop(backdrop, 280);
    DrawMenuText("** Your name **", 150);
    DrawMenuText("Every game you record carries it", 180);
    // The name with the letter under the cursor between markers, as a selected row is.
    std::string shown = edit.name;
    if (edit.cursor >= shown.size()) shown += ' ';
    shown.insert(edit.cursor + 1, "]");
    shown.insert(edit.cursor, "[");
    DrawMenuText(shown, 230);
    DrawMenuText("Type it, or Up/Down: letter - Left/Right: move", 290);
    DrawMenuText("Enter/A: keep - ESC/B: cancel - Backspace/X: delete", 310);
    if (!FinishMenuPass()) return false;
  }
  ClearKeys();
  TakeButtons();
  if (!kept) return false;
  const std::string name = PlayerNameText(edit.name);
  ChangeSettings([&name](Settings& s) { s.name = name; });
  return true;
}
