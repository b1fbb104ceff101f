// pause_screen.cpp - the pause screen over the frame it was opened in: the volume steps, the
// colour mode's switch, the options screen, and the ends of the pause (the pause key or button, a
// click, the quit and abandon keys, a close request). The keys and buttons are read through the
// bindings (key_bindings.h).
#include "game/screens/pause_screen.h"

#include "game/config/colour_mode.h"
#include "game/config/joystick_buttons.h"
#include "game/config/key_bindings.h"
#include "game/config/settings_store.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/screen_name.h"
#include "game/play/sound_control.h"
#include "game/screens/frozen_scene.h"
#include "game/screens/options_screen.h"
#include "game/screens/screens.h"
#include "graphics/display_mode.h"
#include "graphics/draw2d.h"
#include "graphics/image_draw.h"
#include "system/joystick.h"
#include "system/key_codes.h"
#include "system/polled_input.h"
#include "system/system_driver.h"

namespace {

constexpr int kF2 = Key(KeyCode::kF2), kF3 = Key(KeyCode::kF3), kF4 = Key(KeyCode::kF4);

}  // namespace

Ref<TImage> FreezeFrame() {
  Ref<TImage> frozen = NewImage(640, 480, 1);
  drawhud();
  drawsidebars();
  // Grabbed before the flip: afterwards the back buffer's content is undefined.
  CaptureImage(frozen, 0, 0, 0);
  HoldPointer(false);
  FlipScreen(-1);
  return frozen;
}

void OpenOptions(const Ref<TImage>& backdrop) {
  OptionsScreen(backdrop);
  ClearKeys();
  ClearMouse();
  for (int button = 0; button < kJoyButtons; ++button) JoyButtonHits(button, kGameJoystickPort);
}

namespace {

// The frame shown last, drawn anew from the game's state (after its flip the back buffer is
// undefined) and flipped: the backdrop of a pause opened once the frame was shown.
Ref<TImage> RedrawnFrame() {
  Ref<TImage> frozen = NewImage(640, 480, 1);
  RedrawBackdrop(frozen);
  HoldPointer(false);
  FlipScreen(-1);
  return frozen;
}

}  // namespace

void PauseScreen(PauseOpening opening) {
  ModalScreenScope pause(ModalScreen::Pause);
  const int x = playfield.player->x, y = playfield.player->y;
  Ref<TImage> frozen = opening == PauseOpening::kAfterFlip ? RedrawnFrame() : FreezeFrame();
  ClearKeys();
  ClearMouse();
  while (!(ActionKeyHits(GameAction::kPause) || ActionButtonHits(GameAction::kPause))) {
    // In the pause screen the fire and hyperspace buttons step the volumes, as F2 and F3 do.
    if (KeyHits(kF2) || ActionButtonHits(GameAction::kFire)) stepmusicvolume();
    if (KeyHits(kF3) || ActionButtonHits(GameAction::kHyperspace)) stepsfxvolume();
    if (KeyHits(kF4)) {
      SetColourMode(OtherColourMode(GetColourMode()));
      RedrawBackdrop(frozen);
    }
    if (OptionsKeyHit()) {
      OpenOptions(frozen);
      if (program.quitflag) break;
    }
    SetBlend(BLEND_SOLID);
    drawpause(frozen);
    SetColor(255, 255, 255);
    FlipScreen(-1);
    KeepPictureSettings();  // F4 and Alt+Enter are remembered as they change here too
    if (AppCloseRequested()) {
      program.quitflag = 1;
      break;
    }
    // A window that has lost the focus waits here, the music held, until it is back.
    waitwhilesuspended();
    if (program.quitflag) break;
    if (ActionKeyDown(GameAction::kQuit) || ActionKeyDown(GameAction::kAbandon)) break;
    if (MouseHits(1)) {
      if (!OnOptionsLine(MousePosX(), MousePosY(), kPauseOptionsY)) break;
      OpenOptions(frozen);
      if (program.quitflag) break;
    }
  }
  playfield.player->x = x;
  playfield.player->y = y;
  PlaceMouse(x, y);
  // A pad pulled out or the focus lost while paused asks for no second pause.
  JoyUnplugHits(kGameJoystickPort);
  AppSuspendHits();
}
