// hall_of_fame.cpp - the table file, its merge, and the entries' replays.
#include "game/replay/hall_of_fame.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/atomic_file.h"
#include "core/file_lock.h"
#include "game/config/settings.h"

namespace {

constexpr char kTableName[] = "table";
constexpr char kTableHeader[] =
    "# Zumbrix hall of fame, best first: score wave played frames replay name\n";

std::string TablePath(const std::string& folder) { return folder + "/" + kTableName; }

bool SafeFileName(const std::string& name) {
  return !name.empty() && name.size() < 64 && name.find('/') == std::string::npos &&
         name[0] != '.' && name.ends_with(".zxreplay");
}

// One table line; false for one that makes no sense.
bool ParseLine(const std::string& line, HallEntry& entry) {
  std::istringstream in(line);
  long long score = -1, wave = -1, played = -1, frames = -1;
  if (!(in >> score >> wave >> played >> frames >> entry.file)) return false;
  std::getline(in, entry.player);
  entry.player = entry.player.empty() ? "" : entry.player.substr(1);
  if (score < 0 || score > 0x7FFFFFFF || wave < 0 || wave > 0xFFFF || played < 0 || frames < 0 ||
      frames > 0xFFFFFFFFll || !SafeFileName(entry.file) ||
      PlayerNameText(entry.player) != entry.player) {
    return false;
  }
  entry.score = static_cast<int>(score);
  entry.wave = static_cast<int>(wave);
  entry.played = played;
  entry.frames = static_cast<std::uint32_t>(frames);
  return true;
}

// Best first; of equal scores the earlier game.
void Order(std::vector<HallEntry>& entries) {
  std::stable_sort(entries.begin(), entries.end(), [](const HallEntry& a, const HallEntry& b) {
    return a.score != b.score ? a.score > b.score : a.played < b.played;
  });
}

bool WriteTable(const std::string& folder, const std::vector<HallEntry>& entries) {
  std::string text = kTableHeader;
  for (const HallEntry& e : entries) {
    text += std::to_string(e.score) + " " + std::to_string(e.wave) + " " +
            std::to_string(e.played) + " " + std::to_string(e.frames) + " " + e.file + " " +
            e.player + "\n";
  }
  if (WriteFileAtomically(TablePath(folder), text)) return true;
  std::fprintf(stderr, "zumbrix: cannot save the hall of fame to %s\n", TablePath(folder).c_str());
  return false;
}

// The replays in the folder that no entry names any more.
void RemoveDropped(const std::string& folder, const std::vector<HallEntry>& before,
                   const std::vector<HallEntry>& after) {
  for (const HallEntry& gone : before) {
    const bool kept = std::any_of(after.begin(), after.end(),
                                  [&](const HallEntry& e) { return e.file == gone.file; });
    if (!kept) std::remove((folder + "/" + gone.file).c_str());
  }
}

// Apart from the game's state: where this run's hall of fame is, set once by the run.
std::string hall_folder;

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

}  // namespace

const char kHallOfFameLine[] = "H or LB = Hall of Fame";

void UseHallOfFame(const std::string& folder) { hall_folder = folder; }
const std::string& CurrentHallOfFame() { return hall_folder; }

std::string HallOfFameFolder(const std::string& scorefile) {
  if (scorefile.empty()) return {};
  return scorefile.substr(0, scorefile.find_last_of('/') + 1) + "halloffame";
}

std::vector<HallEntry> ReadHallOfFame(const std::string& folder, bool check_replays) {
  std::vector<HallEntry> entries;
  std::ifstream in(TablePath(folder));
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    HallEntry entry;
    const char* problem = nullptr;
    if (!ParseLine(line, entry)) {
      problem = "the entry makes no sense";
    } else if (!Exists(folder + "/" + entry.file)) {
      problem = "its replay is missing";
    } else if (check_replays) {
      ReplayJournal journal;
      if (LoadHallReplay(folder, entry, journal) != ReplayError::kNone) {
        problem = "its replay is damaged";
      }
    }
    if (problem) {
      std::fprintf(stderr, "zumbrix: %s:%d: %s; skipped\n", TablePath(folder).c_str(), number,
                   problem);
      continue;
    }
    if (entries.size() < kHallOfFameSize) entries.push_back(std::move(entry));
  }
  Order(entries);
  return entries;
}

bool OfferToHallOfFame(const std::string& folder, const std::string& player,
                       const RecordedGame& game) {
  if (folder.empty() || game.score <= 0) return false;
  std::vector<HallEntry> entries = ReadHallOfFame(folder);
  if (entries.size() >= kHallOfFameSize && game.score <= entries.back().score) return false;
  ReplayJournal journal;
  journal.player = player;
  journal.games.push_back(game);
  const std::vector<std::uint8_t> bytes = SerializeReplay(journal);
  if (bytes.size() > kMaxHallReplayBytes) {
    std::fprintf(stderr, "zumbrix: a game of %s is too long for the hall of fame\n",
                 GameLengthText(game.frames).c_str());
    return false;
  }
  // The file's own CRC: one over the whole file, that CRC included, is the same for every file.
  char name[64];
  std::snprintf(name, sizeof name, "%lld-%08x.zxreplay", static_cast<long long>(game.played),
                ReplayChecksum(bytes.data(), bytes.size() - 4));
  const HallEntry entry{game.score,  game.wave, game.played,
                        game.frames, name,      PlayerNameText(player)};
  if (std::any_of(entries.begin(), entries.end(),
                  [&](const HallEntry& e) { return e.file == entry.file; })) {
    return false;  // this very game is in already
  }
  CreateFolders(folder, 0700);
  const std::string path = folder + "/" + entry.file;
  if (!WriteFileAtomically(
          path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
    std::fprintf(stderr, "zumbrix: cannot save a game to the hall of fame in %s\n", folder.c_str());
    return false;
  }
  // Merged with the table as it is now: another copy may have added games meanwhile.
  // Two copies of the game change the table one after the other, each merging into the other's.
  const FileLock lock(folder + "/table.lock");
  std::vector<HallEntry> merged = ReadHallOfFame(folder);
  const std::vector<HallEntry> before = merged;
  merged.push_back(entry);
  Order(merged);
  if (merged.size() > kHallOfFameSize) merged.resize(kHallOfFameSize);
  const bool entered = std::any_of(merged.begin(), merged.end(),
                                   [&](const HallEntry& e) { return e.file == entry.file; });
  if (!entered || !WriteTable(folder, merged)) {
    std::remove(path.c_str());
    return false;
  }
  RemoveDropped(folder, before, merged);
  return true;
}

bool RemoveFromHallOfFame(const std::string& folder, const std::string& file) {
  // Two copies of the game change the table one after the other, each merging into the other's.
  const FileLock lock(folder + "/table.lock");
  std::vector<HallEntry> entries = ReadHallOfFame(folder);
  const std::vector<HallEntry> before = entries;
  std::erase_if(entries, [&](const HallEntry& e) { return e.file == file; });
  if (entries.size() == before.size() || !WriteTable(folder, entries)) return false;
  RemoveDropped(folder, before, entries);
  return true;
}

void ImportBestGame(const std::string& folder, const std::string& best_replay,
                    const std::string& player) {
  if (folder.empty() || Exists(TablePath(folder))) return;
  ReplayJournal journal;
  if (LoadReplay(best_replay, journal) != ReplayError::kNone || journal.games.size() != 1) return;
  OfferToHallOfFame(folder, journal.player.empty() ? player : journal.player, journal.games[0]);
}

ReplayError LoadHallReplay(const std::string& folder, const HallEntry& entry,
                           ReplayJournal& journal) {
  const std::string path = folder + "/" + entry.file;
  std::error_code error_code;
  const auto size = std::filesystem::file_size(path, error_code);
  if (!error_code && size > kMaxHallReplayBytes) return ReplayError::kTooLarge;
  const ReplayError error = LoadReplay(path, journal);
  if (error == ReplayError::kNone && journal.games.size() != 1) return ReplayError::kDamaged;
  return error;
}

std::string GameLengthText(std::uint32_t frames) {
  const std::uint32_t seconds = frames / 60;
  char text[24];
  std::snprintf(text, sizeof text, "%u:%02u", seconds / 60, seconds % 60);
  return text;
}
