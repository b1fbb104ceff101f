// frozen_scene.cpp - the frozen scene drawn again from the game's state, in the frame loop's
// order, for a backdrop whose colours have changed. Needs the entity lists, the screens, the
// wave-end caption, the ghost and the playfield clip.
#include "game/frozen_scene.h"

#include "game/anaglyph.h"
#include "game/entities.h"
#include "game/ghost.h"
#include "game/globals.h"
#include "game/playfield_clip.h"
#include "game/screens.h"
#include "game/waves.h"
#include "graphics/draw2d.h"
#include "graphics/image_draw.h"

namespace {

template <class T>
void DrawAll(TList* list) {
  WalkList<T>(*list, [](T* object) { object->Draw(); });
}

}  // namespace

void DrawGetReadyCaption() {
  if (seqctr > 80)
    drawimage3d(phase == 2 ? bonusroundimg : getreadyimg, 320, 200, 0, 3, 0, 1, 1, fade);
}

void DrawGameOverCaption() { drawimage3d(gameoverimg, 320, 200, 0, 3, 0, 1, 1, fade); }

void RedrawBackdrop(const Ref<TImage>& backdrop) {
  Cls();
  BeginPlayfield();
  DrawAll<starfield_tag>(starlist);
  DrawAll<lazershot_tag>(shotlist);
  if (getready == 0 && waveend == 0 && gameover == 0) {
    if (phase == 2) drawbonuspanels();
    DrawAll<beeshot_tag>(beeshotlist);
    DrawAll<starbee_tag>(beelist);
    DrawAll<beesplat_tag>(splatlist);
    DrawAll<particle_tag>(particlelist);
    DrawAll<points_tag>(pointslist);
  }
  drawghost();
  player->Draw();
  if (titlemode == 1) DrawTitlePicture();
  if (getready == 1) DrawGetReadyCaption();
  DrawWaveEndCaption();
  if (gameover == 1) {
    DrawGameOverCaption();
    DrawAll<beesplat_tag>(splatlist);
    DrawAll<particle_tag>(particlelist);
  }
  EndPlayfield();
  drawhud();
  drawsidebars();
  CaptureImage(backdrop, 0, 0, 0);
}
