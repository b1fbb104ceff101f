// game_files.h - where the game's files live: its sounds and music, the best score, the settings.
//
// The sounds and music are in data/ beside the executable (a build or a copied folder), else in
// the installed share folder found from the executable's own path: <prefix>/share/zumbrix/data
// for <prefix>/bin/zumbrix, <prefix>/share/games/zumbrix/data for <prefix>/games/zumbrix, so an
// installed tree works wherever it is moved. The best score stays in data/ beside the executable
// while that folder is writable; an installed game, or one whose folder is read-only, keeps it in
// $XDG_DATA_HOME/zumbrix and never writes under its prefix; a best score stored in that game's
// own data folder is still read, and the higher of the two carries over to the player's file.
// The settings are always the player's: $XDG_CONFIG_HOME/zumbrix/settings.ini. Needs the user
// folders (core/) only.
#pragma once

#include <string>

enum class DataLocation {
  Beside,     // data/ beside the executable
  Installed,  // the share folder of the prefix the executable is installed under
  Missing,    // neither: the sounds are missing and the game plays silent
};

struct DataFolder {
  std::string path;  // the folder holding the .ogg files
  DataLocation location = DataLocation::Beside;
};

struct GameFiles {
  // Until the program locates its files everything is relative to the current folder, as in a
  // harness run in a scratch folder; settings are then neither read nor written.
  DataFolder data{"data", DataLocation::Beside};
  std::string scorefile = "data/hiscore.dat";
  bool peruserscore = false;  // the score is the player's own, in a folder made on first save
  std::string gamescorefile;  // a per-player score's counterpart in the data folder: read, never
                              // written (empty when the score is kept there)
  std::string settingsfile;   // empty: settings are not kept
};

// The data folder for an executable in `exefolder`: beside it first, then the installed one.
DataFolder FindDataFolder(const std::string& exefolder);
// The best-score file: in the data folder when it is beside the executable and `writable`, else
// <userdata>/zumbrix/hiscore.dat (empty when there is no user data folder either).
std::string ChooseScoreFile(const DataFolder& data, bool writable, const std::string& userdata);
// Every file location for an executable in `exefolder`, from the file system and the XDG
// variables as they are now.
GameFiles LocateGameFiles(const std::string& exefolder);

// The locations this run uses; main thread.
const GameFiles& CurrentGameFiles();
void UseGameFiles(const GameFiles& files);
// Whether this run may write the player's own files: the settings, the best score, screenshots and
// best.replay. A replay, watched or headless, writes none of them; each save asks first. Main
// thread.
bool WritesPlayerFiles();
void SetWritesPlayerFiles(bool writes);

// Keeps the player's files untouched for as long as it lives. Main thread.
class PlayerFilesKept {
 public:
  PlayerFilesKept() : before_(WritesPlayerFiles()) { SetWritesPlayerFiles(false); }
  ~PlayerFilesKept() { SetWritesPlayerFiles(before_); }
  PlayerFilesKept(const PlayerFilesKept&) = delete;
  PlayerFilesKept& operator=(const PlayerFilesKept&) = delete;

 private:
  bool before_;
};
// The path of the sound or music file `name` in the current data folder; main thread.
std::string DataFile(const std::string& name);
