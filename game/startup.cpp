// startup.cpp - everything before the first frame: the display, the globals, the images cut from
// the sprite sheet, the sounds, the best score and the maker's splash screen. The embedded files
// (sprite sheet, splash logo, font) are registered by the build before main runs.
#include "game/startup.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/error.h"
#include "core/random.h"
#include "game/anaglyph.h"
#include "game/entities.h"
#include "game/game_files.h"
#include "game/game_mode.h"
#include "game/globals.h"
#include "game/graphics_choice.h"
#include "game/scores.h"
#include "game/screens.h"
#include "game/screenshot.h"
#include "game/settings_store.h"
#include "game/sheet_cut.h"
#include "game/sound_control.h"
#include "game/sound_output.h"
#include "graphics/display_mode.h"
#include "graphics/draw2d.h"
#include "graphics/image_draw.h"
#include "platform/video.h"
#include "system/clock.h"
#include "system/joystick.h"
#include "system/polled_input.h"
#include "system/system_driver.h"

namespace {

// The screen with the sheet painted on it, made in software when the driver cannot read pixels
// back (sheet_cut.h); null while the back buffer itself can be grabbed.
Ref<TPixmap> painted_sheet;

// An image of `frames` frames of w x h, frame i grabbed from the back buffer at (x + i * step, y).
Ref<TImage> Grab(int w, int h, int frames, int x, int y, int step = 0) {
  Ref<TImage> image = NewImage(w, h, frames);
  for (int i = 0; i < frames; ++i) {
    if (painted_sheet) {
      CutImage(image, painted_sheet, x + i * step, y, i);
    } else {
      CaptureImage(image, x + i * step, y, i);
    }
  }
  return image;
}

// A missing or broken file leaves its effect silent rather than stopping the game.
Ref<TSound> LoadEffect(const char* name) {
  const std::string path = DataFile(name);
  Ref<TSound> sound;
  try {
    sound = LoadAudio(path, 0);
  } catch (const std::exception&) {
    sound.reset();
  }
  if (!sound) std::fprintf(stderr, "Sound %s could not be loaded: effect off\n", path.c_str());
  return sound;
}

// Waits while the program is in the background, with the music paused. A close request ends
// the wait (and, through quitflag, the program).
void SitOutSuspension() {
  if (!IsAppSuspended()) return;
  HoldChannel(musicchannel);
  while (IsAppSuspended()) {
    if (AppCloseRequested()) {
      quitflag = 1;
      break;
    }
    PauseMillis(10);
  }
  UnpauseChannel(musicchannel);
}

}  // namespace

void waitwhilesuspended() { SitOutSuspension(); }

// The program's own clock starts with the program: seeded from it, launches would repeat.
int launchseed() { return SystemMillis(); }

void loadresources() {
  // The clear colour is still black: everything around the sprites is masked away when grabbed.
  Ref<TImage> sheet = ImportImage("incbin::zumbrix_3d.png", -1);
  Cls();
  PaintImage(sheet, 0, 0);
  TRar2ADriver* driver = Current2DDriver();
  if (driver && !driver->ReadsBackPixels()) {
    painted_sheet = PaintedSheet(sheet, ContextWidth(), ContextHeight());
  }

  SetAutoCenterHandle(true);
  starimg = Grab(16, 16, 1, 357, 56);
  shipimg = Grab(36, 58, 4, 1, 1, 37);
  beeimg = Grab(61, 43, 3, 1, 62, 62);
  splatimg = Grab(61, 45, 7, 1, 261, 62);
  pointsimg = Grab(35, 10, 8, 1, 309, 36);
  bonusbannerimg = Grab(158, 99, 3, 1, 322, 159);
  lazerimg = Grab(7, 26, 1, 151, 1);
  beeshotimg = Grab(10, 10, 1, 177, 1);
  logoimg = Grab(352, 110, 1, 1, 109);
  promptimg = Grab(404, 18, 1, 230, 222);
  getreadyimg = Grab(160, 47, 1, 191, 56);
  bonusroundimg = Grab(178, 41, 1, 408, 1);
  wavedoneimg = Grab(213, 52, 1, 408, 45);
  gameoverimg = Grab(164, 47, 1, 399, 100);
  SetAutoCenterHandle(false);
  // The HUD's labels and digits are placed by their top-left corner.
  hudlabelimg = Grab(84, 21, 3, 151, 30, 85);
  digitimg = Grab(16, 16, 10, 223, 1, 17);
  painted_sheet.reset();
  Cls();

  snd_shot = LoadEffect("shot1.ogg");
  snd_hyper = LoadEffect("hypersp.ogg");
  snd_gstart = LoadEffect("gstart.ogg");
  snd_endwave = LoadEffect("endwave.ogg");
  snd_bhit = LoadEffect("bhit.ogg");
  snd_bhit1 = LoadEffect("bhit1.ogg");
  snd_lswarm = LoadEffect("lswarm.ogg");
  snd_sswarm = LoadEffect("sswarm.ogg");
  snd_sbhit = LoadEffect("sbhit.ogg");
  snd_sbdie = LoadEffect("sbdie.ogg");
  snd_shipdie = LoadEffect("shipdie.ogg");
  snd_flyaway = LoadEffect("flyaway.ogg");
  snd_beewarp = LoadEffect("beewarp.ogg");
  snd_hscore = LoadEffect("hscore.ogg");
}

void splashscreen() {
  Ref<TImage> logo = ImportImage("incbin::vxlogo.png", -1);
  CenterImageHandle(logo);
  SetClsColor(10, 5, 15);
  playmusic(3);
  float alpha = 1.0f, scale = 0.1f, separation = -4.0f;
  for (;;) {
    Cls();
    WalkList<starfield_tag>(*starlist, [](starfield_tag* star) { star->update(); });
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
    SitOutSuspension();
    // A close request ends the program before the title; the best score is still saved.
    if (quitflag || AppCloseRequested()) {
      quitflag = 1;
      return;
    }
    if (alpha == 0 || MouseHits(1) || JoyButtonHits(0, 0)) break;
  }
  ClearKeys();
  ClearMouse();
}

void gamestartup() {
  if (ChosenGameGraphics() == GraphicsChoice::kOpenGL) {
    // With no display the game would run unseen for ever: it says why and ends instead.
    std::string nodisplay;
    if (!plat_video_init(&nodisplay)) RuntimeError(nodisplay);
  }
  SelectGameGraphics();
  SetAppTitle("Zumbrix - 3D Edition");
  if (!OpenGraphics(640, 480, 32, 60, GFX_BACKBUFFER)) {
    RuntimeError("The 640x480 display could not be opened");
  }
  SetAutoImageFlags(IMAGE_MASKED | IMAGE_DYNAMIC);
  WatchScreenshotKey();

  initglobals();
  ApplySettingsToGame();
  StartSoundOutput(RunSettings().sound);
  starfield_tag::Create();

  musicchannel = NewChannel();
  JoystickCount();
  HidePointer();

  loadresources();
  loadhiscore();
  player->reset();
  splashscreen();
  if (quitflag) return;
  EnterTitleAfterSplash();
  SeedRandom(launchseed());
}
