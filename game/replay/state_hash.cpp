// state_hash.cpp - FNV-1a over every field the state walk names, bar those apart from play.
#include "game/replay/state_hash.h"

#include <cstring>

#include "core/main_thread.h"
#include "core/random.h"
#include "game/play/state_fields.h"

namespace {

class Fnv {
 public:
  void Bytes(const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
      value_ ^= p[i];
      value_ *= 0x100000001B3ull;
    }
  }
  void Int(std::int64_t v) { Bytes(&v, sizeof v); }
  void Float(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    Bytes(&bits, sizeof bits);
  }
  std::uint64_t Value() const { return value_; }

 private:
  std::uint64_t value_ = 0xCBF29CE484222325ull;
};

// Every value as a 64-bit integer, floats by their bits.
struct Hashing {
  Fnv& h;
  void Int(int& v, int, int) { h.Int(v); }
  void Flag(bool& v) { h.Int(v ? 1 : 0); }
  void Float(float& f) { h.Float(f); }
  template <class T>
  void Apart(T&) {}
  void Random() { h.Int(RandomSeed()); }
  // The best score and its jingle flag are left out: they come from the player's file, which a
  // replay on another machine does not share, and nothing in play depends on them.
  void Ship(player_tag*& ship) {
    const player_tag& p = *ship;
    for (int v : {p.x, p.y, p.frame, p.shotctr, p.hyperctr, p.dead, p.score, p.wave, p.topsc}) {
      h.Int(v);
    }
  }
  template <class T>
  void List(TList*& list) {
    h.Int(list->Count());
    WalkList<T>(*list, [&](T* object) { EntityFields(*this, *object); });
  }
};

}  // namespace

std::uint64_t GameStateHash() {
  ZX_CHECK_MAIN_THREAD();
  if (!playfield.player || !playfield.starlist) return 0;
  Fnv h;
  Hashing hashing{h};
  WalkGameState(hashing);
  return h.Value();
}
