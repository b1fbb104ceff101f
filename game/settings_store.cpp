// settings_store.cpp - the settings file of this run and the game's view of it.
#include "game/settings_store.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/atomic_file.h"
#include "game/globals.h"

namespace {

// The display and colour modes last seen by KeepPictureSettings.
DisplayMode shown_mode = DisplayMode::Fullscreen;
ColourMode shown_colours = ColourMode::Anaglyph;
StereoMode shown_stereo = StereoMode::Off;

struct Store {
  std::string path;      // empty: nothing is read or written
  std::string text;      // the file as last read or written, whose lines a save keeps
  Settings stored, run;  // the file's values; this run's (with the command line's)
} store;

bool ReadWholeFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  text = bytes.str();
  return !in.bad();
}

}  // namespace

void LoadSettings(const std::string& path) {
  store = Store{};
  store.path = path;
  if (path.empty()) return;
  std::ifstream probe(path);
  if (probe) {
    if (!ReadWholeFile(path, store.text)) {
      std::fprintf(stderr, "Cannot read the settings from \"%s\"; using the defaults\n",
                   path.c_str());
    }
    store.stored = ParseSettings(store.text, path);
  }
  store.run = store.stored;
}

bool OverrideSettings(const std::vector<SettingOverride>& overrides) {
  bool valid = true;
  for (const auto& [key, value] : overrides) {
    SettingResult result = ApplySetting(store.run, key, value);
    if (result == SettingResult::Unknown || result == SettingResult::BadValue) {
      std::fprintf(stderr, "\"%s\" is not a value for %s\n", value.c_str(), key.c_str());
      valid = false;
    }
  }
  return valid;
}

const Settings& RunSettings() { return store.run; }

const Settings& StoredSettings() { return store.stored; }

void ChangeSettings(const std::function<void(Settings&)>& change) {
  change(store.run);
  const Settings before = store.stored;
  change(store.stored);
  if (!(store.stored == before)) SaveSettings();
}

bool SaveSettings() {
  if (store.path.empty()) return true;
  std::string folder = store.path.substr(0, store.path.find_last_of('/') + 1);
  std::string text = FormatSettings(store.stored, store.text);
  if ((folder.empty() || CreateFolders(folder, 0700)) && WriteFileAtomically(store.path, text)) {
    store.text = std::move(text);
    return true;
  }
  std::fprintf(stderr, "Cannot save the settings to \"%s\"; the stored ones are kept\n",
               store.path.c_str());
  return false;
}

void ResetSettings() { store = Store{}; }

void ApplySettingsToGame() {
  musicstep = store.run.musicvolume;
  musicvol = static_cast<float>(musicstep) / 10.0f;
  sfxstep = store.run.effectsvolume;
  sfxvol = static_cast<float>(sfxstep) / 10.0f;
}

void KeepVolumeSettings() {
  ChangeSettings([](Settings& s) {
    s.musicvolume = musicstep;
    s.effectsvolume = sfxstep;
  });
}

void ApplyPictureSettings() {
  SetDisplayMode(store.run.display);
  SetScalePolicy(store.run.scale);
  SetColourMode(store.run.colours);
  SetStereoMode(store.run.stereo);
  shown_mode = store.run.display;
  shown_colours = store.run.colours;
  shown_stereo = store.run.stereo;
}

void KeepPictureSettings() {
  const ColourMode colours = GetColourMode();
  if (colours != shown_colours) {
    shown_colours = colours;
    ChangeSettings([colours](Settings& s) { s.colours = colours; });
  }
  const StereoMode stereo = ChosenStereoMode();
  if (stereo != shown_stereo) {
    shown_stereo = stereo;
    ChangeSettings([stereo](Settings& s) { s.stereo = stereo; });
  }
  const DisplayMode now = CurrentDisplayMode();
  if (now == shown_mode) return;
  // Only the player's switch between the window and full screen is a choice to keep; a refused
  // display mode falling back to the desktop is not.
  const bool switched = now == DisplayMode::Window || shown_mode == DisplayMode::Window;
  shown_mode = now;
  if (switched) ChangeSettings([now](Settings& s) { s.display = now; });
}
