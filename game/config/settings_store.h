// settings_store.h - this run's settings: read from settings.ini at start, overridden by the
// command line for the run only, and written back only when play changes one.
//
// Until LoadSettings names a file (the program does, a harness run does not) the settings are
// the defaults and nothing is read or written. A save reads the file again and changes only the
// keys this run changed since its last save, so a hand edit made meanwhile, or another copy of
// the game's own change, survives; a run that changed nothing writes nothing. A settings.ini that
// is not a regular file (a FIFO, a folder) or cannot be read is named on stderr and left alone:
// the run plays on the defaults. One the player made read-only is read, and left alone by the
// saves. Saves go through the atomic-write helper (a symbolic link is written through to its
// file), into a folder created (0700) on the first save. Needs settings.h and the core file
// helpers. Main thread only.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "game/config/settings.h"

// A setting given on the command line: key and value text, as in the file.
using SettingOverride = std::pair<std::string, std::string>;

// Reads `path` (a missing file gives the defaults) and makes it the file later saves write.
void LoadSettings(const std::string& path);
// Whether LoadSettings found no file: the player's first start.
bool FirstStart();
// Applies command-line settings to this run only; the file keeps its own values. Returns false,
// after one stderr line each, when one of them is not a valid key and value.
bool OverrideSettings(const std::vector<SettingOverride>& overrides);
// What this run plays with.
const Settings& RunSettings();
// What the file held when last read or written, with this run's changes.
const Settings& StoredSettings();
// Changes a setting for this run and in the file; saves at once when the file's value changed.
void ChangeSettings(const std::function<void(Settings&)>& change);
// Writes the keys this run changed and has not saved yet into the file as it is now; true when
// saved, when there was nothing to save, or when there is no file to keep. A failure gives one
// line on stderr and leaves the old file whole. A file marked read-only is left alone (false,
// named on stderr once a run): the changes last this run only.
bool SaveSettings();
// What the options and controls screens say while this run has changes the file does not hold:
// why, and that they last this run only ("settings.ini is read-only: for this run only"); "" when
// the file holds them all.
std::string UnsavedSettingsNote();
// The settings of this run as they stand, and what the picture showed last, to go back to.
struct SettingsMark {
  Settings stored, run;
  SettingKeySet unsaved = 0;
  DisplayMode shown_mode = DisplayMode::Fullscreen;
  ColourMode shown_colours = ColourMode::Anaglyph;
  StereoMode shown_stereo = StereoMode::Off;
};
SettingsMark MarkSettings();
// Takes back every change since `mark` (a watched game's F4), unsaved; the picture's own modes
// are the caller's to put back.
void ReturnToSettings(const SettingsMark& mark);
// Forgets the file and returns to the defaults (for tests).
void ResetSettings();

// Puts this run's key bindings and focus choice in force (key_bindings.h).
void UseRunInputChoices();

// Chooses how the picture is shown (display mode, scale, colours) from this run's settings;
// before the graphics open.
void ApplyPictureSettings();
// Keeps the player's switches in the settings and the file: to or from the window (Alt+Enter),
// between the colour modes (F4) and of the stereo mode (SetStereoMode, at run time). Once a
// frame, and after the pause screen.
void KeepPictureSettings();
