// frozen_scene.cpp - the frozen scene drawn again from the game's state, in the frame loop's
// order, for a backdrop whose colours have changed. Needs the entity lists, the screens, the
// wave-end caption, the ghost and the playfield clip.
#include "game/screens/frozen_scene.h"

#include "game/play/anaglyph.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/playfield_clip.h"
#include "game/play/waves.h"
#include "game/replay/ghost.h"
#include "game/screens/screens.h"
#include "graphics/draw2d.h"
#include "graphics/image_draw.h"

namespace {

template <class T>
void DrawAll(TList* list) {
  WalkList<T>(*list, [](T* object) { object->Draw(); });
}

}  // namespace

void DrawGetReadyCaption() {
  if (game_mode.seqctr > 80)
    drawimage3d(progress.phase == 2 ? assets.bonusroundimg : assets.getreadyimg, 320, 200, 0, 3, 0,
                1, 1, game_mode.fade);
}

void DrawGameOverCaption() {
  drawimage3d(assets.gameoverimg, 320, 200, 0, 3, 0, 1, 1, game_mode.fade);
}

void DrawFrozenScene() {
  Cls();
  BeginPlayfield();
  DrawAll<starfield_tag>(playfield.starlist);
  DrawAll<lazershot_tag>(playfield.shotlist);
  if (game_mode.getready == 0 && game_mode.waveend == 0 && game_mode.gameover == 0) {
    if (progress.phase == 2) drawbonuspanels();
    DrawAll<beeshot_tag>(playfield.beeshotlist);
    DrawAll<starbee_tag>(playfield.beelist);
    DrawAll<beesplat_tag>(playfield.splatlist);
    DrawAll<particle_tag>(playfield.particlelist);
    DrawAll<points_tag>(playfield.pointslist);
  }
  drawghost();
  playfield.player->Draw();
  if (game_mode.titlemode == 1) DrawTitlePicture();
  if (game_mode.getready == 1) DrawGetReadyCaption();
  DrawWaveEndCaption();
  if (game_mode.gameover == 1) {
    DrawGameOverCaption();
    DrawAll<beesplat_tag>(playfield.splatlist);
    DrawAll<particle_tag>(playfield.particlelist);
  }
  EndPlayfield();
  drawhud();
  drawsidebars();
}

void RedrawBackdrop(const Ref<TImage>& backdrop) {
  DrawFrozenScene();
  CaptureImage(backdrop, 0, 0, 0);
}
