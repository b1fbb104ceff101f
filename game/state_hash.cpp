// state_hash.cpp - FNV-1a over the flags, counters, random state and every entity.
#include "game/state_hash.h"

#include <cstring>

#include "core/main_thread.h"
#include "core/random.h"
#include "game/entities.h"
#include "game/globals.h"

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

template <class T, class F>
void HashList(Fnv& h, TList* list, F&& fields) {
  h.Int(list->Count());
  WalkList<T>(*list, [&](T* object) { fields(*object); });
}

}  // namespace

std::uint64_t GameStateHash() {
  ZX_CHECK_MAIN_THREAD();
  if (!player || !starlist) return 0;
  Fnv h;
  for (int v : {titlemode, getready, playing, waveend, gameover, quitflag, phase, spawnrate,
                spawnctr, swarmid, swarmsmade, swarmsperwave, swarmskilled, escaped, steermousex,
                steermousey, seqctr, cycledone ? 1 : 0}) {
    h.Int(v);
  }
  h.Float(fade);
  h.Int(RandomSeed());
  const player_tag& p = *player;
  // The best score and its jingle flag are left out: they come from the player's file, which a
  // replay on another machine does not share, and nothing in play depends on them.
  for (int v : {p.x, p.y, p.frame, p.shotctr, p.hyperctr, p.dead, p.score, p.wave, p.topsc}) {
    h.Int(v);
  }
  HashList<starfield_tag>(h, starlist, [&](const starfield_tag& s) {
    h.Int(s.x);
    h.Int(s.y);
    h.Int(s.size);
  });
  HashList<lazershot_tag>(h, shotlist, [&](const lazershot_tag& s) {
    h.Int(s.x);
    h.Int(s.y);
    h.Int(s.tracer);
    h.Float(s.alpha);
  });
  HashList<starbee_tag>(h, beelist, [&](const starbee_tag& b) {
    for (float f : {b.x, b.y, b.rotation, b.scale, b.alpha, b.ystp}) h.Float(f);
    for (int v :
         {b.btype, b.frame, b.spawntravel, b.speed, b.spawnid, b.shotctr, b.valueid, b.spinning}) {
      h.Int(v);
    }
  });
  HashList<beeshot_tag>(h, beeshotlist, [&](const beeshot_tag& s) {
    for (float f : {s.x, s.y, s.rotation, s.xstp}) h.Float(f);
  });
  HashList<beesplat_tag>(h, splatlist, [&](const beesplat_tag& s) {
    for (float f : {s.x, s.y, s.alpha, s.rotation, s.scale}) h.Float(f);
    h.Int(s.frame);
    h.Int(s.frametmr);
  });
  HashList<points_tag>(h, pointslist, [&](const points_tag& s) {
    for (float f : {s.x, s.y, s.alpha}) h.Float(f);
    h.Int(s.frame);
  });
  HashList<particle_tag>(h, particlelist, [&](const particle_tag& s) {
    for (float f : {s.x, s.y, s.xstp, s.ystp, s.alpha, s.scale, s.rotation}) h.Float(f);
    h.Int(s.frame);
  });
  return h.Value();
}
