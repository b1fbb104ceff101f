// settings_store.cpp - the settings file of this run and the game's view of it.
#include "game/config/settings_store.h"

#include <cstdio>

#include "core/atomic_file.h"
#include "core/regular_file.h"
#include "game/config/game_files.h"

namespace {

enum class SaveProblem { kNone, kReadOnly, kFailed };

// A settings file is a few hundred bytes; one this large is something else, and is left alone.
constexpr std::size_t kMaxSettingsFile = 1 << 20;

// The settings of the run and of the file, apart from the game's state: they steer no play the
// replays do not record. Read afresh by each start (LoadSettings).
struct Store {
  // The display and colour modes last seen by KeepPictureSettings.
  DisplayMode shown_mode = DisplayMode::Fullscreen;
  ColourMode shown_colours = ColourMode::Anaglyph;
  StereoMode shown_stereo = StereoMode::Off;
  std::string path;           // empty: nothing is read or written
  bool keep = true;           // false: the file could not be read at start, so it is never written
  Settings stored, run;       // the file's values with this run's changes; this run's (with the
                              // command line's)
  SettingKeySet unsaved = 0;  // keys this run changed that the file may not hold yet
  bool first = false;         // the file was missing when read
  SaveProblem problem = SaveProblem::kNone;  // why the last save wrote nothing
  bool said_read_only = false;               // stderr has named the read-only file
} store;

// The file's own name, as the screens show it.
std::string FileName() { return store.path.substr(store.path.find_last_of('/') + 1); }

}  // namespace

void LoadSettings(const std::string& path) {
  store = Store{};
  store.path = path;
  if (path.empty()) return;
  std::string text;
  const FileRead read = ReadRegularFile(path, kMaxSettingsFile, text);
  if (read == FileRead::Read) {
    store.stored = ParseSettings(text, path);
  } else if (read == FileRead::Missing) {
    store.first = true;
  } else if (read != FileRead::Missing) {
    std::fprintf(stderr,
                 "The settings file \"%s\" %s; playing on the defaults and leaving it as it is\n",
                 path.c_str(), FileReadProblem(read));
    store.keep = false;
  }
  store.run = store.stored;
}

bool OverrideSettings(const std::vector<SettingOverride>& overrides) {
  bool valid = true;
  for (const auto& [key, value] : overrides) {
    SettingResult result = ApplySetting(store.run, key, value);
    if (result == SettingResult::Unknown || result == SettingResult::BadValue) {
      std::fprintf(stderr, "zumbrix: \"%s\" is not a value for %s\n", Echoed(value).c_str(),
                   Echoed(key).c_str());
      valid = false;
    }
  }
  return valid;
}

bool FirstStart() { return store.first; }

const Settings& RunSettings() { return store.run; }

SettingsMark MarkSettings() {
  return {store.stored,     store.run,           store.unsaved,
          store.shown_mode, store.shown_colours, store.shown_stereo};
}

void ReturnToSettings(const SettingsMark& mark) {
  store.stored = mark.stored;
  store.run = mark.run;
  store.unsaved = mark.unsaved;
  store.shown_mode = mark.shown_mode;
  store.shown_colours = mark.shown_colours;
  store.shown_stereo = mark.shown_stereo;
}

const Settings& StoredSettings() { return store.stored; }

void ChangeSettings(const std::function<void(Settings&)>& change) {
  change(store.run);
  const Settings before = store.stored;
  change(store.stored);
  const SettingKeySet changed = ChangedSettingKeys(before, store.stored);
  if (changed == 0) return;
  store.unsaved |= changed;
  SaveSettings();
}

bool SaveSettings() {
  if (!WritesPlayerFiles()) return true;  // a replay's keys change no setting of the player's
  if (store.path.empty() || store.unsaved == 0 || !store.keep) return true;
  // The file as it is now: another copy of the game, or the player with an editor, may have
  // changed it since this run read it.
  std::string text;
  const FileRead read = ReadRegularFile(store.path, kMaxSettingsFile, text);
  if (read != FileRead::Read && read != FileRead::Missing) {
    std::fprintf(stderr, "Cannot save the settings: \"%s\" %s; left as it is\n", store.path.c_str(),
                 FileReadProblem(read));
    store.problem = SaveProblem::kFailed;
    return false;
  }
  // A file the player made read-only is theirs to keep as it is: the changes last this run.
  if (read == FileRead::Read && IsReadOnlyFile(store.path)) {
    if (!store.said_read_only) {
      std::fprintf(stderr,
                   "\"%s\" is read-only: left as it is, this run's changes last this run only\n",
                   store.path.c_str());
    }
    store.said_read_only = true;
    store.problem = SaveProblem::kReadOnly;
    return false;
  }
  const Settings merged = WithSettingKeys(ReadSettingsQuietly(text), store.stored, store.unsaved);
  const std::string written = FormatSettings(merged, text, store.unsaved);
  const std::string folder = store.path.substr(0, store.path.find_last_of('/') + 1);
  if ((folder.empty() || CreateFolders(folder, 0700)) && WriteFileAtomically(store.path, written)) {
    store.stored = merged;
    store.unsaved = 0;
    store.problem = SaveProblem::kNone;
    return true;
  }
  std::fprintf(stderr, "Cannot save the settings to \"%s\"; the stored ones are kept\n",
               store.path.c_str());
  store.problem = SaveProblem::kFailed;
  return false;
}

std::string UnsavedSettingsNote() {
  if (store.path.empty() || store.unsaved == 0 || !WritesPlayerFiles()) return "";
  if (!store.keep) return FileName() + " is unusable: for this run only";
  switch (store.problem) {
    case SaveProblem::kReadOnly:
      return FileName() + " is read-only: for this run only";
    case SaveProblem::kFailed:
      return FileName() + " could not be saved: for this run only";
    case SaveProblem::kNone:
      break;
  }
  return "";
}

void ResetSettings() { store = Store{}; }

void UseRunInputChoices() {
  UseInputChoices(InputChoices{store.run.bindings, store.run.pause_on_focus_loss});
}

void ApplyPictureSettings() {
  SetDisplayMode(store.run.display);
  SetScalePolicy(store.run.scale);
  SetColourMode(store.run.colours);
  SetStereoMode(store.run.stereo);
  store.shown_mode = store.run.display;
  store.shown_colours = store.run.colours;
  store.shown_stereo = store.run.stereo;
}

void KeepPictureSettings() {
  const ColourMode colours = GetColourMode();
  if (colours != store.shown_colours) {
    store.shown_colours = colours;
    ChangeSettings([colours](Settings& s) { s.colours = colours; });
  }
  const StereoMode stereo = ChosenStereoMode();
  if (stereo != store.shown_stereo) {
    store.shown_stereo = stereo;
    ChangeSettings([stereo](Settings& s) { s.stereo = stereo; });
  }
  const DisplayMode now = CurrentDisplayMode();
  if (now == store.shown_mode) return;
  // Only the player's switch between the window and full screen is a choice to keep; a refused
  // display mode falling back to the desktop is not.
  const bool switched = now == DisplayMode::Window || store.shown_mode == DisplayMode::Window;
  store.shown_mode = now;
  if (switched) ChangeSettings([now](Settings& s) { s.display = now; });
}
