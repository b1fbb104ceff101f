// settings.h - the player's settings: one value, a table of its keys, and the settings.ini text.
//
// The file is a small commented "key = value" list a person can edit; a value may be followed by
// a "# comment". Reading starts from the defaults and skips a UTF-8 byte order mark; a damaged
// line, a bad value and a key the table does not know are each named on stderr (an unknown key
// once) and ignored; values out of range are clamped; a key or pad button the controls screen
// would refuse (binding_rules.h) is named and its default used. Writing keeps the earlier text:
// only the lines of the keys asked for take their new values (with their trailing comments), every
// other line stays byte for byte (comments, unknown keys, damaged lines, other keys), new lines use
// the file's own line ends (CRLF stays CRLF), and asked-for keys the file lacked are appended with
// their comments. The volumes are not settings: every run starts at full music and half effects;
// their old keys are kept as unknown lines. Adding a setting is one field here and one row in the
// key table. Pure: no files.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "audio/sound_output.h"
#include "game/config/colour_mode.h"
#include "game/config/key_bindings.h"
#include "graphics/display_mode.h"
#include "graphics/stereo_mode.h"

// How the wave-end caption's flashing copy changes: every frame, or held for a third of a second.
enum class Flashing { kFull, kReduced };

struct Settings {
  DisplayMode display = DisplayMode::Fullscreen;  // how the 640x480 picture is shown
  ScalePolicy scale = ScalePolicy::Fit;           // how it is scaled in desktop and window modes
  ColourMode colours = ColourMode::Anaglyph;      // red/cyan pairs, or flat colours (F4)
  StereoMode stereo = StereoMode::Off;            // one picture, or a view per eye (stereo_mode.h)
  SoundOutput sound = SoundOutput::Auto;          // the output device the sound goes to
  KeyBindings bindings = kDefaultBindings;        // the keys and pad buttons of the actions
  bool pause_on_focus_loss = true;                // the pause screen when the window loses focus
  Flashing flashing = Flashing::kFull;            // the wave-end caption's flashing
  bool ghost = false;                             // the best game's ship flies along in play
  std::string name;  // the player's name on recordings; empty: the account's (player_name.h)

  friend bool operator==(const Settings&, const Settings&) = default;
};

enum class SettingType {
  Boolean,  // true / false (also yes / no, on / off, 1 / 0)
  Choice,   // one of `choices`; the value is its index
  Key,      // a key by SDL's name ("Left Ctrl"), or none; the value is its code
  Button,   // a pad button by SDL's name ("a"), or none; the value is its number, -1 for none
  Text,     // a short text of kNameCharacters (PlayerNameText); kept in `text`, not get and set
};

struct SettingKey {
  const char* name;
  SettingType type;
  std::span<const char* const> choices;  // Choice only
  const char* comment;                   // written above the key, without the "# "
  int (*get)(const Settings&);           // Boolean as 0 / 1, Choice as the index
  void (*set)(Settings&, int);
  std::string Settings::*text = nullptr;  // Text only
};

// The longest name kept, and what a name is made of (anything else is left out).
inline constexpr std::size_t kMaxNameLength = 12;
inline constexpr std::string_view kNameCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -_.'!";
// `text` as a name: only kNameCharacters, no blanks at either end, at most kMaxNameLength.
std::string PlayerNameText(std::string_view text);

// Every key, in the order a new file lists them.
std::span<const SettingKey> SettingKeys();
// The key called `name`; null when there is none.
const SettingKey* FindSettingKey(std::string_view name);

// A set of keys: bit i stands for SettingKeys()[i].
using SettingKeySet = std::uint32_t;
constexpr SettingKeySet kEverySettingKey = ~SettingKeySet{0};
// The keys whose values differ between `a` and `b`.
SettingKeySet ChangedSettingKeys(const Settings& a, const Settings& b);
// `to` with the values of the keys in `keys` taken from `from`.
Settings WithSettingKeys(Settings to, const Settings& from, SettingKeySet keys);

enum class SettingResult {
  Set,       // stored as given
  Unknown,   // no such key: nothing stored
  BadValue,  // not a value of the key's type: nothing stored
};
// Stores the text `value` into `settings` under the key `name`.
SettingResult ApplySetting(Settings& settings, std::string_view name, std::string_view value);
// The same for a key row (Unknown is never returned).
SettingResult ApplySettingValue(const SettingKey& key, Settings& settings, std::string_view value);
// The text a key's value is written as.
std::string SettingText(const SettingKey& key, const Settings& settings);
// The values a key takes, for a person ("fullscreen, desktop or window").
std::string SettingValuesText(const SettingKey& key);

// The settings in `text` over the defaults. Every damaged line and clamped value, and the first
// line of each unknown key, gives one line on stderr naming `source` and the line number.
Settings ParseSettings(std::string_view text, const std::string& source);
// The same without a word on stderr (the file read again when saving).
Settings ReadSettingsQuietly(std::string_view text);
// The text of a file holding `settings` for the keys in `keys`, keeping everything else of
// `previous` (the file's text as it is now). A `previous` with no lines gives a new file: a
// header and every key with its comment.
std::string FormatSettings(const Settings& settings, std::string_view previous,
                           SettingKeySet keys = kEverySettingKey);

// At most this many characters of a value or name go into a message.
constexpr std::size_t kMaxEchoed = 40;
// `text` as a message shows it: control characters as '?', cut after kMaxEchoed characters
// with "..." when longer.
std::string Echoed(std::string_view text);
