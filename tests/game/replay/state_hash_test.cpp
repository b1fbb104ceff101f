// The state hash that replays check, and the one walk of the state it shares with the snapshots.
// Two states that differ only in the random generator's state hash apart, whichever bit of it
// differs, so that a replay whose generator has drifted is caught at the next check even while
// nothing on screen shows it yet. Every field of every state struct is named by the walk, and
// every field it hashes moves the hash: a field added to a struct and forgotten in the walk would
// let a replay diverge unseen.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "core/random.h"
#include "game/play/state_fields.h"
#include "game/replay/state_hash.h"
#include "tests/game/game_fixture.h"

namespace {

// How many fields an aggregate has: the most initialisers it takes, each converting to anything.
struct AnyField {
  template <class T>
  operator T() const;  // only named in unevaluated braces, never called
};

template <class T, class... Fields>
constexpr std::size_t FieldCount() {
  if constexpr (requires { T{Fields{}..., AnyField{}}; }) {
    return FieldCount<T, Fields..., AnyField>();
  } else {
    return sizeof...(Fields);
  }
}

struct ThreeFields {
  int count;
  float alpha;
  Ref<TChannel> channel;
};
static_assert(FieldCount<ThreeFields>() == 3, "the counting itself");

// Records where each field the walk names lies, and which it hashes.
struct Seen {
  struct Field {
    void* at;
    std::size_t size;
    bool hashed;
    bool is_float;
  };
  std::vector<Field> fields;
  template <class T>
  void Add(T& v, bool hashed) {
    fields.push_back({&v, sizeof v, hashed, std::is_same_v<T, float>});
  }
  void Int(int& v, int, int) { Add(v, true); }
  void Flag(bool& v) { Add(v, true); }
  void Float(float& f) { Add(f, true); }
  template <class T>
  void Apart(T& v) {
    Add(v, false);
  }
  void Random() {}
  void Ship(player_tag*& p) { Add(p, false); }
  template <class T>
  void List(TList*& list) {
    Add(list, false);
  }
  // The distinct fields named that lie inside `s`.
  template <class S>
  std::size_t Within(const S& s) const {
    std::set<const void*> inside;
    const auto* first = reinterpret_cast<const char*>(&s);
    for (const Field& f : fields) {
      const auto* at = static_cast<const char*>(f.at);
      if (at >= first && at + f.size <= first + sizeof s) inside.insert(at);
    }
    return inside.size();
  }
};

using StateFields = GameTest;

TEST_F(StateFields, TheWalkNamesEveryFieldOfEveryStateStructOnceAndEachHashedOneMovesTheHash) {
  HarnessOptions options;
  options.null_graphics = true;
  Start(options);
  EnterPlay();
  HarnessRun(60);
  Seen seen;
  WalkGameState(seen);
  std::set<void*> distinct;
  for (const Seen::Field& f : seen.fields) distinct.insert(f.at);
  EXPECT_EQ(distinct.size(), seen.fields.size()) << "a field named twice";
  EXPECT_EQ(seen.Within(game_mode), FieldCount<ModeState>()) << "ModeState";
  EXPECT_EQ(seen.Within(progress), FieldCount<GameProgress>()) << "GameProgress";
  EXPECT_EQ(seen.Within(wave_counts), FieldCount<WaveCounts>()) << "WaveCounts";
  EXPECT_EQ(seen.Within(program), FieldCount<ProgramState>()) << "ProgramState";
  EXPECT_EQ(seen.Within(frame_input), FieldCount<FrameInput>()) << "FrameInput";
  EXPECT_EQ(seen.Within(playfield), FieldCount<Playfield>()) << "Playfield";

  // Each hashed field, changed alone, changes the hash; put back, the hash is the same again.
  const std::uint64_t base = GameStateHash();
  for (const Seen::Field& f : seen.fields) {
    if (!f.hashed) continue;
    std::vector<char> kept(f.size);
    std::memcpy(kept.data(), f.at, f.size);
    if (f.is_float) {
      *static_cast<float*>(f.at) += 0.5f;
    } else if (f.size == sizeof(bool)) {
      *static_cast<bool*>(f.at) = !*static_cast<bool*>(f.at);
    } else {
      *static_cast<int*>(f.at) += 1;
    }
    EXPECT_NE(GameStateHash(), base) << "field " << (&f - seen.fields.data()) << " of the walk";
    std::memcpy(f.at, kept.data(), f.size);
  }
  EXPECT_EQ(GameStateHash(), base);
}

using StateHash = GameTest;

TEST_F(StateHash, StatesThatDifferOnlyInTheGeneratorHashApartAtEveryBit) {
  HarnessOptions options;
  options.null_graphics = true;
  Start(options);
  EnterPlay();
  HarnessRun(120);  // bees, shots and stars in play
  const std::int32_t seed = RandomSeed();
  const std::uint64_t base = GameStateHash();
  ASSERT_NE(base, 0u);
  // Every bit the generator keeps (its state lies below 2^31).
  for (int bit = 0; bit < 31; ++bit) {
    const std::int32_t other = seed ^ (std::int32_t{1} << bit);
    if (other == 0 || other == 0x7fffffff) continue;  // not states the generator takes
    SeedRandom(other);
    ASSERT_EQ(RandomSeed(), other);
    EXPECT_NE(GameStateHash(), base) << "generator state differing in bit " << bit;
  }
  // One step of the generator, as a single extra draw in a frame would make.
  SeedRandom(seed);
  RandomFloat();
  EXPECT_NE(GameStateHash(), base) << "one draw more";
  // The same generator state again: the same hash, so the differences came from it alone.
  SeedRandom(seed);
  EXPECT_EQ(GameStateHash(), base);
}

}  // namespace
