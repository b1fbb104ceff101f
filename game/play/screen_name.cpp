// screen_name.cpp - the screen's name from the modal loop and the frame loop's flags.
#include "game/play/screen_name.h"

#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/practice_game.h"

namespace {

// Apart from the game's state: which modal screen runs, named in the frame log. Set and put
// back by each ModalScreenScope.
ModalScreen modal = ModalScreen::None;

}  // namespace

void SetModalScreen(ModalScreen screen) { modal = screen; }

ModalScreen CurrentModalScreen() { return modal; }

bool WatchingRecordedGame() {
  return modal == ModalScreen::BestGame || modal == ModalScreen::Replay;
}

const char* CurrentScreenName() {
  switch (modal) {
    case ModalScreen::Startup:
      return "startup";
    case ModalScreen::Splash:
      return "splash";
    case ModalScreen::Pause:
      return "pause";
    case ModalScreen::Options:
      return "options";
    case ModalScreen::Controls:
      return "controls";
    case ModalScreen::BestGame:
      return "bestgame";
    case ModalScreen::Replay:
      return "replay";
    case ModalScreen::HallOfFame:
      return "halloffame";
    case ModalScreen::Name:
      return "name";
    case ModalScreen::Video:
      return "video";
    case ModalScreen::None:
      break;
  }
  if (PracticeGame() && game_mode.titlemode == 0) return "practice";
  if (game_mode.gameover == 1) return "gameover";
  // The wave-end sequence: the ship rises to the top, then the caption flies away with it.
  if (game_mode.waveend == 1)
    return playfield.player && playfield.player->y < -30 ? "flyaway" : "waveend";
  if (game_mode.getready == 1) return "getready";
  if (game_mode.titlemode == 1) return "title";
  if (game_mode.playing == 1) return "play";
  return "idle";
}
