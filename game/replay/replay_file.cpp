// replay_file.cpp - writing, reading and parsing replay files.
#include "game/replay/replay_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "game/replay/replay_bytes.h"
#include "game/replay/replay_snapshot.h"
#include "game/replay/ship_track.h"

#include "game/config/version.h"

const char kGameVersion[] = "zumbrix-3d " ZX_VERSION_SHORT;

namespace {

constexpr char kMagic[8] = {'Z', 'X', 'R', 'E', 'P', 'L', 'A', 'Y'};
// 2: one run from the program's start, every joystick read. 3: games from their start. 4: each
// game's ship track beside it.
constexpr std::uint16_t kFormat = 4;
constexpr std::size_t kMaxVersionText = 256;
constexpr std::size_t kFixedHeader = sizeof kMagic + 2 + 2;  // magic, format, version's length
constexpr std::uint32_t kMaxFrames = 1u << 31;

enum class SectionTag : std::uint8_t {
  kGame = 1,       // frames, end, snapshot's length, snapshot, input
  kShipTrack = 2,  // the game's number (from 0), its track
  // The input choices of the game before it: each action's key code and pad button + 1 (0: none),
  // then whether losing the focus pauses.
  kChoices = 8,
};

void WriteChoices(ReplayBytesOut& w, const InputChoices& choices) {
  for (int key : choices.bindings.keys) w.Unsigned(static_cast<std::uint64_t>(key));
  for (int pad : choices.bindings.pads) w.Unsigned(static_cast<std::uint64_t>(pad + 1));
  w.Byte(choices.pause_on_focus_loss ? 1 : 0);
}

bool ReadChoices(ReplayBytesIn& in, InputChoices& choices) {
  for (int& key : choices.bindings.keys) {
    const std::uint64_t code = in.Unsigned();
    if (code > 255) return false;
    key = static_cast<int>(code);
  }
  for (int& pad : choices.bindings.pads) {
    const std::uint64_t button = in.Unsigned();
    if (button > 16) return false;
    pad = static_cast<int>(button) - 1;
  }
  const std::uint8_t pauses = in.Byte();
  choices.pause_on_focus_loss = pauses == 1;
  return !in.bad && pauses <= 1 && in.AtEnd();
}

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

// The verdict on the header's first bytes: the magic, then the format number. `size` bytes of it
// are there (fewer than kFixedHeader when the file is that short).
ReplayError CheckFixedHeader(const std::uint8_t* data, std::size_t size, std::size_t* version) {
  if (size < sizeof kMagic || std::memcmp(data, kMagic, sizeof kMagic) != 0) {
    return ReplayError::kNotAReplay;
  }
  if (size < kFixedHeader) return ReplayError::kDamaged;
  ReplayBytesIn in(data + sizeof kMagic, kFixedHeader - sizeof kMagic);
  const auto format = in.Fixed(2);
  *version = in.Fixed(2);
  if (format < kFormat) return ReplayError::kOlderVersion;
  if (format > kFormat || *version > kMaxVersionText) return ReplayError::kOtherVersion;
  return ReplayError::kNone;
}

ReplayError CheckVersion(const std::uint8_t* data, std::size_t size) {
  const std::string version(reinterpret_cast<const char*>(data), size);
  return version == kGameVersion ? ReplayError::kNone : ReplayError::kOtherVersion;
}

// A game section's payload, checked whole: the snapshot makes one, the input decodes to the
// frame count, and a game that went back to the title has no tail.
bool ParseGame(ReplayBytesIn& in, RecordedGame& game) {
  game.frames = static_cast<std::uint32_t>(in.Unsigned(kMaxFrames));
  const std::uint8_t end = in.Byte();
  if (end > 1) return false;
  game.end = static_cast<GameEnd>(end);
  game.snapshot = in.Take(in.Unsigned(in.Left()));
  if (in.bad || !CheckGameSnapshot(game.snapshot)) return false;
  game.input = in.Take(in.Left());
  ReplayInputReader reader(game.input.data(), game.input.size());
  ReplayFrame frame;
  for (std::uint32_t f = 0;; ++f) {
    switch (reader.Next(frame)) {
      case ReplayInputReader::Item::kFrame:
        if (f >= game.frames) return false;
        break;
      case ReplayInputReader::Item::kTail:
        if (f != game.frames) return false;
        return game.end == GameEnd::kProgramEnd || (frame.events.empty() && frame.joystick.empty());
      case ReplayInputReader::Item::kBad:
        return false;
    }
  }
}

// Reads up to `size` bytes, fewer only at the end of the file; -1 on an error.
long ReadUpTo(int fd, std::uint8_t* data, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = read(fd, data + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return static_cast<long>(got);
}

ReplayError ReadReplayFile(int fd, std::vector<std::uint8_t>& bytes) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return ReplayError::kCannotRead;
  if (S_ISDIR(info.st_mode)) return ReplayError::kNotAFile;
  // Opened without waiting for a writer (a FIFO); read like any file from now on.
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);

  bytes.resize(kFixedHeader);
  long got = ReadUpTo(fd, bytes.data(), kFixedHeader);
  if (got < 0) return ReplayError::kCannotRead;
  std::size_t version = 0;
  ReplayError error = CheckFixedHeader(bytes.data(), static_cast<std::size_t>(got), &version);
  if (error != ReplayError::kNone) return error;
  bytes.resize(kFixedHeader + version);
  got = ReadUpTo(fd, bytes.data() + kFixedHeader, version);
  if (got < 0) return ReplayError::kCannotRead;
  if (static_cast<std::size_t>(got) < version) return ReplayError::kDamaged;
  error = CheckVersion(bytes.data() + kFixedHeader, version);
  if (error != ReplayError::kNone) return error;

  // The rest, never more than the limit: a regular file says its size, a stream is read to one
  // byte past the limit at most.
  if (S_ISREG(info.st_mode)) {
    if (static_cast<std::uint64_t>(info.st_size) > kMaxReplayBytes) return ReplayError::kTooLarge;
  }
  constexpr std::size_t kChunk = 1 << 16;
  // Room for the whole file and the read that finds its end, so that it is never moved.
  if (S_ISREG(info.st_mode)) bytes.reserve(static_cast<std::size_t>(info.st_size) + kChunk);
  for (;;) {
    const std::size_t at = bytes.size();
    if (at > kMaxReplayBytes) return ReplayError::kTooLarge;
    bytes.resize(at + kChunk);
    got = ReadUpTo(fd, bytes.data() + at, kChunk);
    if (got < 0) return ReplayError::kCannotRead;
    bytes.resize(at + static_cast<std::size_t>(got));
    if (static_cast<std::size_t>(got) < kChunk) break;
  }
  if (bytes.size() > kMaxReplayBytes) return ReplayError::kTooLarge;
  return ReplayError::kNone;
}

}  // namespace

std::vector<std::uint8_t> SerializeReplay(const ReplayJournal& journal) {
  ReplayBytesOut w;
  w.out.assign(std::begin(kMagic), std::end(kMagic));
  w.Fixed(kFormat, 2);
  const std::string version = journal.version.substr(0, kMaxVersionText);
  w.Fixed(version.size(), 2);
  w.out.insert(w.out.end(), version.begin(), version.end());
  for (const RecordedGame& game : journal.games) {
    ReplayBytesOut section;
    section.Unsigned(game.frames);
    section.Byte(static_cast<std::uint8_t>(game.end));
    section.Unsigned(game.snapshot.size());
    section.Bytes(game.snapshot);
    section.Bytes(game.input);
    w.Byte(static_cast<std::uint8_t>(SectionTag::kGame));
    w.Fixed(section.out.size(), 4);
    w.Bytes(section.out);
    if (game.choices != InputChoices{}) {
      const std::vector<std::uint8_t> choices = EncodeInputChoices(game.choices);
      w.Byte(static_cast<std::uint8_t>(SectionTag::kChoices));
      w.Fixed(choices.size(), 4);
      w.Bytes(choices);
    }
    if (!game.track.empty()) {
      ReplayBytesOut track;
      track.Unsigned(static_cast<std::uint64_t>(&game - journal.games.data()));
      track.Bytes(game.track);
      w.Byte(static_cast<std::uint8_t>(SectionTag::kShipTrack));
      w.Fixed(track.out.size(), 4);
      w.Bytes(track.out);
    }
  }
  w.Fixed(Crc32(w.out.data(), w.out.size()), 4);
  return w.out;
}

ReplayError ParseReplay(const std::vector<std::uint8_t>& bytes, ReplayJournal& journal) {
  std::size_t version_size = 0;
  ReplayError error = CheckFixedHeader(bytes.data(), bytes.size(), &version_size);
  if (error != ReplayError::kNone) return error;
  if (bytes.size() < kFixedHeader + version_size) return ReplayError::kDamaged;
  // The version is read before the CRC is checked: a file of another version may differ in
  // everything after it, and "another version" is the more useful thing to say.
  error = CheckVersion(bytes.data() + kFixedHeader, version_size);
  if (error != ReplayError::kNone) return error;
  if (bytes.size() > kMaxReplayBytes) return ReplayError::kTooLarge;
  const std::size_t header = kFixedHeader + version_size;
  if (bytes.size() < header + 4) return ReplayError::kDamaged;
  const std::size_t crc_at = bytes.size() - 4;
  ReplayBytesIn crc(bytes.data() + crc_at, 4);
  if (Crc32(bytes.data(), crc_at) != crc.Fixed(4)) return ReplayError::kDamaged;

  ReplayJournal parsed;
  parsed.version = kGameVersion;
  ReplayBytesIn in(bytes.data() + header, crc_at - header);
  while (!in.AtEnd()) {
    const std::uint8_t tag = in.Byte();
    const std::uint64_t size = in.Fixed(4);
    if (in.bad || size > in.Left()) return ReplayError::kDamaged;
    ReplayBytesIn payload(in.Here(), static_cast<std::size_t>(size));
    in.Skip(static_cast<std::size_t>(size));
    if (tag == static_cast<std::uint8_t>(SectionTag::kChoices)) {
      if (parsed.games.empty() || !ReadChoices(payload, parsed.games.back().choices)) {
        return ReplayError::kDamaged;
      }
      continue;
    }
    if (tag == static_cast<std::uint8_t>(SectionTag::kShipTrack)) {
      // The track of the game just read, once; never more points than the game has flips.
      const std::uint64_t number = payload.Unsigned();
      if (payload.bad || parsed.games.empty() || number != parsed.games.size() - 1) {
        return ReplayError::kDamaged;
      }
      RecordedGame& game = parsed.games.back();
      std::vector<ShipPoint> points;
      if (!game.track.empty() || payload.AtEnd()) return ReplayError::kDamaged;
      game.track = payload.Take(payload.Left());
      if (!DecodeShipTrack(game.track, points) || points.size() > game.frames + 1u) {
        return ReplayError::kDamaged;
      }
      continue;
    }
    if (tag != static_cast<std::uint8_t>(SectionTag::kGame)) continue;  // a later version's track
    // Only the last game can have been ended by the program's end.
    if (!parsed.games.empty() && parsed.games.back().end == GameEnd::kProgramEnd) {
      return ReplayError::kDamaged;
    }
    RecordedGame game;
    if (!ParseGame(payload, game)) return ReplayError::kDamaged;
    parsed.games.push_back(std::move(game));
  }
  journal = std::move(parsed);
  return ReplayError::kNone;
}

std::uint32_t ReplayChecksum(const std::uint8_t* data, std::size_t size) {
  return Crc32(data, size);
}

std::vector<std::uint8_t> EncodeInputChoices(const InputChoices& choices) {
  ReplayBytesOut w;
  WriteChoices(w, choices);
  return w.out;
}

bool DecodeInputChoices(const std::vector<std::uint8_t>& bytes, InputChoices& choices) {
  ReplayBytesIn in(bytes.data(), bytes.size());
  return ReadChoices(in, choices);
}

std::string ReplayErrorText(ReplayError error) {
  switch (error) {
    case ReplayError::kNone:
      return "a valid replay";
    case ReplayError::kCannotRead:
      return "the replay file cannot be read";
    case ReplayError::kNotAFile:
      return "that is a folder, not a replay file";
    case ReplayError::kNotAReplay:
      return "the file is not a Zumbrix replay";
    case ReplayError::kOlderVersion:
      return std::string("the replay was made by an older version of Zumbrix, which this one (") +
             kGameVersion + ") cannot play";
    case ReplayError::kOtherVersion:
      return std::string("the replay was made by another version of Zumbrix (this is ") +
             kGameVersion + ")";
    case ReplayError::kTooLarge:
      return "the replay file is larger than " + std::to_string(kMaxReplayBytes >> 20) +
             " MB, far more than any game records";
    case ReplayError::kDamaged:
      return "the replay file is damaged";
  }
  return "the replay file cannot be used";
}

ReplayError LoadReplay(const std::string& path, ReplayJournal& journal) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return ReplayError::kCannotRead;
  std::vector<std::uint8_t> bytes;
  ReplayError error = ReadReplayFile(fd, bytes);
  close(fd);
  if (error != ReplayError::kNone) return error;
  return ParseReplay(bytes, journal);
}

bool CanSaveReplay(const std::string& path, std::string* problem) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    *problem = "cannot record to " + path + ": it is a folder";
    return false;
  }
  // The replay is written beside its target and renamed over it: that is what must be possible.
  const std::string fresh = path + ".new";
  int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  const bool made = fd >= 0;
  // One left by an earlier run that could not finish is written over in the same way.
  if (!made && errno == EEXIST) fd = open(fresh.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) {
    *problem = "cannot record to " + path + ": " + std::strerror(errno);
    return false;
  }
  close(fd);
  if (made) unlink(fresh.c_str());
  return true;
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
