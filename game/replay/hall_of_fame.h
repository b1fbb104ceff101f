// hall_of_fame.h - the player's ten best games: a small table file and one replay per entry, in
// the folder "halloffame" beside the best score (the player's data folder when installed).
//
// The table ("table", text) has one line per game, best first: score, wave reached, when it was
// played (seconds since 1970), its length in frames, its replay's file name and the player's
// name. Each game's replay is named by when it was played and a checksum of its bytes, so two
// copies of the game never write the same name for different games, and is at most
// kMaxHallReplayBytes long. Every change reads the table as it is at that moment, merges into
// it and writes it through the atomic writer (core/atomic_file.h), so two copies of the game
// played at once keep each other's games. A table line that makes no sense, or whose replay is
// missing or refused, is named on stderr and skipped (and left out of the next table written).
// Any thread with its own folder (UseHallOfFame: main thread).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "game/replay/replay_file.h"

inline constexpr std::size_t kHallOfFameSize = 10;
// A game longer than about an hour is not kept: its replay would pass this.
inline constexpr std::size_t kMaxHallReplayBytes = 4u << 20;

struct HallEntry {
  int score = 0;
  int wave = 0;
  std::int64_t played = 0;
  std::uint32_t frames = 0;
  std::string file;  // the replay's name inside the folder
  std::string player;
  bool operator==(const HallEntry&) const = default;
};

// The title's line for the hall of fame's screen.
extern const char kHallOfFameLine[];
// The hall of fame of this run (empty: none, and the title offers none). Main thread.
void UseHallOfFame(const std::string& folder);
const std::string& CurrentHallOfFame();

// The folder beside the best-score file `scorefile` (empty: none).
std::string HallOfFameFolder(const std::string& scorefile);
// The table as it is now, best first; each damaged line, and each entry whose replay is missing
// (when `check_replays`, also one refused), named on stderr and skipped.
std::vector<HallEntry> ReadHallOfFame(const std::string& folder, bool check_replays = false);
// Offers a finished game of `player`: it enters when it has a score and beats the table's tenth.
// Its replay is written first, then the merged table; the replays of games that fell out are
// removed. False when it did not enter or could not be saved (said on stderr).
bool OfferToHallOfFame(const std::string& folder, const std::string& player,
                       const RecordedGame& game);
// Takes the entry whose replay is `file` out of the table and removes its replay.
bool RemoveFromHallOfFame(const std::string& folder, const std::string& file);
// The first start with a hall of fame: the best game kept in `best_replay` enters the table, as
// `player`'s when the file does not say (nothing when the table exists or the file holds no game).
void ImportBestGame(const std::string& folder, const std::string& best_replay,
                    const std::string& player);
// Reads an entry's replay.
ReplayError LoadHallReplay(const std::string& folder, const HallEntry& entry,
                           ReplayJournal& journal);
// "M:SS", a game's length.
std::string GameLengthText(std::uint32_t frames);
