// Bee shots, splats, score pop-ups and particles: how they move, how long they live, and the bee
// shot's hit on the ship.
#include "tests/game/playfield_fixture.h"

namespace {

using EffectTest = PlayfieldTest;

TEST_F(EffectTest, ABeeShotDriftsAwayFromWhereItWasFiredRelativeToTheShip) {
  for (int i = 0; i < 20; ++i) {
    beeshot_tag::Create(static_cast<float>(playfield.player->x),
                        100);  // exactly above: drifts left
    auto* left = static_cast<beeshot_tag*>(playfield.beeshotlist->Last());
    EXPECT_GE(left->xstp, -2.0f);
    EXPECT_LT(left->xstp, -0.5f);
    beeshot_tag::Create(static_cast<float>(playfield.player->x) - 1, 100);
    auto* right = static_cast<beeshot_tag*>(playfield.beeshotlist->Last());
    EXPECT_GE(right->xstp, 0.5f);
    EXPECT_LT(right->xstp, 2.0f);
  }
  auto* shot = static_cast<beeshot_tag*>(playfield.beeshotlist->Last());
  float x = shot->x;
  shot->update();
  EXPECT_FLOAT_EQ(shot->y, 105);
  EXPECT_FLOAT_EQ(shot->x, x + shot->xstp);
  EXPECT_FLOAT_EQ(shot->rotation, 15);
}

TEST_F(EffectTest, ABeeShotOutsideThePlayfieldIsDrawnOnceAndRemoved) {
  beeshot_tag::Create(600, 100);
  beeshot_tag::Create(300, 478);
  UpdateAll<beeshot_tag>(playfield.beeshotlist);
  EXPECT_EQ(playfield.beeshotlist->Count(), 0);
}

TEST_F(EffectTest, ABeeShotOnTheShipEndsTheGameButNotOnTheTitleScreen) {
  game_mode.titlemode = 1;
  beeshot_tag::Create(static_cast<float>(playfield.player->x),
                      static_cast<float>(playfield.player->y) - 5);
  UpdateAll<beeshot_tag>(playfield.beeshotlist);
  EXPECT_EQ(game_mode.gameover, 0);
  EXPECT_EQ(playfield.beeshotlist->Count(), 1);

  game_mode.titlemode = 0;
  starbee_tag::Create(2, 0, 0, 0, 1, 0);
  beeshot_tag::Create(static_cast<float>(playfield.player->x),
                      static_cast<float>(playfield.player->y) - 5);
  UpdateAll<beeshot_tag>(playfield.beeshotlist);
  EXPECT_EQ(game_mode.gameover, 1);
  EXPECT_EQ(playfield.player->dead, 1);
  EXPECT_EQ(playfield.beeshotlist->Count(), 0);
  EXPECT_EQ(playfield.beelist->Count(), 0);
  EXPECT_EQ(playfield.splatlist->Count(), 1);
  EXPECT_EQ(playfield.particlelist->Count(), 80);
}

TEST_F(EffectTest, ASplatIsDrawnInFortySevenUpdatesGrowingFromItsScaleAndGoneInTheNext) {
  beesplat_tag::Create(300, 200, 0.0f);
  Ref<beesplat_tag> splat(static_cast<beesplat_tag*>(playfield.splatlist->Last()));
  EXPECT_EQ(splat->frame, 1);
  for (int update = 1; update <= 47; ++update) {
    splat->update();
    ASSERT_TRUE(playfield.splatlist->Contains(splat.get())) << "update " << update;
  }
  EXPECT_EQ(splat->frame, 6);
  EXPECT_NEAR(splat->scale, 47 * 0.05f, 1e-4);
  EXPECT_NEAR(splat->alpha, 0.53f, 1e-4);  // its last drawing had 0.54
  splat->update();
  EXPECT_FALSE(playfield.splatlist->Contains(splat.get()));
}

TEST_F(EffectTest, APopUpStaysPutForOneHundredAndOneUpdates) {
  points_tag::Create(300, 200, 7);
  Ref<points_tag> points(static_cast<points_tag*>(playfield.pointslist->Last()));
  for (int update = 1; update <= 100; ++update) {
    points->update();
    ASSERT_TRUE(playfield.pointslist->Contains(points.get())) << "update " << update;
  }
  EXPECT_FLOAT_EQ(points->x, 300);
  EXPECT_FLOAT_EQ(points->y, 200);
  points->update();
  EXPECT_FALSE(playfield.pointslist->Contains(points.get()));
}

TEST_F(EffectTest, ParticlesAreThrownUpAndFallOutThroughTheBottomEvenOffTheSides) {
  particle_tag::Create(300, 200, 0.4f, 0);
  particle_tag::Create(300, 200, 0.4f, -3);
  EXPECT_EQ(playfield.particlelist->Count(), 0);
  particle_tag::Create(300, 200, 0.4f, 50);
  auto particles = All<particle_tag>(playfield.particlelist);
  ASSERT_EQ(particles.size(), 50u);
  for (particle_tag* p : particles) {
    EXPECT_GE(p->scale, 0.1f);
    EXPECT_LT(p->scale, 0.4f);
    EXPECT_GE(p->xstp, -2.5f);
    EXPECT_LT(p->xstp, 2.5f);
    EXPECT_GE(p->ystp, -2.5f);
    EXPECT_LE(p->ystp, 0.0f);
    EXPECT_EQ(p->frame, 1);
  }
  Ref<particle_tag> stray(particles[0]);
  stray->x = 700;
  stray->xstp = 2;
  int frames = 0;
  while (playfield.particlelist->Count() > 0 && frames < 1000) {
    UpdateAll<particle_tag>(playfield.particlelist);
    ++frames;
    if (playfield.particlelist->Contains(stray.get())) {
      ASSERT_LE(stray->y, 480);
    }
  }
  EXPECT_EQ(playfield.particlelist->Count(), 0);
  EXPECT_GT(stray->y, 480);
  EXPECT_GT(stray->x, 700);
  EXPECT_LT(frames, 300) << "particles fall out long before they fade";
}

}  // namespace
