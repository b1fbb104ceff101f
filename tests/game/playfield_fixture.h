// A playfield for driving entities one update at a time: a 640 x 480 offscreen GL window, the
// game's globals made afresh, the images cut from the real sprite sheet, a fixed random seed and
// a game in play (titlemode 0, playing 1) with the ship at its start position.
#pragma once

#include <gtest/gtest.h>

#include "core/random.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/startup.h"
#include "graphics/collision.h"
#include "graphics/draw2d.h"
#include "graphics/gl_draw2d.h"

class PlayfieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GLRar2ADriver();
    graphics_ = OpenGraphics(640, 480, 0, 0, GFX_BACKBUFFER);
    ASSERT_TRUE(graphics_) << "no OpenGL context on the offscreen driver";
    initglobals();
    loadresources();
    ClearCollisionLayers(0);
    SeedRandom(1234);
    game_mode.titlemode = 0;
    game_mode.playing = 1;
    playfield.player->reset();
  }
  void TearDown() override {
    clearentities();
    EndGraphicsMode();
  }

  template <class T>
  static std::vector<T*> All(TList* list) {
    std::vector<T*> out;
    WalkList<T>(*list, [&](T* object) { out.push_back(object); });
    return out;
  }
  // One pass over a list, as the frame loop makes it.
  template <class T>
  static void UpdateAll(TList* list) {
    WalkList<T>(*list, [](T* object) { object->update(); });
  }
  // A moving laser shot centred on (x, y).
  static lazershot_tag* ShotAt(float x, float y) {
    lazershot_tag::Create(0, static_cast<int>(x), static_cast<int>(y));
    return static_cast<lazershot_tag*>(playfield.shotlist->Last());
  }
  // The newest bee, kept alive by the test even after it leaves its list.
  static Ref<starbee_tag> LastBee() {
    return Ref<starbee_tag>(static_cast<starbee_tag*>(playfield.beelist->Last()));
  }

  Ref<TGraphics> graphics_;
};
