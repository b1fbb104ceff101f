// game_files.cpp - finding the data folder and choosing where the score and settings live.
#include "game/config/game_files.h"

#include "core/file_kind.h"
#include "core/user_folders.h"

namespace {

// Where each installed layout puts the data, relative to the folder holding the executable.
struct InstalledLayout {
  const char* bin;   // the executable's folder name under the prefix
  const char* data;  // the data folder from the prefix
};
constexpr InstalledLayout kLayouts[] = {
    {"games", "share/games/zumbrix/data"},  // a /usr prefix, as Debian's games
    {"bin", "share/zumbrix/data"},          // every other prefix
};

bool IsFolder(const std::string& path) { return KindOfPath(path) == PathKind::kFolder; }

std::string Parent(const std::string& folder) {
  std::size_t slash = folder.find_last_of('/');
  if (slash == std::string::npos) return "..";
  return slash == 0 ? "/" : folder.substr(0, slash);
}

std::string LastName(const std::string& folder) {
  std::size_t slash = folder.find_last_of('/');
  return slash == std::string::npos ? folder : folder.substr(slash + 1);
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// Where the player's files are, apart from the game's state: chosen once by each start.
struct Files {
  GameFiles current;
  bool writes_player_files = true;
} chosen_files;

}  // namespace

DataFolder FindDataFolder(const std::string& exefolder) {
  const std::string beside = Join(exefolder, "data");
  if (IsFolder(beside)) return {beside, DataLocation::Beside};
  // The layout the executable's folder is named for first, then the other, so an executable
  // copied between layouts still finds its data.
  const std::string prefix = Parent(exefolder), name = LastName(exefolder);
  for (int pass = 0; pass < 2; ++pass) {
    for (const InstalledLayout& layout : kLayouts) {
      if ((name == layout.bin) != (pass == 0)) continue;
      std::string installed = Join(prefix, layout.data);
      if (IsFolder(installed)) return {installed, DataLocation::Installed};
    }
  }
  return {beside, DataLocation::Missing};
}

std::string ChooseScoreFile(const DataFolder& data, bool writable, const std::string& userdata) {
  if (data.location == DataLocation::Beside && writable) return Join(data.path, "hiscore.dat");
  if (userdata.empty()) return {};
  return Join(userdata, "zumbrix/hiscore.dat");
}

GameFiles LocateGameFiles(const std::string& exefolder) {
  GameFiles files;
  files.data = FindDataFolder(exefolder);
  const bool writable = CanWriteInFolder(files.data.path);
  files.scorefile = ChooseScoreFile(files.data, writable, UserDataHome());
  const std::string own = Join(files.data.path, "hiscore.dat");
  files.peruserscore = files.scorefile != own;
  if (files.peruserscore && files.data.location != DataLocation::Missing) files.gamescorefile = own;
  const std::string config = UserConfigHome();
  files.settingsfile = config.empty() ? std::string() : Join(config, "zumbrix/settings.ini");
  return files;
}

const GameFiles& CurrentGameFiles() { return chosen_files.current; }

void UseGameFiles(const GameFiles& files) { chosen_files.current = files; }

bool WritesPlayerFiles() { return chosen_files.writes_player_files; }
void SetWritesPlayerFiles(bool writes) { chosen_files.writes_player_files = writes; }

std::string DataFile(const std::string& name) { return Join(chosen_files.current.data.path, name); }
