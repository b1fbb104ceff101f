// frame_loop.cpp - one pass per displayed frame: stars and shots, the playfield while play is
// active, the ship, the title, get-ready, wave-end and game-over overlays, opening the pause
// screen (screens/pause_screen.h) and the options screen from the title, abandoning (a practice
// game's quit key abandons it too, practice_game.h), the HUD and the paced flip, suspension (which
// pauses play) and quitting. The keys and buttons of play are read through the bindings
// (key_bindings.h).
#include "game/frame_loop.h"

#include "game/config/colour_mode.h"
#include "game/config/joystick_buttons.h"
#include "game/config/key_bindings.h"
#include "game/config/settings_store.h"
#include "game/play/anaglyph.h"
#include "game/play/entities.h"
#include "game/play/game_mode.h"
#include "game/play/globals.h"
#include "game/play/music_stream.h"
#include "game/play/playfield_clip.h"
#include "game/play/practice_game.h"
#include "game/play/scores.h"
#include "game/play/screen_name.h"
#include "game/play/sound_control.h"
#include "game/play/waves.h"
#include "game/replay/best_game.h"
#include "game/replay/ghost.h"
#include "game/replay/hall_of_fame.h"
#include "game/screens/frozen_scene.h"
#include "game/screens/menu.h"
#include "game/screens/options_screen.h"
#include "game/screens/pause_screen.h"
#include "game/screens/screens.h"
#include "game/startup.h"
#include "game/video/title_video.h"
#include "game/watch/best_game_watch.h"
#include "game/watch/hall_of_fame_screen.h"
#include "graphics/display_mode.h"
#include "graphics/draw2d.h"
#include "graphics/image_draw.h"
#include "system/clock.h"
#include "system/joystick.h"
#include "system/key_codes.h"
#include "system/polled_input.h"
#include "system/system_driver.h"

namespace {

constexpr int kW = 'W', kV = 'V';

template <class T>
void UpdateAll(TList* list) {
  WalkList<T>(*list, [](T* object) { object->update(); });
}

// Each axis is read anew for each test; only a full deflection steers.
void SteerByJoystick() {
  frame_input.steermousex = MousePosX();
  frame_input.steermousey = MousePosY();
  if (JoyAxisX(kGameJoystickPort) == -1.0f) {
    frame_input.steermousex -= 6;
    PlaceMouse(frame_input.steermousex, frame_input.steermousey);
  }
  if (JoyAxisX(kGameJoystickPort) == 1.0f) {
    frame_input.steermousex += 6;
    PlaceMouse(frame_input.steermousex, frame_input.steermousey);
  }
  if (JoyAxisY(kGameJoystickPort) == -1.0f) {
    frame_input.steermousey -= 6;
    PlaceMouse(frame_input.steermousex, frame_input.steermousey);
  }
  if (JoyAxisY(kGameJoystickPort) == 1.0f) {
    frame_input.steermousey += 6;
    PlaceMouse(frame_input.steermousex, frame_input.steermousey);
  }
}

void StartGame() {
  EnterGetReadyForNewGame();
  playsfx(assets.snd_gstart);
  clearentities();
  ClearKeys();
  ClearMouse();
  playfield.player->reset();
  playfield.player->score = 0;
  playfield.player->wave = 1;
  playfield.player->newhs = 0;
}

void GetReadyFrame() {
  game_mode.seqctr += 1;
  if (game_mode.seqctr == 1) {
    StartPhaseMusic();
    playfield.player->reset();
  }
  if (game_mode.seqctr > 80) {
    DrawGetReadyCaption();
    if (game_mode.seqctr > 100) game_mode.fade -= 0.006f;
    if (!(game_mode.fade > 0)) {
      playfield.player->reset();
      EnterPlay();
      ClearMouse();
    }
  }
}

void GameOverFrame() {
  DrawGameOverCaption();
  UpdateAll<beesplat_tag>(playfield.splatlist);
  UpdateAll<particle_tag>(playfield.particlelist);
  game_mode.seqctr += 1;
  if (game_mode.seqctr > 120) game_mode.fade -= 0.006f;
  if (!(game_mode.fade > 0)) {
    playfield.player->reset();
    playfield.player->dead = 0;
    EnterTitleAfterGameOver();
    playmusic(3);
    ClearMouse();
  }
}

// Back to the title screen. Whatever sequence was running ends with the game: a fly-away would
// otherwise start a get-ready over the title, and the escaped bees would carry into the next game.
void AbandonGame() {
  HaltChannel(program.musicchannel);
  Cls();
  FlipScreen(-1);
  PauseMillis(1000);
  EnterTitleOnAbandon();
  playfield.player->dead = 0;
  playmusic(3);
  clearentities();
  ClearKeys();
  ClearMouse();
  playfield.player->reset();
}

// What the title's input asks of the frame: nothing (or a game, started at once), the options
// screen, watching the best game, saving it as a video, or the hall of fame.
enum class TitleAsk { kNothing, kOptions, kWatch, kVideo, kHallOfFame };

// What the title's input asks for: the options (O, the pad's Y or a click on their line), the best
// game while one is offered (W, a click on its line or the pad's X) or its video (V or the pad's
// right shoulder), the hall of fame when it holds a game (H, the pad's button for it or a click on
// its line), or else a game (any other click or the fire button), which it starts. A click
// chooses a line only when the player pointed at it (FollowTitlePointer): one where the pointer
// rests starts a game. The best game is offered only while the title is the frame loop's own, so
// that the title frame that ends a watched game reads what it read when recorded.
TitleAsk TitleChoice(bool options_key, bool watch_key, bool video_key, bool hall_key) {
  const bool click = MouseHits(1) != 0;
  const TitleLine pointed = PointedTitleLine();
  if (options_key || (click && pointed == TitleLine::kOptions)) return TitleAsk::kOptions;
  if (CurrentModalScreen() == ModalScreen::None && !CurrentHallOfFame().empty() &&
      (hall_key || (click && pointed == TitleLine::kHallOfFame))) {
    return TitleAsk::kHallOfFame;
  }
  const bool offered = CurrentModalScreen() == ModalScreen::None && OfferedBestGame().watchable;
  if (offered && (watch_key || (click && pointed == TitleLine::kBestGame) ||
                  JoystickButtonHits(kWatchButton))) {
    return TitleAsk::kWatch;
  }
  if (offered && (video_key || JoystickButtonHits(kVideoButton))) return TitleAsk::kVideo;
  if (click || ActionButtonHits(GameAction::kFire)) StartGame();
  return TitleAsk::kNothing;
}

}  // namespace

bool gameframe() {
  if (program.quitflag) return false;
  // A whole-picture clear is the rasteriser's cheapest; everything drawn after it up to the side
  // bars is clipped to where they leave it visible.
  Cls();
  BeginPlayfield();
  SteerByJoystick();
  UpdateAll<starfield_tag>(playfield.starlist);
  UpdateAll<lazershot_tag>(playfield.shotlist);
  if (game_mode.getready == 0 && game_mode.waveend == 0 && game_mode.gameover == 0) {
    if (progress.phase == 2) drawbonuspanels();
    spawner();
    UpdateAll<beeshot_tag>(playfield.beeshotlist);
    UpdateAll<starbee_tag>(playfield.beelist);
    UpdateAll<beesplat_tag>(playfield.splatlist);
    UpdateAll<particle_tag>(playfield.particlelist);
    UpdateAll<points_tag>(playfield.pointslist);
  }
  drawghost();  // under the ship, in a game with the ghost on
  playfield.player->update(game_mode.playing);
  // Read every frame, so that a press in play opens nothing later.
  const bool options_key = OptionsKeyHit() && game_mode.titlemode == 1;
  const bool watch_key = KeyHits(kW) != 0 && game_mode.titlemode == 1;
  const bool video_key = KeyHits(kV) != 0 && game_mode.titlemode == 1;
  // Read on the title only: in play the left shoulder may be bound to an action.
  const bool hall_key = game_mode.titlemode == 1 && HallOfFameKeyHit();
  // A replay dropped on the window is watched from the title; one dropped elsewhere is ignored.
  std::string dropped = TakeDroppedFile();
  if (game_mode.titlemode != 1 || CurrentModalScreen() != ModalScreen::None) dropped.clear();
  TitleAsk ask = TitleAsk::kNothing;
  if (game_mode.titlemode == 1) {
    FollowTitlePointer(MousePosX(), MousePosY());
    drawtitle();
    ask = TitleChoice(options_key, watch_key, video_key, hall_key);
  } else {
    LeaveTitle();
  }
  if (game_mode.getready == 1) GetReadyFrame();
  checkwaveend();
  if (game_mode.waveend == 1) flyaway();
  if (game_mode.gameover == 1) GameOverFrame();
  // The pause screen grabs the whole picture and F1 clears it: both after the clip ends.
  EndPlayfield();
  if (ask == TitleAsk::kOptions) {
    ModalScreenScope title(ModalScreen::Options);
    OpenOptions(FreezeFrame());
    LeaveTitle();
  }
  if (ask == TitleAsk::kVideo) SaveBestGameVideo(FreezeFrame());
  // The pause key is read every frame, so that one pressed before play (get-ready, fly-away) is
  // used up there and does not pause the first frame of play.
  const bool space = ActionKeyHits(GameAction::kPause) != 0;
  if ((game_mode.playing == 1 && space) || ActionButtonHits(GameAction::kPause)) PauseScreen();
  // Play that loses the focus is paused, to be carried on when the player is back and ready.
  if (game_mode.playing == 1 && ActiveInputChoices().pause_on_focus_loss && IsAppSuspended())
    PauseScreen();
  // A pad pulled out during a game pauses it as soon as it is played, so that a loose cable never
  // costs a life: at once in play, and when play starts after a get-ready or a fly-away. The pull
  // stays counted until then; one on the title (or as a game ends there) asks for nothing.
  if (game_mode.titlemode == 1) {
    JoyUnplugHits(kGameJoystickPort);
  } else if (game_mode.playing == 1 && JoyUnplugHits(kGameJoystickPort) > 0) {
    PauseScreen();
  }
  // A practice game's quit key ends the game, not the program: the title the watching gave way to
  // is back.
  const bool practice_quit =
      PracticeGame() && game_mode.titlemode == 0 &&
      (ActionKeyHits(GameAction::kQuit) || ActionButtonHits(GameAction::kQuit));
  if (ActionKeyHits(GameAction::kAbandon) || ActionButtonHits(GameAction::kAbandon) ||
      practice_quit) {
    AbandonGame();
  }
  drawsidebars();
  drawhud();
  // In a window: kept inside while playing, free on the title and while the best game is watched.
  HoldPointer(game_mode.playing == 1 && !WatchingRecordedGame());
  FlipScreen(-1);
  CountGhostFrame();
  KeepPictureSettings();  // Alt+Enter (handled by the window) and F4 are remembered
  waitwhilesuspended();
  // The focus is mostly lost inside the flip's own message pump, and waited out just now, unseen
  // by the check above: play that lost it is paused all the same, however short the loss.
  const bool lost_focus = AppSuspendHits() > 0;
  if (lost_focus && game_mode.playing == 1 && ActiveInputChoices().pause_on_focus_loss &&
      program.quitflag == 0) {
    PauseScreen(PauseOpening::kAfterFlip);
  }
  // A watching or a hall of fame left with the race key starts a game against that ghost.
  bool race = false;
  if (ask == TitleAsk::kWatch) race = WatchBestGame().race;
  if (!dropped.empty()) race = WatchReplayFile(dropped).race;
  if (ask == TitleAsk::kHallOfFame) race = HallOfFameScreen() == HallChoice::kRace;
  if (ask == TitleAsk::kWatch || ask == TitleAsk::kHallOfFame || !dropped.empty()) LeaveTitle();
  if (race) StartGame();
  // A practice game's quit key is left for the next frame, which ends the game with it (above).
  const bool quit = !(PracticeGame() && game_mode.titlemode == 0) &&
                    (ActionKeyHits(GameAction::kQuit) || ActionButtonHits(GameAction::kQuit));
  return !(quit || program.quitflag == 1 || AppCloseRequested());
}

void gameshutdown() {
  if (IsChannelPlaying(program.musicchannel)) {
    HaltChannel(program.musicchannel);
    PauseMillis(500);
  }
  StopMusicStreams();
  savehiscore();
}
