// replay_snapshot.cpp - the state walk (state_fields.h) and the polled input, written as bytes,
// checked and put back.
#include "game/replay/replay_snapshot.h"

#include <cmath>

#include "core/main_thread.h"
#include "core/random.h"
#include "game/play/state_fields.h"
#include "game/replay/replay_bytes.h"
#include "game/replay/state_hash.h"
#include "system/input_seam.h"

namespace {

// Positions, angles, scales and speeds: a game's stay within a few thousand.
constexpr float kMaxMagnitude = 1.0e6f;
// Objects of one list: a game holds a few hundred at most.
constexpr std::uint64_t kMaxObjects = 20000;
constexpr int kPorts = 16;

// The ship's fields, the best score included: a game starts from the score file's best.
template <class V>
void ShipFields(V& v, player_tag& p) {
  v.Int(p.x, -kMaxStateCount, kMaxStateCount);
  v.Int(p.y, -kMaxStateCount, kMaxStateCount);
  v.Int(p.frame, 0, 3);
  for (int* count : {&p.shotctr, &p.hyperctr, &p.score, &p.wave, &p.topsc}) {
    v.Int(*count, 0, kMaxStateCount);
  }
  v.Int(p.dead, 0, 1);
  v.Int(p.hscore, -kMaxStateCount,
        kMaxStateCount);  // a damaged score file may have left it negative
  v.Int(p.newhs, 0, 1);
}

// Writes each field.
struct Writing {
  ReplayBytesOut& out;
  void Int(int& v, int, int) { out.Signed(v); }
  void Flag(bool& v) { out.Byte(v ? 1 : 0); }
  void Float(float& f) { out.Float(f); }
  template <class T>
  void Apart(T&) {}
  void Random() { out.Signed(RandomSeed()); }
  void Ship(player_tag*& ship) { ShipFields(*this, *ship); }
  template <class T>
  void List(TList*& list) {
    int count = 0;
    WalkList<T>(*list, [&](T*) { ++count; });
    out.Unsigned(static_cast<std::uint64_t>(count));
    WalkList<T>(*list, [&](T* object) { EntityFields(*this, *object); });
  }
};

// Reads each field within its range; stores it only when `apply` (the second pass, after the
// first found every field in range). The first pass needs no game: it reads the ship and each
// list's objects into scratch objects that are thrown away.
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
  template <class T>
  void Apart(T&) {}
  void Random() {
    const std::int64_t seed = in.Signed();
    if (seed < 1 || seed > 2147483646) in.bad = true;
    if (apply && !in.bad) SeedRandom(static_cast<std::int32_t>(seed));
  }
  void Ship(player_tag*& ship) {
    Ref<player_tag> scratch = apply ? nullptr : New<player_tag>();
    ShipFields(*this, apply ? *ship : *scratch);
  }
  template <class T>
  void List(TList*& list) {
    const std::uint64_t count = in.Unsigned(kMaxObjects);
    if (apply) list->Clear();
    Ref<T> scratch = apply ? nullptr : New<T>();
    for (std::uint64_t i = 0; i < count && !in.bad; ++i) {
      Ref<T> object = apply ? New<T>() : scratch;
      EntityFields(*this, *object);
      if (apply) list->AddLast(object.get());
    }
  }
};

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
  ReadSparse(in, s.keyhits, s.kKeys, 0, kMaxStateCount);
  s.charcount = static_cast<int>(in.Unsigned(s.kChars));
  for (int i = 0; i < s.charcount; ++i) s.chars[i] = in.Int();
  for (int b = 0; b < s.kButtons; ++b) {
    s.buttons[b] = in.Int(0, 1);
    s.buttonhits[b] = in.Int(0, kMaxStateCount);
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
    for (int& h : s.hits) h = static_cast<int>(in.Unsigned(kMaxStateCount));
    s.unplugs = static_cast<int>(in.Unsigned(kMaxStateCount));
  }
  return !in.bad;
}

// One pass over the bytes: the first checks them, the second (`apply`) puts the state back.
bool Walk(const std::vector<std::uint8_t>& bytes, bool apply, std::uint64_t* hash) {
  ReplayBytesIn in(bytes.data(), bytes.size());
  Reading r{in, apply};
  *hash = in.Fixed(8);
  WalkGameState(r);
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
  if (!playfield.player || !playfield.starlist) return out.out;
  out.Fixed(GameStateHash(), 8);
  Writing w{out};
  WalkGameState(w);
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
  if (!playfield.player || !playfield.starlist || !CheckGameSnapshot(bytes))
    return SnapshotRestore::kNotSnapshot;
  Walk(bytes, true, &hash);
  return GameStateHash() == hash ? SnapshotRestore::kRestored : SnapshotRestore::kOtherState;
}
