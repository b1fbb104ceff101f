// The bees: swarms forming, converging and merging; merged bees moving, shooting, diving and
// being shot; bonus bees kept in the air; and what the title screen changes about all of it.
#include <cmath>

#include "tests/game/playfield_fixture.h"

namespace {

using BeeTest = PlayfieldTest;

TEST_F(BeeTest, ASwarmIsARingOfEightAroundOneCentreAndCountsTowardsTheWave) {
  wave_counts.swarmsmade = 3;
  starbee_tag::Create(2, 0, 0, 0, 42, 0);
  auto bees = All<starbee_tag>(playfield.beelist);
  ASSERT_EQ(bees.size(), 8u);
  EXPECT_EQ(wave_counts.swarmsmade, 4);
  // The first bee sits straight above the centre heading down; the rest follow round the ring.
  float cx = bees[0]->x, cy = bees[0]->y + 150;
  EXPECT_GE(cx, 140);
  EXPECT_LT(cx, 500);
  EXPECT_GE(cy, 20);
  EXPECT_LT(cy, 200);
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(bees[k]->btype, 2);
    EXPECT_EQ(bees[k]->spawnid, 42);
    EXPECT_FLOAT_EQ(bees[k]->rotation, 180.0f + 45 * k);
    EXPECT_NEAR(std::hypot(bees[k]->x - cx, bees[k]->y - cy), 150, 0.01);
    EXPECT_FLOAT_EQ(bees[k]->scale, 0.2f);
  }

  // A full wave refuses further swarms in play, but the attract play has no limit.
  wave_counts.swarmsmade = progress.swarmsperwave;
  starbee_tag::Create(2, 0, 0, 0, 43, 0);
  EXPECT_EQ(playfield.beelist->Count(), 8);
  game_mode.titlemode = 1;
  starbee_tag::Create(2, 0, 0, 0, 44, 0);
  EXPECT_EQ(playfield.beelist->Count(), 16);
  EXPECT_EQ(wave_counts.swarmsmade, progress.swarmsperwave + 1);
}

// Runs whole frames of the bee list until the swarm has merged; returns the frames it took.
int FramesUntilMerged() {
  for (int frame = 1; frame <= 200; ++frame) {
    WalkList<starbee_tag>(*playfield.beelist, [](starbee_tag* bee) { bee->update(); });
    bool merged = false;
    WalkList<starbee_tag>(*playfield.beelist, [&](starbee_tag* bee) { merged |= bee->btype == 0; });
    if (merged) return frame;
  }
  return -1;
}

TEST_F(BeeTest, AWholeSwarmMergesInItsSeventySixthUpdateIntoOneSlowCheapBee) {
  starbee_tag::Create(2, 0, 0, 0, 7, 0);
  EXPECT_EQ(FramesUntilMerged(), 76);
  auto bees = All<starbee_tag>(playfield.beelist);
  ASSERT_EQ(bees.size(), 1u);
  EXPECT_EQ(bees[0]->btype, 0);
  EXPECT_EQ(bees[0]->valueid, 1);
  EXPECT_EQ(bees[0]->speed, 2);
  EXPECT_NEAR(bees[0]->scale, 0.9f, 1e-5);
  EXPECT_EQ(wave_counts.swarmskilled, 0);
}

TEST_F(BeeTest, EveryBeeShotBeforeTheMergeMakesTheMergedBeeSmallerFasterAndDearer) {
  starbee_tag::Create(2, 0, 0, 0, 7, 0);
  auto ring = All<starbee_tag>(playfield.beelist);
  for (int k = 1; k < 8; ++k) {
    if (k != 4) playfield.beelist->Remove(ring[k]);  // two survivors
  }
  EXPECT_EQ(FramesUntilMerged(), 76);
  ASSERT_EQ(playfield.beelist->Count(), 1);
  EXPECT_EQ(LastBee()->valueid, 7);  // 8 - 1 mate, clamped to the tables' last entry
  EXPECT_NEAR(LastBee()->scale, 0.3f, 1e-5);
  EXPECT_EQ(LastBee()->speed, 8);
  // A swarm of another id is left alone by the merge.
  clearentities();
  starbee_tag::Create(2, 0, 0, 0, 1, 0);
  for (int i = 0; i < 40; ++i) UpdateAll<starbee_tag>(playfield.beelist);
  starbee_tag::Create(2, 0, 0, 0, 2, 0);
  FramesUntilMerged();
  int swarm2 = 0;
  WalkList<starbee_tag>(*playfield.beelist, [&](starbee_tag* bee) { swarm2 += bee->spawnid == 2; });
  EXPECT_EQ(swarm2, 8);
}

TEST_F(BeeTest, SwarmBeesShotOneByOneScoreButOnlyTheLastOfASwarmCountsItDestroyed) {
  starbee_tag::Create(2, 0, 0, 0, 9, 0);
  auto ring = All<starbee_tag>(playfield.beelist);
  for (int k = 0; k < 8; ++k) {
    ShotAt(ring[k]->x, ring[k]->y);
    ring[k]->update();
    EXPECT_EQ(playfield.shotlist->Count(), 0) << "bee " << k;
    EXPECT_EQ(playfield.player->score, 25 * (k + 1));
    // Without this count a wave whose swarm was shot to the last bee could never end.
    EXPECT_EQ(wave_counts.swarmskilled, k == 7 ? 1 : 0) << "bee " << k;
  }
  EXPECT_EQ(playfield.beelist->Count(), 0);
  EXPECT_EQ(playfield.pointslist->Count(), 8);
  EXPECT_EQ(static_cast<points_tag*>(playfield.pointslist->First())->frame, 0);
  EXPECT_EQ(playfield.splatlist->Count(), 8);
  EXPECT_FLOAT_EQ(static_cast<beesplat_tag*>(playfield.splatlist->First())->scale, 0.0f);
  EXPECT_EQ(playfield.particlelist->Count(), 0);
}

TEST_F(BeeTest, AShotMeetingTheMergingBeeScoresButTheSwarmLivesOnInTheMergedBee) {
  starbee_tag::Create(2, 0, 0, 0, 9, 0);
  Ref<starbee_tag> first(static_cast<starbee_tag*>(playfield.beelist->First()));
  for (int i = 0; i < 75; ++i) UpdateAll<starbee_tag>(playfield.beelist);
  ASSERT_EQ(playfield.beelist->Count(), 8);
  // In its 76th update the first bee merges the swarm, and then meets the shot.
  ShotAt(first->x + 2 * std::sin(first->rotation * 3.14159265f / 180), first->y + 2);
  first->update();
  EXPECT_EQ(playfield.shotlist->Count(), 0);
  EXPECT_EQ(playfield.player->score, 25);
  ASSERT_EQ(playfield.beelist->Count(), 1);
  EXPECT_EQ(LastBee()->btype, 0);
  EXPECT_EQ(wave_counts.swarmskilled, 0) << "counted when its merged bee is shot, not now";
}

TEST_F(BeeTest, AMergedBeeOfValueThreeMovesFourPixelsAFrameAndIsWorthTwoHundred) {
  starbee_tag::Create(0, 300, 200, 0.5f, 0, 3);
  Ref<starbee_tag> bee = LastBee();
  EXPECT_EQ(bee->speed, 4);
  EXPECT_FLOAT_EQ(bee->alpha, 0.1f);
  EXPECT_TRUE(bee->rotation < 45 || bee->rotation >= 315);
  for (int i = 0; i < 30; ++i) {
    float x = bee->x, y = bee->y;
    bee->update();
    EXPECT_NEAR(std::hypot(bee->x - x, bee->y - y), 4.0, 1e-3);
  }
  ASSERT_GE(bee->alpha, 1.0f);
  ShotAt(bee->x, bee->y);
  bee->update();
  EXPECT_EQ(playfield.beelist->Count(), 0);
  EXPECT_EQ(playfield.shotlist->Count(), 0);
  EXPECT_EQ(playfield.player->score, 200);
  EXPECT_EQ(wave_counts.swarmskilled, 1);
  ASSERT_EQ(playfield.pointslist->Count(), 1);
  EXPECT_EQ(static_cast<points_tag*>(playfield.pointslist->First())->frame, 3);
  EXPECT_EQ(playfield.particlelist->Count(), 15);
  ASSERT_EQ(playfield.splatlist->Count(), 1);
  EXPECT_FLOAT_EQ(static_cast<beesplat_tag*>(playfield.splatlist->First())->scale, 0.5f);
}

TEST_F(BeeTest, AMergedBeeIsImmuneForItsFirstTwentyTwoUpdatesAndShotsPassToTheBeeBehind) {
  starbee_tag::Create(0, 300, 200, 0.9f, 0, 1);
  Ref<starbee_tag> merged = LastBee();
  merged->speed = 0;  // keeps it under the shots
  for (int update = 1; update <= 22; ++update) {
    // A bonus bee right behind the merged one takes the shot that passes through.
    starbee_tag::Create(1, 0, 0, 0, 0, 0);
    Ref<starbee_tag> behind = LastBee();
    behind->x = merged->x;
    behind->y = merged->y;
    behind->speed = 0;
    ShotAt(merged->x, merged->y);
    UpdateAll<starbee_tag>(playfield.beelist);
    ASSERT_TRUE(playfield.beelist->Contains(merged.get())) << "update " << update;
    EXPECT_EQ(behind->valueid, 1) << "update " << update;
    EXPECT_EQ(playfield.shotlist->Count(), 0);
    playfield.beelist->Remove(behind.get());
  }
  ShotAt(merged->x, merged->y);
  merged->update();
  EXPECT_FALSE(playfield.beelist->Contains(merged.get())) << "the 23rd update is hit";
  EXPECT_EQ(wave_counts.swarmskilled, 1);
}

TEST_F(BeeTest, AMergedBeeShootsWhileCurvingThenDivesHomingOnTheShipWithoutShooting) {
  playfield.player->x = 200;
  playfield.player->y = 460;
  starbee_tag::Create(0, 400, 100, 0.5f, 0, 1);
  Ref<starbee_tag> bee = LastBee();
  bee->shotctr = 1;
  bee->update();
  ASSERT_EQ(playfield.beeshotlist->Count(), 1);
  EXPECT_LT(static_cast<beeshot_tag*>(playfield.beeshotlist->First())->xstp, -0.5f);  // drifts left
  EXPECT_GE(bee->shotctr, 20);
  EXPECT_LT(bee->shotctr, 100);

  int curving = 0;
  while (!(bee->rotation > 179 && bee->rotation < 181) && curving < 400) {
    bee->update();
    ++curving;
  }
  ASSERT_LT(curving, 400) << "the heading never settled downwards";
  EXPECT_GT(playfield.beeshotlist->Count(), 1) << "a curving bee keeps shooting";
  playfield.beeshotlist->Clear();
  bee->y = 0;
  bee->x = 400;
  for (int i = 0; i < 60; ++i) {
    float y = bee->y, x = bee->x;
    bee->update();
    EXPECT_GT(bee->y - y, 4.5f);  // its own speed plus the dive
    EXPECT_LT(bee->x, x);         // homing left towards the ship
  }
  EXPECT_EQ(playfield.beeshotlist->Count(), 0);
  EXPECT_TRUE(playfield.beelist->Contains(bee.get()));
}

TEST_F(BeeTest, AMergedBeeWrapsSidewaysAndComesBackAtTheTopAfterLeavingTheBottom) {
  starbee_tag::Create(0, 300, 479, 0.5f, 0, 7);
  Ref<starbee_tag> bee = LastBee();
  bee->rotation = 180.5f;
  bee->update();
  EXPECT_FLOAT_EQ(bee->y, -20);
  EXPECT_GE(bee->x, 100);
  EXPECT_LT(bee->x, 540);
  bee->x = 29;
  bee->rotation = 180.5f;
  bee->update();
  EXPECT_FLOAT_EQ(bee->x, 630);
}

TEST_F(BeeTest, OnTheTitleScreenBeesNeitherShootNorHurtTheShipAndLeaveAtTheBottom) {
  game_mode.titlemode = 1;
  game_mode.playing = 0;
  starbee_tag::Create(0, playfield.player->x, playfield.player->y, 0.5f, 0, 1);
  Ref<starbee_tag> bee = LastBee();
  bee->shotctr = 1;
  bee->update();
  EXPECT_EQ(playfield.beeshotlist->Count(), 0);
  EXPECT_EQ(bee->shotctr, 1);
  EXPECT_EQ(game_mode.gameover, 0);
  EXPECT_EQ(playfield.player->dead, 0);
  bee->y = 478;
  bee->rotation = 180.5f;
  bee->update();
  EXPECT_EQ(playfield.beelist->Count(), 0);

  // A swarm merges into a bee of value 0 and random size.
  starbee_tag::Create(2, 0, 0, 0, 3, 0);
  EXPECT_EQ(FramesUntilMerged(), 76);
  ASSERT_EQ(playfield.beelist->Count(), 1);
  EXPECT_EQ(LastBee()->valueid, 0);
  EXPECT_GE(LastBee()->scale, 0.2f);
  EXPECT_LT(LastBee()->scale, 1.0f);
}

TEST_F(BeeTest, AMergedBeeTouchingTheShipLeavesOneSplatAndEightyParticles) {
  starbee_tag::Create(2, 0, 0, 0, 3, 0);
  lazershot_tag::Create(0, 100, 100);
  beeshot_tag::Create(100, 100);
  points_tag::Create(100, 100, 0);
  particle_tag::Create(100, 100, 0.5f, 10);
  starbee_tag::Create(0, playfield.player->x, playfield.player->y, 0.5f, 0, 1);
  LastBee()->update();
  EXPECT_EQ(playfield.player->dead, 1);
  EXPECT_EQ(game_mode.gameover, 1);
  EXPECT_EQ(game_mode.playing, 0);
  EXPECT_EQ(playfield.beelist->Count(), 0);
  EXPECT_EQ(playfield.shotlist->Count(), 0);
  EXPECT_EQ(playfield.beeshotlist->Count(), 0);
  EXPECT_EQ(playfield.pointslist->Count(), 0);
  ASSERT_EQ(playfield.splatlist->Count(), 1);
  EXPECT_FLOAT_EQ(static_cast<beesplat_tag*>(playfield.splatlist->First())->scale, 0.5f);
  EXPECT_EQ(playfield.particlelist->Count(), 80);
}

// A bonus bee somewhere in mid-air, not yet hit, standing still sideways.
Ref<starbee_tag> BonusBeeAt(float x, float y) {
  starbee_tag::Create(1, 0, 0, 0, 0, 0);
  Ref<starbee_tag> bee(static_cast<starbee_tag*>(playfield.beelist->Last()));
  bee->x = x;
  bee->y = y;
  return bee;
}

TEST_F(BeeTest, ABonusBeeHitThreeTimesBurstingAtX300Adds750) {
  Ref<starbee_tag> bee = BonusBeeAt(300, 300);
  bee->speed = 0;
  for (int hit = 1; hit <= 3; ++hit) {
    ShotAt(bee->x, bee->y);
    bee->update();
    ASSERT_EQ(bee->valueid, hit);
    EXPECT_EQ(bee->spinning, 1);
    EXPECT_EQ(playfield.shotlist->Count(), 0);
    for (int i = 0; i < 10; ++i) bee->update();
  }
  int frames = 0;
  while (playfield.beelist->Contains(bee.get()) && frames < 200) {
    bee->update();
    ++frames;
  }
  EXPECT_LT(bee->y, 100);
  EXPECT_EQ(playfield.player->score, 750);
  EXPECT_EQ(progress.escaped, 0);
  EXPECT_EQ(playfield.splatlist->Count(), 1);
  EXPECT_EQ(playfield.particlelist->Count(), 40);
}

TEST_F(BeeTest, TheBurstPaysByTheThirdOfThePlayfieldItHappensIn) {
  const float xs[] = {100, 239, 240, 399, 400, 555};
  const int values[] = {125, 125, 250, 250, 500, 500};
  for (int i = 0; i < 6; ++i) {
    playfield.player->score = 0;
    Ref<starbee_tag> bee = BonusBeeAt(xs[i], 101);
    bee->spinning = 1;
    bee->valueid = 2;
    bee->speed = 0;
    bee->ystp = -3;
    bee->update();
    EXPECT_FALSE(playfield.beelist->Contains(bee.get()));
    EXPECT_EQ(playfield.player->score, 2 * values[i]) << "x " << xs[i];
  }
}

TEST_F(BeeTest, AHitFromTheRightSendsABonusBeeLeftAndAHitFromTheLeftSendsItRight) {
  Ref<starbee_tag> bee = BonusBeeAt(300, 300);
  bee->speed = 3;
  bee->rotation = 90;
  ShotAt(bee->x + 5, bee->y);
  bee->update();
  EXPECT_EQ(bee->speed, -3);
  bee->speed = 3;
  ShotAt(bee->x - 5, bee->y);
  bee->update();
  EXPECT_EQ(bee->speed, 3);
  // A spinning bee bounces off the playfield's sides.
  bee->x = 561;
  bee->update();
  EXPECT_EQ(bee->speed, -3);
}

TEST_F(BeeTest, BonusBeesThatLeaveTheScreenAreCountedAsEscaped) {
  Ref<starbee_tag> bee = BonusBeeAt(579, 250);
  bee->rotation = 90;
  bee->speed = 5;
  bee->update();
  EXPECT_FALSE(playfield.beelist->Contains(bee.get()));
  EXPECT_EQ(progress.escaped, 1);
  bee = BonusBeeAt(300, 479);
  bee->spinning = 1;
  bee->speed = 0;
  bee->ystp = 3;
  bee->update();
  EXPECT_EQ(progress.escaped, 2);
  EXPECT_EQ(playfield.player->score, 0);
}

}  // namespace

// The value of a merged bee: one step dearer for each mate it lost, kept inside the speed and
// points tables however many bees of its swarm id merge (more than seven mates, or none).

namespace {

using MergedBeeValue = PlayfieldTest;

// Runs whole frames of the bee list until a merged bee exists; returns it.
Ref<starbee_tag> MergedBee() {
  for (int frame = 1; frame <= 200; ++frame) {
    WalkList<starbee_tag>(*playfield.beelist, [](starbee_tag* bee) { bee->update(); });
    Ref<starbee_tag> merged;
    WalkList<starbee_tag>(*playfield.beelist, [&](starbee_tag* bee) {
      if (bee->btype == 0) merged = Ref<starbee_tag>(bee);
    });
    if (merged) return merged;
  }
  return nullptr;
}

TEST_F(MergedBeeValue, MatesBeyondSevenAndNoMatesAtAllStayInsideTheTables) {
  struct Case {
    int rings;  // rings of eight made with one swarm id
    int mates;  // bees of that id left besides the one that merges them
    int valueid;
  };
  const Case cases[] = {{1, 0, 7}, {1, 1, 7}, {1, 6, 2},  {1, 7, 1},
                        {2, 8, 0}, {2, 9, 0}, {2, 15, 0}, {3, 23, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.mates << " mates");
    clearentities();
    wave_counts.swarmsmade = 0;
    for (int r = 0; r < c.rings; ++r) starbee_tag::Create(2, 0, 0, 0, 5, 0);
    auto bees = All<starbee_tag>(playfield.beelist);
    for (std::size_t k = static_cast<std::size_t>(c.mates) + 1; k < bees.size(); ++k) {
      playfield.beelist->Remove(bees[k]);
    }
    ASSERT_EQ(playfield.beelist->Count(), c.mates + 1);
    Ref<starbee_tag> merged = MergedBee();
    ASSERT_TRUE(merged);
    EXPECT_EQ(playfield.beelist->Count(), 1);
    EXPECT_EQ(merged->valueid, c.valueid);
    EXPECT_EQ(merged->speed, speedtable[c.valueid]);
    EXPECT_NEAR(merged->scale, 0.2f + 0.1f * c.mates, 1e-4);
    // It flies and draws as any merged bee does.
    for (int i = 0; i < 10; ++i) UpdateAll<starbee_tag>(playfield.beelist);
    EXPECT_EQ(merged->valueid, c.valueid);
  }
}

}  // namespace
