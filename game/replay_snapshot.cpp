// replay_snapshot.cpp - one list of fields for each part of the state, walked to write the bytes,
// to check them and to put them back.
#include "game/replay_snapshot.h"

#include <cmath>

#include "core/main_thread.h"
#include "core/random.h"
#include "game/entities.h"
#include "game/globals.h"
#include "game/replay_bytes.h"
#include "game/state_hash.h"
#include "system/input_seam.h"

namespace {

// Counters and scores stay far below this in any game; a larger one could overflow as it counts.
constexpr int kMaxCount = 1 << 30;
// Positions, angles, scales and speeds: a game's stay within a few thousand.
constexpr float kMaxMagnitude = 1.0e6f;
// Objects of one list: a game holds a few hundred at most.
constexpr std::uint64_t kMaxObjects = 20000;
constexpr int kPorts = 16;

// Writes each field.
struct Writing {
  ReplayBytesOut& out;
  void Int(int& v, int, int) { out.Signed(v); }
  void Flag(bool& v) { out.Byte(v ? 1 : 0); }
  void Float(float& f) { out.Float(f); }
};

// Reads each field within its range; stores it only when `apply` (the second pass).
struct Reading {
  ReplayBytesIn& in;
  bool apply;
  void Int(int& v, int least, int most) {
    const int read = in.Int(least, most);
    if (apply) v = read;
  }
  void Flag(bool& v) {
    const std::uint8_t b = in.Byte();
    if (b > 1) in.bad = true;
    if (apply) v = b == 1;
  }
  void Float(float& f) {
    const float read = in.Float();
    if (!std::isfinite(read) || std::fabs(read) > kMaxMagnitude) in.bad = true;
    if (apply) f = read;
  }
};

template <class V>
void ModeFields(V& v) {
  for (int* flag : {&titlemode, &getready, &playing, &waveend, &gameover, &quitflag}) {
    v.Int(*flag, 0, 1);
  }
  v.Int(phase, 0, 2);
  for (int* count :
       {&spawnrate, &spawnctr, &swarmid, &swarmsmade, &swarmsperwave, &swarmskilled, &escaped}) {
    v.Int(*count, 0, kMaxCount);
  }
  v.Int(steermousex, -kMaxCount, kMaxCount);
  v.Int(steermousey, -kMaxCount, kMaxCount);
  v.Int(seqctr, -1, kMaxCount);
  v.Flag(cycledone);
  v.Float(fade);
}

template <class V>
void Fields(V& v, player_tag& p) {
  v.Int(p.x, -kMaxCount, kMaxCount);
  v.Int(p.y, -kMaxCount, kMaxCount);
  v.Int(p.frame, 0, 3);
  for (int* count : {&p.shotctr, &p.hyperctr, &p.score, &p.wave, &p.topsc}) {
    v.Int(*count, 0, kMaxCount);
  }
  v.Int(p.dead, 0, 1);
  v.Int(p.hscore, -kMaxCount, kMaxCount);  // a damaged score file may have left it negative
  v.Int(p.newhs, 0, 1);
}

template <class V>
void Fields(V& v, starfield_tag& s) {
  v.Int(s.x, -kMaxCount, kMaxCount);
  v.Int(s.y, -kMaxCount, kMaxCount);
  v.Int(s.size, 0, 2);
}

template <class V>
void Fields(V& v, lazershot_tag& s) {
  v.Int(s.x, -kMaxCount, kMaxCount);
  v.Int(s.y, -kMaxCount, kMaxCount);
  v.Int(s.tracer, 0, 1);
  v.Float(s.alpha);
}

template <class V>
void Fields(V& v, starbee_tag& b) {
  for (float* f : {&b.x, &b.y, &b.rotation, &b.scale, &b.alpha, &b.ystp}) v.Float(*f);
  v.Int(b.btype, 0, 2);
  v.Int(b.frame, 0, 2);
  v.Int(b.spawntravel, 0, kMaxCount);
  v.Int(b.speed, -kMaxCount, kMaxCount);
  v.Int(b.spawnid, 0, kMaxCount);
  v.Int(b.shotctr, -kMaxCount, kMaxCount);
  // A bonus bee counts its hits here; the others index the eight-entry tables.
  v.Int(b.valueid, 0, b.btype == BeeType(BeeKind::kBonus) ? kMaxCount : 7);
  v.Int(b.spinning, 0, 1);
}

template <class V>
void Fields(V& v, beeshot_tag& s) {
  for (float* f : {&s.x, &s.y, &s.rotation, &s.xstp}) v.Float(*f);
}

template <class V>
void Fields(V& v, beesplat_tag& s) {
  for (float* f : {&s.x, &s.y, &s.alpha, &s.rotation, &s.scale}) v.Float(*f);
  v.Int(s.frame, 0, 6);
  v.Int(s.frametmr, 0, kMaxCount);
}

template <class V>
void Fields(V& v, points_tag& s) {
  for (float* f : {&s.x, &s.y, &s.alpha}) v.Float(*f);
  v.Int(s.frame, 0, 7);
}

template <class V>
void Fields(V& v, particle_tag& s) {
  for (float* f : {&s.x, &s.y, &s.xstp, &s.ystp, &s.alpha, &s.scale, &s.rotation}) v.Float(*f);
  v.Int(s.frame, 0, 6);
}

template <class T>
void WriteList(ReplayBytesOut& out, TList* list) {
  int count = 0;
  WalkList<T>(*list, [&](T*) { ++count; });
  out.Unsigned(static_cast<std::uint64_t>(count));
  Writing w{out};
  WalkList<T>(*list, [&](T* object) { Fields(w, *object); });
}

template <class T>
void ReadList(Reading& r, TList* list) {
  const std::uint64_t count = r.in.Unsigned(kMaxObjects);
  if (r.apply) list->Clear();
  // The first pass reads into one object that is thrown away.
  Ref<T> scratch = r.apply ? nullptr : New<T>();
  for (std::uint64_t i = 0; i < count && !r.in.bad; ++i) {
    Ref<T> object = r.apply ? New<T>() : scratch;
    Fields(r, *object);
    if (r.apply) list->AddLast(object.get());
  }
}

// Only what differs from an empty table is written: an index step and the value.
void WriteSparse(ReplayBytesOut& out, const int* values, int size) {
  int count = 0;
  for (int i = 0; i < size; ++i) count += values[i] != 0;
  out.Unsigned(static_cast<std::uint64_t>(count));
  for (int i = 0, last = -1; i < size; ++i) {
    if (values[i] == 0) continue;
    out.Unsigned(static_cast<std::uint64_t>(i - last - 1));
    out.Signed(values[i]);
    last = i;
  }
}

void ReadSparse(ReplayBytesIn& in, int* values, int size, int least, int most) {
  const auto count = static_cast<int>(in.Unsigned(static_cast<std::uint64_t>(size)));
  for (int n = 0, at = -1; n < count && !in.bad; ++n) {
    at += 1 + static_cast<int>(in.Unsigned(static_cast<std::uint64_t>(size)));
    if (at >= size) {
      in.bad = true;
      return;
    }
    values[at] = in.Int(least, most);
    if (values[at] == 0) in.bad = true;  // a zero is never written
  }
}

void WriteInput(ReplayBytesOut& out, const PolledInputState& s) {
  WriteSparse(out, s.keys, s.kKeys);
  WriteSparse(out, s.keyhits, s.kKeys);
  out.Unsigned(static_cast<std::uint64_t>(s.charcount));
  for (int i = 0; i < s.charcount; ++i) out.Signed(s.chars[i]);
  for (int b = 0; b < s.kButtons; ++b) {
    out.Signed(s.buttons[b]);
    out.Signed(s.buttonhits[b]);
  }
  for (int v : {s.mousex, s.mousey, s.wheel, s.suspended, s.closerequested}) out.Signed(v);
}

PolledInputState ReadInput(ReplayBytesIn& in) {
  PolledInputState s;
  ReadSparse(in, s.keys, s.kKeys, 0, 1);
  ReadSparse(in, s.keyhits, s.kKeys, 0, kMaxCount);
  s.charcount = static_cast<int>(in.Unsigned(s.kChars));
  for (int i = 0; i < s.charcount; ++i) s.chars[i] = in.Int();
  for (int b = 0; b < s.kButtons; ++b) {
    s.buttons[b] = in.Int(0, 1);
    s.buttonhits[b] = in.Int(0, kMaxCount);
  }
  s.mousex = in.Int();
  s.mousey = in.Int();
  s.wheel = in.Int();
  s.suspended = in.Int(0, 1);
  s.closerequested = in.Int(0, 1);
  return s;
}

void WritePorts(ReplayBytesOut& out) {
  int count = 0;
  for (int p = 0; p < kPorts; ++p) count += !(SaveJoystickPort(p) == JoystickPortState{});
  out.Unsigned(static_cast<std::uint64_t>(count));
  for (int p = 0; p < kPorts; ++p) {
    const JoystickPortState s = SaveJoystickPort(p);
    if (s == JoystickPortState{}) continue;
    out.Byte(static_cast<std::uint8_t>(p));
    out.Byte(s.present ? 1 : 0);
    out.Unsigned(s.buttons);
    for (float a : s.axes) out.Float(a);
    for (int h : s.hits) out.Unsigned(static_cast<std::uint64_t>(h));
    out.Unsigned(static_cast<std::uint64_t>(s.unplugs));
  }
}

bool ReadPorts(ReplayBytesIn& in, JoystickPortState (&ports)[kPorts]) {
  const auto count = static_cast<int>(in.Unsigned(kPorts));
  for (int n = 0, last = -1; n < count && !in.bad; ++n) {
    const int p = in.Byte();
    if (p <= last || p >= kPorts) return false;
    last = p;
    JoystickPortState& s = ports[p];
    const std::uint8_t present = in.Byte();
    if (present > 1) return false;
    s.present = present == 1;
    s.buttons = static_cast<unsigned>(in.Unsigned(0xFFFFFFFFu));
    for (float& a : s.axes) {
      a = in.Float();
      if (!std::isfinite(a) || std::fabs(a) > kMaxMagnitude) return false;
    }
    for (int& h : s.hits) h = static_cast<int>(in.Unsigned(kMaxCount));
    s.unplugs = static_cast<int>(in.Unsigned(kMaxCount));
  }
  return !in.bad;
}

// One pass over the bytes: the first checks them, the second (`apply`) puts the state back.
bool Walk(const std::vector<std::uint8_t>& bytes, bool apply, std::uint64_t* hash) {
  ReplayBytesIn in(bytes.data(), bytes.size());
  Reading r{in, apply};
  *hash = in.Fixed(8);
  ModeFields(r);
  const std::int64_t seed = in.Signed();
  if (seed < 1 || seed > 2147483646) return false;
  if (apply) SeedRandom(static_cast<std::int32_t>(seed));
  // The first pass needs no game: it reads the ship into one that is thrown away.
  Ref<player_tag> scratch = apply ? nullptr : New<player_tag>();
  Fields(r, apply ? *player : *scratch);
  ReadList<starfield_tag>(r, starlist);
  ReadList<lazershot_tag>(r, shotlist);
  ReadList<starbee_tag>(r, beelist);
  ReadList<beeshot_tag>(r, beeshotlist);
  ReadList<beesplat_tag>(r, splatlist);
  ReadList<points_tag>(r, pointslist);
  ReadList<particle_tag>(r, particlelist);
  const PolledInputState input = ReadInput(in);
  JoystickPortState ports[kPorts] = {};
  if (!ReadPorts(in, ports) || in.bad || !in.AtEnd()) return false;
  if (apply) {
    RestorePolledInput(input);
    for (int p = 0; p < kPorts; ++p) RestoreJoystickPort(p, ports[p]);
  }
  return true;
}

}  // namespace

std::vector<std::uint8_t> TakeGameSnapshot() {
  ZX_CHECK_MAIN_THREAD();
  ReplayBytesOut out;
  if (!player || !starlist) return out.out;
  out.Fixed(GameStateHash(), 8);
  Writing w{out};
  ModeFields(w);
  out.Signed(RandomSeed());
  Fields(w, *player);
  WriteList<starfield_tag>(out, starlist);
  WriteList<lazershot_tag>(out, shotlist);
  WriteList<starbee_tag>(out, beelist);
  WriteList<beeshot_tag>(out, beeshotlist);
  WriteList<beesplat_tag>(out, splatlist);
  WriteList<points_tag>(out, pointslist);
  WriteList<particle_tag>(out, particlelist);
  WriteInput(out, SavePolledInput());
  WritePorts(out);
  return out.out;
}

bool CheckGameSnapshot(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t hash = 0;
  return Walk(bytes, false, &hash);
}

SnapshotRestore RestoreGameSnapshot(const std::vector<std::uint8_t>& bytes) {
  ZX_CHECK_MAIN_THREAD();
  std::uint64_t hash = 0;
  if (!player || !starlist || !CheckGameSnapshot(bytes)) return SnapshotRestore::kNotSnapshot;
  Walk(bytes, true, &hash);
  return GameStateHash() == hash ? SnapshotRestore::kRestored : SnapshotRestore::kOtherState;
}
