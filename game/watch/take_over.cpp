// take_over.cpp - the practice game played through the frame loop from the moment a film showed.
#include "game/watch/take_over.h"

#include "game/play/globals.h"
#include "game/play/practice_game.h"
#include "game/play/screen_name.h"
#include "game/replay/replay.h"
#include "game/watch/replay_viewer.h"
#include "system/polled_input.h"
#include "system/system_driver.h"

bool PlayPractice(const InputChoices& keys, bool record) {
  // The frame loop's own game, whichever watching it was taken over from.
  const ModalScreenScope own(ModalScreen::None);
  StopReplay();
  SetPracticeGame(true);
  UseInputChoices(keys);
  // Keys and buttons the recorded player held are not the player's; the pointer goes where the
  // recorded one was, so that the ship does not jump to wherever the mouse was left.
  ClearKeys();
  ClearMouse();
  PlaceMouse(MousePosX(), MousePosY());
  if (record) ResumeRecording();
  bool goes_on = true;
  while (goes_on && game_mode.titlemode == 0) goes_on = FilmPass()();
  if (record) PauseRecording();
  return goes_on;
}
