// startup.cpp - everything before the first frame: the display, the globals, the images cut from
// the sprite sheet, the sounds, the best score and the maker's splash screen. The embedded files
// (sprite sheet, splash logo, font) are registered by the build before main runs.
#include "game/startup.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <random>
#include <string>

#include "audio/sound_output.h"
#include "core/error.h"
#include "core/random.h"
#include "game/assets/image_loading.h"
#include "game/assets/sheet_cut.h"
#include "game/assets/sound_loading.h"
#include "game/config/game_files.h"
#include "game/config/graphics_choice.h"
#include "game/config/key_bindings.h"
#include "game/config/settings_store.h"
#include "game/frame_loop.h"
#include "game/frame_overlay_key.h"
#include "game/play/anaglyph.h"
#include "game/play/entities.h"
#include "game/play/game_mode.h"
#include "game/play/globals.h"
#include "game/play/scores.h"
#include "game/play/screen_name.h"
#include "game/play/sound_control.h"
#include "game/screens/screens.h"
#include "game/screenshot.h"
#include "game/watch/replay_viewer.h"
#include "graphics/display_mode.h"
#include "graphics/draw2d.h"
#include "graphics/font.h"
#include "graphics/image_draw.h"
#include "graphics/pixmap_loader.h"
#include "platform/video.h"
#include "system/clock.h"
#include "system/joystick.h"
#include "system/polled_input.h"
#include "system/startup_steps.h"
#include "system/system_driver.h"

namespace {

constexpr char kGameTitle[] = "Zumbrix - 3D Edition";

}  // namespace

std::int32_t launchseed() {
  try {
    std::random_device entropy;
    return static_cast<std::int32_t>(entropy() & 0x7FFFFFFF);
  } catch (const std::exception&) {
    // No entropy source: the wall clock, which keeps running between launches, still differs.
    return SystemMillis();
  }
}

void loadresources() {
  // The images were decoded and cut by a thread while the display opened; they and their
  // textures are made here, so that no screen's first frame waits for its images.
  FinishLoadingImages();
  NoteStartupStep("sheet");

  FinishLoadingSounds();
  NoteStartupStep("sounds");
}

void splashscreen() {
  ModalScreenScope splash(ModalScreen::Splash);
  Ref<TImage> logo = TakeSplashLogo();
  SetClsColor(10, 5, 15);
  playmusic(3);
  float alpha = 1.0f, scale = 0.1f, separation = -4.0f;
  for (;;) {
    Cls();
    WalkList<starfield_tag>(*playfield.starlist, [](starfield_tag* star) { star->update(); });
    drawimage3d(logo, 320, 220, 0, separation, 0, scale, scale, alpha);
    scale += 0.004f;
    separation += 0.04f;
    if (scale > 1.1f) {
      alpha -= 0.01f;
      scale = 1.1f;
    }
    if (alpha < 0) alpha = 0;
    drawhud();
    drawsidebars();
    FlipScreen(-1);
    waitwhilesuspended();
    // A close request ends the program before the title; the best score is still saved.
    if (program.quitflag || AppCloseRequested()) {
      program.quitflag = 1;
      return;
    }
    if (alpha == 0 || MouseHits(1) || ActionButtonHits(GameAction::kFire)) break;
  }
  ClearKeys();
  ClearMouse();
}

void gamestartup(std::int32_t seed) {
  ModalScreenScope startup(ModalScreen::Startup);
  UseFilmPass(gameframe);
  SeedRandom(seed);
  // Decoded while the display opens.
  StartLoadingSounds();
  StartLoadingImages();
  if (ChosenGameGraphics() == GraphicsChoice::kOpenGL) {
    // With no display the game would run unseen for ever: it says why and ends instead.
    std::string nodisplay;
    plat_video_name_app("zumbrix", kGameTitle);
    if (!plat_video_init(&nodisplay)) RuntimeError(nodisplay);
    NoteStartupStep("video");
  }
  SelectGameGraphics();
  SetAppTitle(kGameTitle);
  // The bee of the desktop icons, for the window's own.
  SetAppIcon(LoadPixmap("incbin::zumbrix_icon.png"));
  if (!OpenGraphics(640, 480, 32, 60, GFX_BACKBUFFER)) {
    RuntimeError("The 640x480 display could not be opened");
  }
  SetAutoImageFlags(IMAGE_MASKED | IMAGE_DYNAMIC);
  WatchScreenshotKey();
  WatchFrameOverlayKey();

  initglobals();
  StartSoundOutput(RunSettings().sound);
  starfield_tag::Create();

  program.musicchannel = NewChannel();
  JoystickCount();
  HidePointer();

  loadresources();
  loadhiscore();
  NoteStartupStep("score");
  playfield.player->reset();
  splashscreen();
  if (program.quitflag) return;
  EnterTitleAfterSplash();
}
