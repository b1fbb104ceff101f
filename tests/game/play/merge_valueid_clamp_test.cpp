// The value of a merged bee: one step dearer for each mate it lost, kept inside the speed and
// points tables however many bees of its swarm id merge (more than seven mates, or none).
#include "tests/game/playfield_fixture.h"

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
