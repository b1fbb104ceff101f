// hall_of_fame_screen.cpp - the hall of fame's rows, its loop and what each choice does.
#include "game/watch/hall_of_fame_screen.h"

#include <string>

#include <utility>

#include "game/config/joystick_buttons.h"
#include "game/play/globals.h"
#include "game/play/screen_name.h"
#include "game/replay/ghost.h"
#include "game/replay/hall_of_fame.h"
#include "game/screens/menu.h"
#include "game/screens/pause_screen.h"
#include "game/video/title_video.h"
#include "game/watch/best_game_watch.h"
#include "game/watch/replay_viewer.h"
#include "graphics/display_mode.h"
#include "graphics/draw2d.h"
#include "system/joystick.h"
#include "system/key_codes.h"
#include "system/polled_input.h"

namespace {

constexpr int kHKey = 'H', kVKey = 'V';
constexpr int kDeleteKey = Key(KeyCode::kDelete);

// The columns' left edges inside the menu's panel (x 80..560).
constexpr float kPlaceX = 92, kNameX = 124, kScoreX = 250, kWaveX = 330, kDateX = 380,
                kLengthX = 490;

void DrawRow(const HallEntry& e, int place, float y, bool selected) {
  SetColor(255, 255, 255);
  DrawMenuTextAt((selected ? ">" : " ") + std::to_string(place), kPlaceX, y);
  DrawMenuTextAt(e.player, kNameX, y);
  DrawMenuTextAt(std::to_string(e.score), kScoreX, y);
  DrawMenuTextAt(std::to_string(e.wave), kWaveX, y);
  const std::string when = PlayedText(e.played);
  DrawMenuTextAt(when.substr(0, when.find(' ')), kDateX, y);
  DrawMenuTextAt(GameLengthText(e.frames), kLengthX, y);
}

}  // namespace

bool HallOfFameKeyHit() {
  const bool key = KeyHits(kHKey) != 0;
  const bool pad = JoyButtonHits(kHallOfFameButton, kGameJoystickPort) != 0;
  return key || pad;
}

HallChoice HallOfFameScreen() {
  ModalScreenScope scope(ModalScreen::HallOfFame);
  std::vector<HallEntry> entries = ReadHallOfFame(CurrentHallOfFame(), true);
  MenuInput input;
  input.Begin();
  int selected = 0;
  bool confirming = false;
  std::string note;
  HoldPointer(false);
  for (;;) {
    const MenuRows rows{static_cast<int>(entries.size()) + 1, 150, 22};
    const int back = rows.count - 1;
    const MenuCommand command = input.Read(rows);
    if (command.pointed >= 0) selected = command.pointed;
    const bool race = KeyHits(kRaceKey) || JoyButtonHits(kRaceButton, kGameJoystickPort);
    const bool remove = KeyHits(kDeleteKey) || JoyButtonHits(kRemoveButton, kGameJoystickPort);
    const bool video = KeyHits(kVKey) || JoyButtonHits(kVideoButton, kGameJoystickPort);
    if (command.action == MenuAction::kUp || command.action == MenuAction::kDown) {
      selected = MovedSelection(rows, selected, command.action);
      confirming = false;
    }
    if (command.action == MenuAction::kBack ||
        (command.action == MenuAction::kChoose && selected == back)) {
      return HallChoice::kBack;
    }
    if (selected < back && (command.action == MenuAction::kChoose || race || remove || video)) {
      const HallEntry entry = entries[static_cast<std::size_t>(selected)];
      if (remove) {
        if (confirming && RemoveFromHallOfFame(CurrentHallOfFame(), entry.file)) {
          entries = ReadHallOfFame(CurrentHallOfFame(), true);
          selected = std::min(selected, static_cast<int>(entries.size()));
          note.clear();
        } else {
          note = "Press Delete or X again to remove it";
        }
        confirming = !confirming;
      } else {
        ReplayJournal journal;
        const ReplayError error = LoadHallReplay(CurrentHallOfFame(), entry, journal);
        if (error != ReplayError::kNone) {
          note = entry.file + ": " + ReplayErrorText(error);
        } else if (video) {
          note = SaveGameVideo(journal, entry.player + "'s game", FreezeFrame());
          input.Begin();
        } else if (race) {
          if (RaceGhost(journal.games[0], entry.player)) return HallChoice::kRace;
          note = "That game has no track to race";
        } else {
          const BestGameWatch watched =
              WatchReplay(std::move(journal), "Place " + std::to_string(selected + 1));
          if (program.quitflag) return HallChoice::kBack;
          if (watched.race) return HallChoice::kRace;
          if (watched.practised) return HallChoice::kBack;  // the title, as after a game
          input.Begin();
        }
      }
    }

    Cls();
    DrawMenuBackdrop(nullptr, 410);
    DrawMenuText("** Hall of Fame **", 84);
    SetColor(255, 255, 255);
    const float header = 122;
    DrawMenuTextAt("#", kPlaceX + 8, header);
    DrawMenuTextAt("Name", kNameX, header);
    DrawMenuTextAt("Score", kScoreX, header);
    DrawMenuTextAt("Wave", kWaveX, header);
    DrawMenuTextAt("Date", kDateX, header);
    DrawMenuTextAt("Length", kLengthX, header);
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const int row = static_cast<int>(i);
      DrawRow(entries[i], row + 1, rows.Y(row), row == selected);
    }
    if (entries.empty()) DrawMenuText("No games yet: play one!", rows.Y(0) - 22);
    DrawMenuText("Back", rows.Y(back), selected == back);
    DrawMenuText(
        note.empty() ? "Enter/A: watch - G/Y: race - V/RB: video - Delete/X: remove" : note, 420);
    DrawMenuText("ESC/B: back", 440);
    if (!FinishMenuPass()) return HallChoice::kBack;
  }
}
