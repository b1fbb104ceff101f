// settings.h - the player's settings: one value, a table of its keys, and the settings.ini text.
//
// The file is a small commented "key = value" list a person can edit. Reading starts from the
// defaults; a line that is neither blank, a comment nor a known key with a valid value is
// reported on stderr (one line naming it) and ignored; values out of range are clamped. Writing
// keeps the earlier text: each known key's line takes its new value, every other line (comments,
// unknown keys, damaged lines) stays as it was, and known keys the file lacked are appended with
// their comments. Adding a setting is one field here and one row in the key table. Pure: no files.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "game/colour_mode.h"
#include "game/sound_output.h"
#include "graphics/display_mode.h"
#include "graphics/stereo_mode.h"

struct Settings {
  int musicvolume = 10;                           // tenths of full volume, 0 (off) .. 10
  int effectsvolume = 5;                          // tenths of full volume, 0 (off) .. 10
  DisplayMode display = DisplayMode::Fullscreen;  // how the 640x480 picture is shown
  ScalePolicy scale = ScalePolicy::Fit;           // how it is scaled in desktop and window modes
  ColourMode colours = ColourMode::Anaglyph;      // red/cyan pairs, or flat colours (F4)
  StereoMode stereo = StereoMode::Off;            // one picture, or a view per eye (stereo_mode.h)
  SoundOutput sound = SoundOutput::Auto;          // the output device the sound goes to

  friend bool operator==(const Settings&, const Settings&) = default;
};

enum class SettingType {
  Integer,  // a whole number, clamped to minimum .. maximum
  Boolean,  // true / false (also yes / no, on / off, 1 / 0)
  Choice,   // one of `choices`; the value is its index
};

struct SettingKey {
  const char* name;
  SettingType type;
  int minimum, maximum;                  // Integer only
  std::span<const char* const> choices;  // Choice only
  const char* comment;                   // written above the key, without the "# "
  int (*get)(const Settings&);           // Boolean as 0 / 1, Choice as the index
  void (*set)(Settings&, int);
};

// Every key, in the order a new file lists them.
std::span<const SettingKey> SettingKeys();
// The key called `name`; null when there is none.
const SettingKey* FindSettingKey(std::string_view name);

enum class SettingResult {
  Set,       // stored as given
  Clamped,   // out of range: stored at the nearest end of the range
  Unknown,   // no such key: nothing stored
  BadValue,  // not a value of the key's type: nothing stored
};
// Stores the text `value` into `settings` under the key `name`.
SettingResult ApplySetting(Settings& settings, std::string_view name, std::string_view value);
// The same for a key row (Unknown is never returned).
SettingResult ApplySettingValue(const SettingKey& key, Settings& settings, std::string_view value);
// The text a key's value is written as.
std::string SettingText(const SettingKey& key, const Settings& settings);

// The settings in `text` over the defaults. Every damaged line and clamped value gives one line on
// stderr naming `source` and the line number.
Settings ParseSettings(std::string_view text, const std::string& source);
// The text of a file holding `settings`, keeping what it can of `previous` (the file's earlier
// text, empty for a new file).
std::string FormatSettings(const Settings& settings, std::string_view previous);
