// bee_kind.h - the kinds of bee, as a starbee_tag's btype holds them.
//
// btype stays a plain int (the state hash and the replays read it); these name its values.
#pragma once

enum class BeeKind : int {
  kMerged = 0,  // the bee eight swarm bees became: flies, shoots and dives
  kBonus = 1,   // the bonus round's bee, knocked up and spun by hits
  kSwarm = 2,   // one of a swarm's ring of eight, converging on its centre
};

// The btype value of a kind.
constexpr int BeeType(BeeKind kind) { return static_cast<int>(kind); }
