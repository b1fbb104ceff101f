// replay_file.cpp - writing, reading and parsing replay files.
#include "game/replay/replay_file.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "core/atomic_file.h"
#include "core/input_file.h"
#include "game/config/settings.h"
#include "game/replay/replay_bytes.h"
#include "game/replay/replay_snapshot.h"
#include "game/replay/ship_track.h"

#include "game/config/version.h"

const char kGameVersion[] = "zumbrix-3d " ZX_VERSION_SHORT;

namespace {

constexpr char kMagic[8] = {'Z', 'X', 'R', 'E', 'P', 'L', 'A', 'Y'};
// 2: one run from the program's start, every joystick read. 3: games from their start. 4: each
// game's ship track beside it. 5: the player's name in the header, each game's facts.
constexpr std::uint16_t kFormat = 5;
constexpr std::uint16_t kOldestFormat = 4;  // still read: it differs only by what 5 added
constexpr std::size_t kMaxVersionText = 256;
constexpr std::size_t kFixedHeader = sizeof kMagic + 2 + 2;  // magic, format, version's length
constexpr std::uint32_t kMaxFrames = 1u << 31;

enum class SectionTag : std::uint8_t {
  kGame = 1,       // frames, end, snapshot's length, snapshot, input
  kShipTrack = 2,  // the game's number (from 0), its track
  kFacts = 3,      // the game's number, when it was played, its final score and wave
  kPractice = 4,   // the game's number: a practice game (absent: a game of the player's own)
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
ReplayError CheckFixedHeader(const std::uint8_t* data, std::size_t size, std::size_t* version,
                             std::uint16_t* format_out = nullptr) {
  if (size < sizeof kMagic || std::memcmp(data, kMagic, sizeof kMagic) != 0) {
    return ReplayError::kNotAReplay;
  }
  if (size < kFixedHeader) return ReplayError::kDamaged;
  ReplayBytesIn in(data + sizeof kMagic, kFixedHeader - sizeof kMagic);
  const auto format = in.Fixed(2);
  *version = in.Fixed(2);
  if (format < kOldestFormat) return ReplayError::kOlderVersion;
  if (format > kFormat || *version > kMaxVersionText) return ReplayError::kOtherVersion;
  if (format_out) *format_out = static_cast<std::uint16_t>(format);
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

ReplayError ReadReplayFile(InputFile& file, std::vector<std::uint8_t>& bytes) {
  if (!file.IsOpen()) return ReplayError::kCannotRead;
  if (file.Kind() == PathKind::kFolder) return ReplayError::kNotAFile;
  const bool regular = file.Kind() == PathKind::kFile;

  bytes.resize(kFixedHeader);
  long got = file.Read(bytes.data(), kFixedHeader);
  if (got < 0) return ReplayError::kCannotRead;
  std::size_t version = 0;
  ReplayError error = CheckFixedHeader(bytes.data(), static_cast<std::size_t>(got), &version);
  if (error != ReplayError::kNone) return error;
  bytes.resize(kFixedHeader + version);
  got = file.Read(bytes.data() + kFixedHeader, version);
  if (got < 0) return ReplayError::kCannotRead;
  if (static_cast<std::size_t>(got) < version) return ReplayError::kDamaged;
  error = CheckVersion(bytes.data() + kFixedHeader, version);
  if (error != ReplayError::kNone) return error;

  // The rest, never more than the limit: a regular file says its size, a stream is read to one
  // byte past the limit at most.
  if (regular && file.Size() > kMaxReplayBytes) return ReplayError::kTooLarge;
  constexpr std::size_t kChunk = 1 << 16;
  // Room for the whole file and the read that finds its end, so that it is never moved.
  if (regular) bytes.reserve(static_cast<std::size_t>(file.Size()) + kChunk);
  for (;;) {
    const std::size_t at = bytes.size();
    if (at > kMaxReplayBytes) return ReplayError::kTooLarge;
    bytes.resize(at + kChunk);
    got = file.Read(bytes.data() + at, kChunk);
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
  const std::string player = PlayerNameText(journal.player);
  w.Byte(static_cast<std::uint8_t>(player.size()));
  w.out.insert(w.out.end(), player.begin(), player.end());
  for (const RecordedGame& game : journal.games) {
    const auto number = static_cast<std::uint64_t>(&game - journal.games.data());
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
    ReplayBytesOut facts;
    facts.Unsigned(number);
    facts.Unsigned(static_cast<std::uint64_t>(game.played < 0 ? 0 : game.played));
    facts.Unsigned(static_cast<std::uint64_t>(game.score < 0 ? 0 : game.score));
    facts.Unsigned(static_cast<std::uint64_t>(game.wave < 0 ? 0 : game.wave));
    w.Byte(static_cast<std::uint8_t>(SectionTag::kFacts));
    w.Fixed(facts.out.size(), 4);
    w.Bytes(facts.out);
    if (game.practice) {
      ReplayBytesOut practice;
      practice.Unsigned(number);
      w.Byte(static_cast<std::uint8_t>(SectionTag::kPractice));
      w.Fixed(practice.out.size(), 4);
      w.Bytes(practice.out);
    }
    if (!game.track.empty()) {
      ReplayBytesOut track;
      track.Unsigned(number);
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
  std::uint16_t format = kFormat;
  ReplayError error = CheckFixedHeader(bytes.data(), bytes.size(), &version_size, &format);
  if (error != ReplayError::kNone) return error;
  if (bytes.size() < kFixedHeader + version_size) return ReplayError::kDamaged;
  // The version is read before the CRC is checked: a file of another version may differ in
  // everything after it, and "another version" is the more useful thing to say.
  error = CheckVersion(bytes.data() + kFixedHeader, version_size);
  if (error != ReplayError::kNone) return error;
  if (bytes.size() > kMaxReplayBytes) return ReplayError::kTooLarge;
  std::size_t header = kFixedHeader + version_size;
  if (bytes.size() < header + 4) return ReplayError::kDamaged;
  const std::size_t crc_at = bytes.size() - 4;
  ReplayBytesIn crc(bytes.data() + crc_at, 4);
  if (Crc32(bytes.data(), crc_at) != crc.Fixed(4)) return ReplayError::kDamaged;

  ReplayJournal parsed;
  parsed.version = kGameVersion;
  if (format >= 5) {
    const std::size_t name_size = bytes[header];
    if (header + 1 + name_size > crc_at) return ReplayError::kDamaged;
    parsed.player.assign(reinterpret_cast<const char*>(bytes.data() + header + 1), name_size);
    if (PlayerNameText(parsed.player) != parsed.player) return ReplayError::kDamaged;
    header += 1 + name_size;
  }
  ReplayBytesIn in(bytes.data() + header, crc_at - header);
  std::size_t choices_read = 0;  // the count of games when a choices section was last read
  while (!in.AtEnd()) {
    const std::uint8_t tag = in.Byte();
    const std::uint64_t size = in.Fixed(4);
    if (in.bad || size > in.Left()) return ReplayError::kDamaged;
    ReplayBytesIn payload(in.Here(), static_cast<std::size_t>(size));
    in.Skip(static_cast<std::size_t>(size));
    if (tag == static_cast<std::uint8_t>(SectionTag::kChoices)) {
      // The choices of the game just read, once: a second section would overrule the first.
      if (parsed.games.empty() || choices_read == parsed.games.size() ||
          !ReadChoices(payload, parsed.games.back().choices)) {
        return ReplayError::kDamaged;
      }
      choices_read = parsed.games.size();
      continue;
    }
    if (tag == static_cast<std::uint8_t>(SectionTag::kFacts)) {
      // The facts of the game just read, once.
      const std::uint64_t number = payload.Unsigned();
      if (payload.bad || parsed.games.empty() || number != parsed.games.size() - 1) {
        return ReplayError::kDamaged;
      }
      RecordedGame& game = parsed.games.back();
      game.played = static_cast<std::int64_t>(payload.Unsigned(std::uint64_t{1} << 40));
      game.score = static_cast<int>(payload.Unsigned(0x7FFFFFFF));
      game.wave = static_cast<int>(payload.Unsigned(0x7FFFFFFF));
      if (payload.bad || !payload.AtEnd()) return ReplayError::kDamaged;
      continue;
    }
    if (tag == static_cast<std::uint8_t>(SectionTag::kPractice)) {
      // The mark of the game just read, once.
      const std::uint64_t number = payload.Unsigned();
      if (payload.bad || !payload.AtEnd() || parsed.games.empty() ||
          number != parsed.games.size() - 1 || parsed.games.back().practice) {
        return ReplayError::kDamaged;
      }
      parsed.games.back().practice = true;
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
  // A file from before the facts were kept says its final scores through its tracks.
  for (RecordedGame& game : parsed.games) {
    std::vector<ShipPoint> points;
    if (format < 5 && DecodeShipTrack(game.track, points) && !points.empty()) {
      game.score = points.back().score;
    }
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

std::string PlayedText(std::int64_t played) {
  if (played <= 0) return "unknown";
  const std::time_t when = static_cast<std::time_t>(played);
  std::tm local{};
  localtime_r(&when, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

std::string ReplayInfoText(const ReplayJournal& journal) {
  std::uint64_t frames = 0;
  for (const RecordedGame& game : journal.games) frames += game.frames;
  const bool any = !journal.games.empty();
  std::string text;
  text += "name: " + (journal.player.empty() ? std::string("unknown") : journal.player) + "\n";
  text += "date: " + PlayedText(any ? journal.games.front().played : 0) + "\n";
  text += "version: " + journal.version + "\n";
  text += "score: " + std::to_string(any ? journal.games.back().score : 0) + "\n";
  text += "frames: " + std::to_string(frames) + "\n";
  text += "games: " + std::to_string(journal.games.size()) + "\n";
  return text;
}

ReplayError LoadReplay(const std::string& path, ReplayJournal& journal) {
  InputFile file(path);
  std::vector<std::uint8_t> bytes;
  const ReplayError error = ReadReplayFile(file, bytes);
  if (error != ReplayError::kNone) return error;
  return ParseReplay(bytes, journal);
}

bool CanSaveReplay(const std::string& path, std::string* problem) {
  const std::string why = AtomicWriteProblem(path);
  if (why.empty()) return true;
  *problem = "cannot record to " + path + ": " + why;
  return false;
}

bool SaveReplay(const std::string& path, const ReplayJournal& journal) {
  const std::vector<std::uint8_t> bytes = SerializeReplay(journal);
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (WriteFileAtomically(path, text)) return true;
  std::fprintf(stderr, "Cannot save the replay to \"%s\"\n", path.c_str());
  return false;
}
