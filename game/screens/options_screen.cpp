// options_screen.cpp - the rows of the options screen and its loop. A row names a settings key:
// its words come from the key's choices, and a change goes through ChangeSettings (so it is saved
// at once) and then into what the run shows or does.
#include "game/screens/options_screen.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "game/config/colour_mode.h"
#include "game/config/joystick_buttons.h"
#include "game/config/key_bindings.h"
#include "game/config/player_name.h"
#include "game/config/settings_store.h"
#include "game/play/globals.h"
#include "game/play/screen_name.h"
#include "game/screens/controls_screen.h"
#include "game/screens/frozen_scene.h"
#include "game/screens/menu.h"
#include "game/screens/name_entry.h"
#include "graphics/display_mode.h"
#include "graphics/font.h"
#include "graphics/stereo_mode.h"
#include "system/joystick.h"
#include "system/polled_input.h"

const char kOptionsLine[] = "O = Options";

namespace {

constexpr int kOKey = 'O';

void ShowDisplay(const Settings& now) { ShowDisplayChoice(now.display, now.scale); }
void ShowColours(const Settings& now) { SetColourMode(now.colours); }
void ShowStereo(const Settings& now) { SetStereoMode(now.stereo); }
void UseFocusChoice(const Settings& now) {
  UseInputChoices(InputChoices{ActiveBindings(), now.pause_on_focus_loss});
}

struct OptionRow {
  const char* label;
  const char* key;                     // the settings key it changes; null: opens the controls
  void (*apply)(const Settings& now);  // puts the new value in force; null: the next start does
  bool redraws_backdrop = false;       // the backdrop is drawn anew in what it changes
};

const OptionRow kRows[] = {
    {"Display", "display", ShowDisplay},
    {"Scale", "scale", ShowDisplay},
    {"Colours", "colours", ShowColours, true},
    {"Stereo", "stereo", ShowStereo},
    {"Sound output", "sound_output", nullptr},
    {"Pause on focus loss", "pause_on_focus_loss", UseFocusChoice},
    {"Flashing", "flashing", nullptr},
    {"Ghost", "ghost", nullptr},  // read by the ghost itself every frame
    {"Controls", nullptr, nullptr},
    {"Name", "name", nullptr},  // edited on a screen of its own (name_entry.h)
};
constexpr int kRowCount = static_cast<int>(std::size(kRows));
constexpr int kBackRow = kRowCount;  // "Back", after the table's rows

// The output the sound started on, which a change of the setting leaves playing until the next
// start.
// Apart from the game's state: it is the sound device's, kept for the whole process.
struct StartedOutput {
  SoundOutput output = SoundOutput::Auto;
  bool known = false;
} started;

// The settings as the run shows them: the display and colours may have been switched by keys.
Settings Shown() {
  Settings now = RunSettings();
  now.display = CurrentDisplayMode();
  now.colours = GetColourMode();
  now.stereo = ChosenStereoMode();
  return now;
}

std::string ValueText(const SettingKey& key, const Settings& now) {
  if (key.type == SettingType::Boolean) return key.get(now) ? "on" : "off";
  std::string text = SettingText(key, now);
  if (std::string_view(key.name) == "sound_output" && now.sound != started.output) {
    text += " (next start)";
  }
  // A full-screen choice the display refused shows as the desktop it fell back to: say why.
  if (std::string_view(key.name) == "display" && now.display == DisplayMode::Desktop &&
      RunSettings().display == DisplayMode::Fullscreen) {
    text += " (no 640x480 mode)";
  }
  return text;
}

std::string RowText(int row, const Settings& now) {
  if (row == kBackRow) return "Back";
  const OptionRow& option = kRows[row];
  if (!option.key) return std::string(option.label) + "...";
  if (FindSettingKey(option.key)->type == SettingType::Text) {
    return std::string(option.label) + ": " + PlayerName() + "...";
  }
  return std::string(option.label) + ": " + ValueText(*FindSettingKey(option.key), now);
}

// Steps the row's value by `step` through its choices (a boolean turns over), saves it and puts it
// in force.
void ChangeRow(int row, int step) {
  const SettingKey& key = *FindSettingKey(kRows[row].key);
  Settings now = Shown();
  const int count = key.type == SettingType::Boolean ? 2 : static_cast<int>(key.choices.size());
  if (count < 2) return;
  const int value = ((key.get(now) + step) % count + count) % count;
  key.set(now, value);
  ChangeSettings([&key, value](Settings& s) { key.set(s, value); });
  if (kRows[row].apply) kRows[row].apply(now);
}

}  // namespace

std::string OptionsRowText(int row) { return RowText(row, Shown()); }

bool OnOptionsLine(int x, int y, float line_y) {
  const float half = static_cast<float>(MeasureTextWidth(kOptionsLine)) / 2 + 8;
  return std::abs(static_cast<float>(x) - 320) <= half &&
         std::abs(static_cast<float>(y) - line_y) <= 10;
}

bool OptionsKeyHit() {
  const bool key = KeyHits(kOKey) != 0;
  const bool pad = JoyButtonHits(kOptionsButton, kGameJoystickPort) != 0;
  return key || pad;
}

void OptionsScreen(const Ref<TImage>& backdrop) {
  ModalScreenScope scope(ModalScreen::Options);
  if (!started.known) {
    started.known = true;
    started.output = RunSettings().sound;
  }
  HoldPointer(false);
  MenuInput input;
  input.Begin();
  const MenuRows rows{kRowCount + 1, 126, 22};
  int selected = 0;
  for (;;) {
    const MenuAction action = input.Select(rows, selected);
    bool done = false;
    switch (action) {
      case MenuAction::kLeft:
      case MenuAction::kRight:
      case MenuAction::kChoose: {
        const int step = action == MenuAction::kLeft ? -1 : 1;
        if (selected == kBackRow) {
          done = action == MenuAction::kChoose;
        } else if (!kRows[selected].key) {
          if (action != MenuAction::kLeft) {
            ControlsScreen(backdrop);
            if (program.quitflag) return;
            input.Begin();
          }
        } else if (FindSettingKey(kRows[selected].key)->type == SettingType::Text) {
          if (action != MenuAction::kLeft) {
            NameEntryScreen(backdrop);
            if (program.quitflag) return;
            input.Begin();
          }
        } else {
          ChangeRow(selected, step);
          if (kRows[selected].redraws_backdrop && backdrop) RedrawBackdrop(backdrop);
        }
        break;
      }
      case MenuAction::kBack:
        done = true;
        break;
      case MenuAction::kNone:
      case MenuAction::kUp:
      case MenuAction::kDown:
        break;
    }
    if (done) break;
    DrawMenuBackdrop(backdrop, 366);
    DrawMenuText("** Options **", 90, false);
    const Settings now = Shown();
    for (int row = 0; row < rows.count; ++row) {
      DrawMenuText(RowText(row, now), rows.Y(row), row == selected);
    }
    DrawMenuText(UnsavedSettingsNote(), 352);
    DrawMenuText("Up/Down: choose - Left/Right/" + PadButtonWord(kMenuChooseButton) + ": change",
                 380);
    DrawMenuText("ESC/" + PadButtonWord(kMenuBackButton) + ": back", 400);
    if (!FinishMenuPass()) return;
  }
}
