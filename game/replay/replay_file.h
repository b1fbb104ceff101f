// replay_file.h - the replay file: the games of one run, each from its start, with checks.
//
// A replay holds games, not a run: each game from the flip at which it started, with the state
// it started from (replay_snapshot.h) and what it read of its input frame by frame
// (replay_input.h). The title and the attract play between games are not kept; a replay plays
// the games one after another.
//
// On disk, all little-endian: the magic "ZXREPLAY", the format number, the game's version text,
// the player's name (a length byte and the text; format 5 on, format 4 files have none and still
// play), then tagged sections (a tag byte, a four-byte length, the payload), then a CRC-32 of
// everything before it. A game section holds its frame count, how it ended, its snapshot and its
// input; a choices section after it holds the game's key bindings (absent: the defaults), and the
// ship's track of a game (ship_track.h) follows its game in a section of its own, naming the game
// by its number, and a game's facts (when it was played, its final score and wave) follow it in
// another; a practice game (play/practice_game.h) is marked by one more naming it (older files
// have none and read as the player's own games). Sections of tags this version does not know are
// skipped, so later versions can add tracks of their own beside the games. Reading checks the magic
// and the version from the file's first bytes before it reads on, reads at most kMaxReplayBytes,
// and refuses a file whose length, CRC, snapshot or input items do not add up; a refused file is
// never played.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "game/config/key_bindings.h"
#include "game/replay/replay_input.h"

// The game version replays are made with; another version's replay is refused.
extern const char kGameVersion[];
// The largest replay read: an hour of play records about a megabyte.
inline constexpr std::size_t kMaxReplayBytes = 64u << 20;

enum class ReplayError {
  kNone,
  kCannotRead,    // missing or unreadable
  kNotAFile,      // a folder
  kNotAReplay,    // no magic
  kOlderVersion,  // an older format (from before games kept their ship's track)
  kOtherVersion,  // a newer format number, or another game version
  kTooLarge,      // longer than kMaxReplayBytes
  kDamaged,       // cut short, altered (CRC), or sections and items that make no sense
};

enum class GameEnd : std::uint8_t {
  kTitle = 0,       // the game went back to the title (game over, or abandoned with F1)
  kProgramEnd = 1,  // the program ended during the game; only a replay's last game ends so
};

struct RecordedGame {
  std::vector<std::uint8_t> snapshot;  // the state at the flip it started with
  std::uint32_t frames = 0;            // flips recorded after that one
  GameEnd end = GameEnd::kTitle;
  std::vector<std::uint8_t> input;  // the frames and the tail, as replay_input.h writes them
  InputChoices choices;             // the keys and buttons in force at its start
  std::vector<std::uint8_t> track;  // the ship's points, as ship_track.h writes them (may be empty)
  std::int64_t played = 0;          // when it started, in seconds since 1970 (UTC); 0: unknown
  int score = 0;                    // its final score
  int wave = 0;                     // the wave it reached (0: unknown)
  bool practice = false;            // taken over from a recorded game: a practice game
  bool operator==(const RecordedGame&) const = default;
};

struct ReplayJournal {
  std::string version = kGameVersion;
  std::string player;  // who played it (empty in files from before names were kept)
  std::vector<RecordedGame> games;
  bool operator==(const ReplayJournal&) const = default;
};

// The file's bytes for a journal.
std::vector<std::uint8_t> SerializeReplay(const ReplayJournal& journal);
// The journal in `bytes`, or the reason it is refused (with `journal` left as it was). Every
// game's snapshot and input are checked whole.
ReplayError ParseReplay(const std::vector<std::uint8_t>& bytes, ReplayJournal& journal);
// The CRC-32 (as zlib computes it) the file ends with, over the bytes before it.
std::uint32_t ReplayChecksum(const std::uint8_t* data, std::size_t size);
// A choices section's payload for `choices`. Any thread.
std::vector<std::uint8_t> EncodeInputChoices(const InputChoices& choices);
// The choices of a choices section's payload; false (`choices` unspecified) when the bytes make
// none. Any thread.
bool DecodeInputChoices(const std::vector<std::uint8_t>& bytes, InputChoices& choices);
// What a refusal means, for the player.
std::string ReplayErrorText(ReplayError error);

// "2026-12-09 21:45", the local date and time of `played` (seconds since 1970); "unknown" for 0.
std::string PlayedText(std::int64_t played);
// The `key: value` lines --replay-info prints: name, date, version, score, frames, games (the
// date of the first game, the score of the last).
std::string ReplayInfoText(const ReplayJournal& journal);

// Reads and parses the file (or stream) at `path`: the header first, refused at once when it is
// not this version's, then at most kMaxReplayBytes.
ReplayError LoadReplay(const std::string& path, ReplayJournal& journal);
// Whether a replay can be saved at `path` (its folder takes a new file and it is no folder);
// else false, with why in `problem`. Leaves nothing behind.
bool CanSaveReplay(const std::string& path, std::string* problem);
// Writes beside the target and renames over it, so a crash leaves the old file or the new one.
// False (the old file kept) when the folder cannot be written.
bool SaveReplay(const std::string& path, const ReplayJournal& journal);
