// replay_file.cpp - writing and parsing replay files.
#include "game/replay_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "game/version.h"

const char kGameVersion[] = "zumbrix-3d " ZX_VERSION_SHORT;

namespace {

constexpr char kMagic[8] = {'Z', 'X', 'R', 'E', 'P', 'L', 'A', 'Y'};
constexpr std::uint16_t kFormat = 2;
constexpr std::size_t kMaxVersionText = 256;

// Items of the body. A frame is its items followed by kEndFrame; the tail by kEndTail.
enum class ReplayTag : std::uint8_t {
  kEndFrame = 0,
  kEvent = 1,         // stamp, id, data, x, y (variable-length integers)
  kJoystick = 2,      // port, ok, buttons, seven float bit patterns
  kJoystickSame = 3,  // port: the same sample as that port's previous read
  kCheck = 4,         // the state hash, eight bytes
  kEndTail = 5,
};

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

class Writer {
 public:
  void Byte(std::uint8_t b) { out.push_back(b); }
  void Fixed(std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void Unsigned(std::uint64_t v) {
    while (v >= 0x80) {
      out.push_back(static_cast<std::uint8_t>(v | 0x80));
      v >>= 7;
    }
    out.push_back(static_cast<std::uint8_t>(v));
  }
  void Signed(std::int64_t v) {
    Unsigned((static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63));
  }
  void Tag(ReplayTag t) { Byte(static_cast<std::uint8_t>(t)); }
  std::vector<std::uint8_t> out;
};

// Reads within bounds; any read past the end, or a value out of range, marks the input bad.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}
  bool bad = false;
  bool AtEnd() const { return p_ == end_; }
  std::uint8_t Byte() {
    if (p_ == end_) {
      bad = true;
      return 0;
    }
    return *p_++;
  }
  std::uint64_t Fixed(int bytes) {
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint64_t>(Byte()) << (8 * i);
    return v;
  }
  std::uint64_t Unsigned() {
    std::uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      std::uint8_t b = Byte();
      v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return v;
    }
    bad = true;
    return 0;
  }
  std::int64_t Signed() {
    std::uint64_t u = Unsigned();
    return static_cast<std::int64_t>(u >> 1) ^ -static_cast<std::int64_t>(u & 1);
  }
  int Int() {
    std::int64_t v = Signed();
    if (v < INT32_MIN || v > INT32_MAX) bad = true;
    return static_cast<int>(v);
  }
  std::string Text(std::size_t size) {
    if (static_cast<std::size_t>(end_ - p_) < size) {
      bad = true;
      return {};
    }
    std::string s(reinterpret_cast<const char*>(p_), size);
    p_ += size;
    return s;
  }

 private:
  const std::uint8_t* p_;
  const std::uint8_t* end_;
};

void WriteSample(Writer& w, const JoystickSample& s) {
  w.Byte(s.ok ? 1 : 0);
  w.Unsigned(s.buttons);
  for (float f : s.values) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    w.Fixed(bits, 4);
  }
}

JoystickSample ReadSample(Reader& r) {
  JoystickSample s;
  std::uint8_t ok = r.Byte();
  if (ok > 1) r.bad = true;
  s.ok = ok == 1;
  std::uint64_t buttons = r.Unsigned();
  if (buttons > 0xFFFFFFFFu) r.bad = true;
  s.buttons = static_cast<unsigned>(buttons);
  for (float& f : s.values) {
    auto bits = static_cast<std::uint32_t>(r.Fixed(4));
    std::memcpy(&f, &bits, sizeof f);
  }
  return s;
}

constexpr int kPorts = 16;

void WriteFrame(Writer& w, const ReplayFrame& frame, std::array<JoystickSample, kPorts>& last,
                std::array<bool, kPorts>& seen, ReplayTag end) {
  for (const ReplayEvent& e : frame.events) {
    w.Tag(ReplayTag::kEvent);
    w.Unsigned(e.stamp);
    w.Signed(e.event.id);
    w.Signed(e.event.data);
    w.Signed(e.event.x);
    w.Signed(e.event.y);
  }
  // Events and joystick reads are independent streams, so their relative order is not kept.
  for (const ReplayJoystickRead& j : frame.joystick) {
    const auto port = static_cast<std::size_t>(j.port);
    if (seen[port] && last[port] == j.sample) {
      w.Tag(ReplayTag::kJoystickSame);
      w.Byte(static_cast<std::uint8_t>(j.port));
      continue;
    }
    w.Tag(ReplayTag::kJoystick);
    w.Byte(static_cast<std::uint8_t>(j.port));
    WriteSample(w, j.sample);
    last[port] = j.sample;
    seen[port] = true;
  }
  if (frame.check) {
    w.Tag(ReplayTag::kCheck);
    w.Fixed(*frame.check, 8);
  }
  w.Tag(end);
}

}  // namespace

std::vector<std::uint8_t> SerializeReplay(const ReplayJournal& journal) {
  Writer body;
  std::array<JoystickSample, kPorts> last{};
  std::array<bool, kPorts> seen{};
  for (const ReplayFrame& frame : journal.frames) {
    WriteFrame(body, frame, last, seen, ReplayTag::kEndFrame);
  }
  ReplayFrame tail = journal.tail;
  tail.check.reset();
  WriteFrame(body, tail, last, seen, ReplayTag::kEndTail);

  Writer w;
  w.out.assign(std::begin(kMagic), std::end(kMagic));
  w.Fixed(kFormat, 2);
  const std::string version = journal.version.substr(0, kMaxVersionText);
  w.Fixed(version.size(), 2);
  w.out.insert(w.out.end(), version.begin(), version.end());
  w.Fixed(static_cast<std::uint32_t>(journal.seed), 4);
  w.Fixed(static_cast<std::uint32_t>(journal.best), 4);
  w.Fixed(journal.frames.size(), 4);
  w.Fixed(body.out.size(), 4);
  w.out.insert(w.out.end(), body.out.begin(), body.out.end());
  w.Fixed(Crc32(w.out.data(), w.out.size()), 4);
  return w.out;
}

ReplayError ParseReplay(const std::vector<std::uint8_t>& bytes, ReplayJournal& journal) {
  if (bytes.size() < sizeof kMagic || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
    return ReplayError::kNotAReplay;
  }
  Reader header(bytes.data() + sizeof kMagic, bytes.size() - sizeof kMagic);
  const auto format = header.Fixed(2);
  const auto version_size = header.Fixed(2);
  if (header.bad) return ReplayError::kDamaged;
  const std::string version = header.Text(version_size);
  if (header.bad) return ReplayError::kDamaged;
  // The version is read before the CRC is checked: a file of another version may differ in
  // everything after it, and "another version" is the more useful thing to say.
  if (format != kFormat || version != kGameVersion) return ReplayError::kOtherVersion;
  ReplayJournal parsed;
  parsed.version = version;
  parsed.seed = static_cast<std::int32_t>(header.Fixed(4));
  parsed.best = static_cast<std::int32_t>(header.Fixed(4));
  const std::uint64_t frame_count = header.Fixed(4);
  const std::uint64_t body_size = header.Fixed(4);
  if (header.bad) return ReplayError::kDamaged;
  const std::size_t header_size = sizeof kMagic + 2 + 2 + version.size() + 4 + 4 + 4 + 4;
  if (bytes.size() < header_size + 4 || bytes.size() - header_size - 4 != body_size) {
    return ReplayError::kDamaged;
  }
  const std::size_t crc_at = bytes.size() - 4;
  std::uint32_t stored = 0;
  for (int i = 0; i < 4; ++i) stored |= static_cast<std::uint32_t>(bytes[crc_at + i]) << (8 * i);
  if (Crc32(bytes.data(), crc_at) != stored) return ReplayError::kDamaged;
  // Every frame takes at least one byte, which bounds the count before anything is reserved.
  if (frame_count > body_size) return ReplayError::kDamaged;

  Reader r(bytes.data() + header_size, body_size);
  std::array<JoystickSample, kPorts> last{};
  std::array<bool, kPorts> seen{};
  ReplayFrame frame;
  bool tail_done = false;
  while (!r.AtEnd() && !r.bad && !tail_done) {
    const auto tag = static_cast<ReplayTag>(r.Byte());
    switch (tag) {
      case ReplayTag::kEvent: {
        ReplayEvent e;
        const std::uint64_t stamp = r.Unsigned();
        if (stamp > 0xFFFFFFFFu) r.bad = true;
        e.stamp = static_cast<std::uint32_t>(stamp);
        e.event.id = r.Int();
        e.event.data = r.Int();
        e.event.x = r.Int();
        e.event.y = r.Int();
        if (!frame.events.empty() && e.stamp < frame.events.back().stamp) r.bad = true;
        frame.events.push_back(e);
        break;
      }
      case ReplayTag::kJoystick:
      case ReplayTag::kJoystickSame: {
        const int port = r.Byte();
        if (port >= kPorts) {
          r.bad = true;
          break;
        }
        const auto p = static_cast<std::size_t>(port);
        if (tag == ReplayTag::kJoystick) {
          last[p] = ReadSample(r);
          seen[p] = true;
        } else if (!seen[p]) {
          r.bad = true;
          break;
        }
        frame.joystick.push_back({port, last[p]});
        break;
      }
      case ReplayTag::kCheck:
        if (frame.check) r.bad = true;
        frame.check = r.Fixed(8);
        break;
      case ReplayTag::kEndFrame:
        if (parsed.frames.size() >= frame_count) {
          r.bad = true;
          break;
        }
        parsed.frames.push_back(std::move(frame));
        frame = ReplayFrame{};
        break;
      case ReplayTag::kEndTail:
        if (frame.check) r.bad = true;
        parsed.tail = std::move(frame);
        tail_done = true;
        break;
      default:
        r.bad = true;
        break;
    }
  }
  if (r.bad || !tail_done || !r.AtEnd() || parsed.frames.size() != frame_count) {
    return ReplayError::kDamaged;
  }
  journal = std::move(parsed);
  return ReplayError::kNone;
}

std::uint32_t ReplayChecksum(const std::uint8_t* data, std::size_t size) {
  return Crc32(data, size);
}

std::string ReplayErrorText(ReplayError error) {
  switch (error) {
    case ReplayError::kNone:
      return "a valid replay";
    case ReplayError::kCannotRead:
      return "the replay file cannot be read";
    case ReplayError::kNotAReplay:
      return "the file is not a Zumbrix replay";
    case ReplayError::kOtherVersion:
      return std::string("the replay was made by another version of Zumbrix (this is ") +
             kGameVersion + ")";
    case ReplayError::kDamaged:
      return "the replay file is damaged";
  }
  return "the replay file cannot be used";
}

ReplayError LoadReplay(const std::string& path, ReplayJournal& journal) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return ReplayError::kCannotRead;
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  if (in.bad()) return ReplayError::kCannotRead;
  return ParseReplay(bytes, journal);
}

bool SaveReplay(const std::string& path, const ReplayJournal& journal) {
  const std::vector<std::uint8_t> bytes = SerializeReplay(journal);
  const std::string fresh = path + ".new";
  bool written = false;
  if (std::FILE* f = std::fopen(fresh.c_str(), "wb")) {
    written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() &&
              std::fflush(f) == 0 && fsync(fileno(f)) == 0;
    written = std::fclose(f) == 0 && written;
  }
  if (written && std::rename(fresh.c_str(), path.c_str()) == 0) {
    const std::string folder = path.substr(0, path.find_last_of('/') + 1);
    int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
      fsync(dir);
      close(dir);
    }
    return true;
  }
  std::remove(fresh.c_str());
  std::fprintf(stderr, "Cannot save the replay to \"%s\"\n", path.c_str());
  return false;
}
