// replay_file.h - the replay file: a game's seed, version and input, frame by frame, with checks.
//
// A replay holds what the game read of its input (system/input_seam.h): for every frame (one
// flip of the screen) the events the polled-input tables took, each stamped with the pump point
// it reached them at, and every read of the joystick, in order; every 60th frame also carries a
// check, the game's state hash at that flip. The input after the last flip (the keys that ended
// the game) comes as a tail.
//
// On disk, all little-endian: the magic "ZXREPLAY", the format number, the game's version text,
// the seed, the best score at the start, the frame count, the body's length, the body, and a CRC-32
// of everything before it. The body is a stream of tagged items (ReplayTag). A file from another
// format or game version, or one whose length, CRC or items do not add up, is refused with a
// ReplayError, never played.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "system/input_seam.h"

// The game version replays are made with; another version's replay is refused.
extern const char kGameVersion[];
inline constexpr int kReplayCheckEvery = 60;  // frames between state checks

enum class ReplayError {
  kNone,
  kCannotRead,    // missing, unreadable or not a file
  kNotAReplay,    // no magic
  kOtherVersion,  // another format number or game version
  kDamaged,       // cut short, altered (CRC), or items that make no sense
};

struct ReplayEvent {
  std::uint32_t stamp = 0;  // pump points since the frame began when the tables took it
  InputEventRecord event;
  bool operator==(const ReplayEvent&) const = default;
};

struct ReplayJoystickRead {
  int port = 0;
  JoystickSample sample;
  bool operator==(const ReplayJoystickRead&) const = default;
};

struct ReplayFrame {
  std::vector<ReplayEvent> events;
  std::vector<ReplayJoystickRead> joystick;
  std::optional<std::uint64_t> check;  // the state hash at this frame's flip
  bool operator==(const ReplayFrame&) const = default;
};

struct ReplayJournal {
  std::string version = kGameVersion;
  std::int32_t seed = 0;
  std::int32_t best = 0;            // the best score as the game started: the HUD shows it
  std::vector<ReplayFrame> frames;  // frame i ended with flip i + 1
  ReplayFrame tail;                 // after the last flip; never has a check
  bool operator==(const ReplayJournal&) const = default;
};

// The file's bytes for a journal.
std::vector<std::uint8_t> SerializeReplay(const ReplayJournal& journal);
// The journal in `bytes`, or the reason it is refused (with `journal` left as it was).
ReplayError ParseReplay(const std::vector<std::uint8_t>& bytes, ReplayJournal& journal);
// The CRC-32 (as zlib computes it) the file ends with, over the bytes before it.
std::uint32_t ReplayChecksum(const std::uint8_t* data, std::size_t size);
// What a refusal means, for the player.
std::string ReplayErrorText(ReplayError error);

// Reads and parses the file at `path`.
ReplayError LoadReplay(const std::string& path, ReplayJournal& journal);
// Writes beside the target and renames over it, so a crash leaves the old file or the new one.
// False (the old file kept) when the folder cannot be written.
bool SaveReplay(const std::string& path, const ReplayJournal& journal);
