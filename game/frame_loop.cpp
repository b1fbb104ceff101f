// frame_loop.cpp - one pass per displayed frame: stars and shots, the playfield while play is
// active, the ship, the title, get-ready, wave-end and game-over overlays, the pause screen (with
// its volume steps and the colour mode's switch), abandoning with F1, the HUD and the paced flip,
// suspension and quitting.
#include "game/frame_loop.h"

#include "game/anaglyph.h"
#include "game/best_game.h"
#include "game/best_game_watch.h"
#include "game/colour_mode.h"
#include "game/entities.h"
#include "game/game_mode.h"
#include "game/ghost.h"
#include "game/globals.h"
#include "game/joystick_buttons.h"
#include "game/music_stream.h"
#include "game/playfield_clip.h"
#include "game/scores.h"
#include "game/screen_name.h"
#include "game/screens.h"
#include "game/settings_store.h"
#include "game/sound_control.h"
#include "game/startup.h"
#include "game/waves.h"
#include "graphics/display_mode.h"
#include "graphics/draw2d.h"
#include "graphics/image_draw.h"
#include "system/clock.h"
#include "system/joystick.h"
#include "system/key_codes.h"
#include "system/polled_input.h"
#include "system/system_driver.h"

namespace {

constexpr int kSpace = Key(KeyCode::kSpace), kEsc = Key(KeyCode::kEscape), kF1 = Key(KeyCode::kF1),
              kF2 = Key(KeyCode::kF2), kF3 = Key(KeyCode::kF3), kF4 = Key(KeyCode::kF4), kW = 'W';

template <class T>
void UpdateAll(TList* list) {
  WalkList<T>(*list, [](T* object) { object->update(); });
}

// Each axis is read anew for each test; only a full deflection steers.
void SteerByJoystick() {
  steermousex = MousePosX();
  steermousey = MousePosY();
  if (JoyAxisX(kGameJoystickPort) == -1.0f) {
    steermousex -= 6;
    PlaceMouse(steermousex, steermousey);
  }
  if (JoyAxisX(kGameJoystickPort) == 1.0f) {
    steermousex += 6;
    PlaceMouse(steermousex, steermousey);
  }
  if (JoyAxisY(kGameJoystickPort) == -1.0f) {
    steermousey -= 6;
    PlaceMouse(steermousex, steermousey);
  }
  if (JoyAxisY(kGameJoystickPort) == 1.0f) {
    steermousey += 6;
    PlaceMouse(steermousex, steermousey);
  }
}

void StartGame() {
  EnterGetReadyForNewGame();
  playsfx(snd_gstart);
  clearentities();
  ClearKeys();
  ClearMouse();
  player->reset();
  player->score = 0;
  player->wave = 1;
  player->newhs = 0;
}

void GetReadyFrame() {
  seqctr += 1;
  if (seqctr == 1) {
    HaltChannel(musicchannel);
    playmusic(phase == 2 ? 2 : phase == 1 ? 1 : 0);
    player->reset();
  }
  if (seqctr > 80) {
    drawimage3d(phase == 2 ? bonusroundimg : getreadyimg, 320, 200, 0, 3, 0, 1, 1, fade);
    if (seqctr > 100) fade -= 0.006f;
    if (!(fade > 0)) {
      player->reset();
      EnterPlay();
      ClearMouse();
    }
  }
}

void GameOverFrame() {
  drawimage3d(gameoverimg, 320, 200, 0, 3, 0, 1, 1, fade);
  UpdateAll<beesplat_tag>(splatlist);
  UpdateAll<particle_tag>(particlelist);
  seqctr += 1;
  if (seqctr > 120) fade -= 0.006f;
  if (!(fade > 0)) {
    player->reset();
    player->dead = 0;
    EnterTitleAfterGameOver();
    playmusic(3);
    ClearMouse();
  }
}

// Modal: nothing else runs while the pause lasts. ESC and F1 end it with a down test, leaving
// their hit counted for the frame loop to act on in the same frame.
void PauseScreen() {
  ModalScreenScope pause(ModalScreen::Pause);
  Ref<TImage> frozen = NewImage(640, 480, 1);
  const int x = player->x, y = player->y;
  drawhud();
  drawsidebars();
  // Grabbed before the flip: afterwards the back buffer's content is undefined.
  CaptureImage(frozen, 0, 0, 0);
  HoldPointer(false);
  FlipScreen(-1);
  ClearKeys();
  ClearMouse();
  while (!(KeyHits(kSpace) || JoystickButtonHits(JoystickButton::kPause))) {
    // In the pause screen the fire and hyperspace buttons step the volumes, as F2 and F3 do.
    if (KeyHits(kF2) || JoystickButtonHits(JoystickButton::kFire)) stepmusicvolume();
    if (KeyHits(kF3) || JoystickButtonHits(JoystickButton::kHyperspace)) stepsfxvolume();
    if (KeyHits(kF4)) SetColourMode(OtherColourMode(GetColourMode()));
    SetBlend(BLEND_SOLID);
    drawpause(frozen);
    SetColor(255, 255, 255);
    FlipScreen(-1);
    if (AppCloseRequested()) {
      quitflag = 1;
      break;
    }
    if (IsKeyDown(kEsc) || IsKeyDown(kF1) || MouseHits(1)) break;
  }
  player->x = x;
  player->y = y;
  PlaceMouse(x, y);
  JoyUnplugHits(kGameJoystickPort);  // a pad pulled out while paused asks for no second pause
}

// Back to the title screen. Whatever sequence was running ends with the game: a fly-away would
// otherwise start a get-ready over the title, and the escaped bees would carry into the next game.
void AbandonGame() {
  HaltChannel(musicchannel);
  Cls();
  FlipScreen(-1);
  PauseMillis(1000);
  EnterTitleOnAbandon();
  player->dead = 0;
  playmusic(3);
  clearentities();
  ClearKeys();
  ClearMouse();
  player->reset();
}

// The title's choices: the best game (W, a click on its line, the pad's watch button) when one
// is offered, else a game (a click, the fire button). Read only while the title is the frame
// loop's own, so that the title frame that ends a watched game reads what it read when recorded.
// True when the best game is to be watched.
bool TitleChoice() {
  const bool offered = CurrentModalScreen() == ModalScreen::None && OfferedBestGame().watchable;
  const bool key = offered && KeyHits(kW) != 0;
  const bool click = MouseHits(1) != 0;
  if (offered && (key || (click && OnBestGameLine(MousePosX(), MousePosY())) ||
                  JoystickButtonHits(JoystickButton::kWatch))) {
    return true;
  }
  if (click || JoystickButtonHits(JoystickButton::kFire)) StartGame();
  return false;
}

}  // namespace

bool gameframe() {
  if (quitflag) return false;
  // A whole-picture clear is the rasteriser's cheapest; everything drawn after it up to the side
  // bars is clipped to where they leave it visible.
  Cls();
  BeginPlayfield();
  SteerByJoystick();
  UpdateAll<starfield_tag>(starlist);
  UpdateAll<lazershot_tag>(shotlist);
  if (getready == 0 && waveend == 0 && gameover == 0) {
    if (phase == 2) drawbonuspanels();
    spawner();
    UpdateAll<beeshot_tag>(beeshotlist);
    UpdateAll<starbee_tag>(beelist);
    UpdateAll<beesplat_tag>(splatlist);
    UpdateAll<particle_tag>(particlelist);
    UpdateAll<points_tag>(pointslist);
  }
  drawghost();  // under the ship, in a game with the ghost on
  player->update(playing);
  bool watch = false;
  if (titlemode == 1) {
    drawtitle();
    watch = TitleChoice();
  }
  if (getready == 1) GetReadyFrame();
  checkwaveend();
  if (waveend == 1) flyaway();
  if (gameover == 1) GameOverFrame();
  // The pause screen grabs the whole picture and F1 clears it: both after the clip ends.
  EndPlayfield();
  // Space is read every frame, so that one pressed before play (get-ready, fly-away) is used up
  // there and does not pause the first frame of play.
  const bool space = KeyHits(kSpace) != 0;
  if ((playing == 1 && space) || JoystickButtonHits(JoystickButton::kPause)) PauseScreen();
  // A pad pulled out during a game pauses it as soon as it is played, so that a loose cable never
  // costs a life: at once in play, and when play starts after a get-ready or a fly-away. The pull
  // stays counted until then; one on the title (or as a game ends there) asks for nothing.
  if (titlemode == 1) {
    JoyUnplugHits(kGameJoystickPort);
  } else if (playing == 1 && JoyUnplugHits(kGameJoystickPort) > 0) {
    PauseScreen();
  }
  if (KeyHits(kF1)) AbandonGame();
  drawsidebars();
  drawhud();
  // In a window: kept inside while playing, free on the title and while the best game is watched.
  HoldPointer(playing == 1 && CurrentModalScreen() != ModalScreen::BestGame);
  FlipScreen(-1);
  CountGhostFrame();
  KeepPictureSettings();  // Alt+Enter (handled by the window) and F4 are remembered
  waitwhilesuspended();
  if (watch) WatchBestGame();
  return !(KeyHits(kEsc) || JoystickButtonHits(JoystickButton::kQuit) || quitflag == 1 ||
           AppCloseRequested());
}

void gameshutdown() {
  if (IsChannelPlaying(musicchannel)) {
    HaltChannel(musicchannel);
    PauseMillis(500);
  }
  StopMusicStreams();
  savehiscore();
}
