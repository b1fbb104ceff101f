// settings.cpp - the settings keys, and reading and rewriting the settings.ini text.
#include "game/config/settings.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "game/config/binding_rules.h"
#include "system/input_names.h"

namespace {

// The get and set of a key stored in the field `F` (an int, a bool or an enum class).
template <auto F>
int Get(const Settings& s) {
  return static_cast<int>(s.*F);
}
template <auto F>
void Set(Settings& s, int value) {
  using Field = std::remove_reference_t<decltype(s.*F)>;
  s.*F = static_cast<Field>(value);
}

// The get and set of an action's key or button.
template <GameAction A>
int GetKey(const Settings& s) {
  return s.bindings.keys[static_cast<int>(A)];
}
template <GameAction A>
void SetKey(Settings& s, int value) {
  s.bindings.keys[static_cast<int>(A)] = value;
}
template <GameAction A>
int GetButton(const Settings& s) {
  return s.bindings.pads[static_cast<int>(A)];
}
template <GameAction A>
void SetButton(Settings& s, int value) {
  s.bindings.pads[static_cast<int>(A)] = value;
}

// Choice names, in the order of their enum's values.
const char* const kDisplayChoices[] = {"fullscreen", "desktop", "window"};
const char* const kScaleChoices[] = {"fit", "integer", "sharp"};
const char* const kColourChoices[] = {"anaglyph", "flat"};
const char* const kSoundChoices[] = {"auto", "waveout", "directsound"};
const char* const kGhostChoices[] = {"off", "on"};
const char* const kStereoChoices[] = {"off", "side-by-side", "side-by-side-half", "top-bottom"};
const char* const kFlashingChoices[] = {"full", "reduced"};
constexpr char kNone[] = "none";

// Text keys have no number to get or set.
int NoNumber(const Settings&) { return 0; }
void SetNoNumber(Settings&, int) {}

const SettingKey kKeys[] = {
    {"display", SettingType::Choice, kDisplayChoices,
     "fullscreen: the 640x480 display mode; desktop: full screen at the desktop's resolution,\n"
     "scaled; window: a resizable window (Alt+Enter switches while playing).",
     Get<&Settings::display>, Set<&Settings::display>},
    {"scale", SettingType::Choice, kScaleChoices,
     "fit: as large as fits; integer: whole multiples only, sharp pixels; sharp: as large as\n"
     "fits, pixels sharp and even, soft only at their edges (desktop and window).",
     Get<&Settings::scale>, Set<&Settings::scale>},
    {"colours", SettingType::Choice, kColourChoices,
     "anaglyph: red/cyan 3D for glasses; flat: each picture once in its own colours (F4 paused).",
     Get<&Settings::colours>, Set<&Settings::colours>},
    {"stereo", SettingType::Choice, kStereoChoices,
     "off: one picture; side-by-side: a view per eye, 1280x480 (display glasses, VR viewers);\n"
     "side-by-side-half: squeezed to 640x480 (3D TVs); top-bottom: stacked, 640x960 (3D TVs).",
     Get<&Settings::stereo>, Set<&Settings::stereo>},
    {"sound_output", SettingType::Choice, kSoundChoices,
     "auto: wave-out, or DirectSound when that fails; waveout or directsound: that device only.",
     Get<&Settings::sound>, Set<&Settings::sound>},
    {"ghost", SettingType::Choice, kGhostChoices,
     "on: the ship of your best game flies along in play, faint, and the side bar shows its score.",
     Get<&Settings::ghost>, Set<&Settings::ghost>},
    {"pause_on_focus_loss",
     SettingType::Boolean,
     {},
     "true: the pause screen comes up when the window loses the focus; false: play freezes until\n"
     "it is back and goes on at once.",
     Get<&Settings::pause_on_focus_loss>,
     Set<&Settings::pause_on_focus_loss>},
    {"flashing", SettingType::Choice, kFlashingChoices,
     "full: the wave-end caption flashes in a new look every frame; reduced: at most three\n"
     "changes a second.",
     Get<&Settings::flashing>, Set<&Settings::flashing>},
    {"key_fire",
     SettingType::Key,
     {},
     "The key that fires, by SDL's name (Left Ctrl, Space, F1, Escape, A, ...), or none. The\n"
     "mouse's buttons stay: left fires and starts, right jumps.",
     GetKey<GameAction::kFire>,
     SetKey<GameAction::kFire>},
    {"key_hyperspace",
     SettingType::Key,
     {},
     "The key that jumps into hyperspace.",
     GetKey<GameAction::kHyperspace>,
     SetKey<GameAction::kHyperspace>},
    {"key_pause",
     SettingType::Key,
     {},
     "The key that pauses and carries on.",
     GetKey<GameAction::kPause>,
     SetKey<GameAction::kPause>},
    {"key_abandon",
     SettingType::Key,
     {},
     "The key that abandons the game.",
     GetKey<GameAction::kAbandon>,
     SetKey<GameAction::kAbandon>},
    {"key_quit",
     SettingType::Key,
     {},
     "The key that quits.",
     GetKey<GameAction::kQuit>,
     SetKey<GameAction::kQuit>},
    {"pad_fire",
     SettingType::Button,
     {},
     "The pad's button that fires, by SDL's name (a, b, x, y, back, leftshoulder, rightshoulder,\n"
     "leftstick, rightstick, guide), or none. Start always pauses, whatever pad_pause is.",
     GetButton<GameAction::kFire>,
     SetButton<GameAction::kFire>},
    {"pad_hyperspace",
     SettingType::Button,
     {},
     "The pad's button that jumps into hyperspace.",
     GetButton<GameAction::kHyperspace>,
     SetButton<GameAction::kHyperspace>},
    {"pad_pause",
     SettingType::Button,
     {},
     "The pad's button that pauses and carries on.",
     GetButton<GameAction::kPause>,
     SetButton<GameAction::kPause>},
    {"pad_abandon",
     SettingType::Button,
     {},
     "The pad's button that abandons the game.",
     GetButton<GameAction::kAbandon>,
     SetButton<GameAction::kAbandon>},
    {"pad_quit",
     SettingType::Button,
     {},
     "The pad's button that quits.",
     GetButton<GameAction::kQuit>,
     SetButton<GameAction::kQuit>},
    {"name",
     SettingType::Text,
     {},
     "Your name, carried by every game you record (letters, digits, blanks and - _ . ' !, at\n"
     "most 12). Empty: the first word of your account's full name, else your login name.",
     NoNumber,
     SetNoNumber,
     &Settings::name},
};
static_assert(std::size(kKeys) <= sizeof(SettingKeySet) * 8, "a key set holds every key");

// Keys earlier versions wrote. Their lines are kept like any unknown key's, with a word saying
// why they no longer do anything.
const char* const kRetiredKeys[] = {"music_volume", "effects_volume"};
constexpr char kRetiredWhy[] =
    "is no longer used: every run starts with the music at full and the effects at half (F2 and "
    "F3 on the pause screen step them for that run); the line is kept";

constexpr char kHeader[] =
    "# Zumbrix - 3D Edition settings. One \"key = value\" a line; lines starting with # are\n"
    "# comments, and a value may be followed by one. When a setting changes in play (F4,\n"
    "# Alt+Enter) the game rewrites its line only, keeping everything else as it is.\n";

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  const char* blank = " \t\r";
  std::size_t first = text.find_first_not_of(blank);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blank) - first + 1);
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return out;
}

// A "key = value # comment" line: the key and value trimmed, and the comment with the blanks
// before it, as it stands (empty when there is none).
struct KeyLine {
  std::string_view key, value, comment;
};
enum class LineKind { Blank, Pair, Damaged };
LineKind SplitLine(std::string_view line, KeyLine& out) {
  std::string_view text = Trim(line);
  if (text.empty() || text[0] == '#' || text[0] == ';') return LineKind::Blank;
  std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return LineKind::Damaged;
  out.key = Trim(text.substr(0, equals));
  std::string_view value = text.substr(equals + 1);
  out.comment = {};
  std::size_t hash = value.find('#');
  if (hash != std::string_view::npos) {
    std::size_t start = value.find_last_not_of(" \t", hash == 0 ? 0 : hash - 1);
    start = start == std::string_view::npos || start >= hash ? 0 : start + 1;
    out.comment = value.substr(start);
    value = value.substr(0, hash);
  }
  out.value = Trim(value);
  return out.key.empty() ? LineKind::Damaged : LineKind::Pair;
}

// A line of the file without its line end, and the end it had ("\r\n", "\n", or none for a last
// line without one).
struct Line {
  std::string_view text, end;
};
std::vector<Line> Lines(std::string_view text) {
  std::vector<Line> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    if (end == std::string_view::npos) {
      lines.push_back({text, {}});
      break;
    }
    const bool crlf = end > 0 && text[end - 1] == '\r';
    lines.push_back(
        {text.substr(0, crlf ? end - 1 : end), text.substr(crlf ? end - 1 : end, crlf ? 2 : 1)});
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
  return text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size()) : text;
}

bool IsRetired(std::string_view name) {
  return std::find(std::begin(kRetiredKeys), std::end(kRetiredKeys), name) !=
         std::end(kRetiredKeys);
}

// `text` with each "\n" as `newline`.
std::string WithLineEnds(std::string_view text, std::string_view newline) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out.append(newline);
    } else {
      out += c;
    }
  }
  return out;
}

// The key of the settings that holds `action`'s key or button.
const SettingKey& BindingKey(GameAction action, BindingColumn column) {
  const std::string name =
      std::string(column == BindingColumn::kKey ? "key_" : "pad_") + GameActionWord(action);
  return *FindSettingKey(name);
}

Settings ReadSettings(std::string_view text, const std::string& source, bool report) {
  Settings settings;
  std::vector<std::string> named;             // unknown keys already reported
  std::vector<int> set_at(std::size(kKeys));  // the line that last set each key
  int number = 0;
  for (const Line& line : Lines(WithoutByteOrderMark(text))) {
    ++number;
    KeyLine pair;
    LineKind kind = SplitLine(line.text, pair);
    if (kind == LineKind::Blank) continue;
    if (kind == LineKind::Damaged) {
      if (report) {
        std::fprintf(stderr, "%s:%d: not a \"key = value\" line; ignored\n", source.c_str(),
                     number);
      }
      continue;
    }
    const SettingKey* known = FindSettingKey(pair.key);
    if (!known) {
      // Kept in the file for whatever wrote it; named once, since a typo would otherwise be
      // silent.
      const std::string name(pair.key);
      if (report && std::find(named.begin(), named.end(), name) == named.end()) {
        named.push_back(name);
        if (IsRetired(name)) {
          std::fprintf(stderr, "%s:%d: %s %s\n", source.c_str(), number, name.c_str(), kRetiredWhy);
        } else {
          std::fprintf(stderr, "%s:%d: unknown key \"%s\"; kept as it is\n", source.c_str(), number,
                       Echoed(name).c_str());
        }
      }
      continue;
    }
    const SettingResult result = ApplySettingValue(*known, settings, pair.value);
    set_at[static_cast<std::size_t>(known - kKeys)] = number;
    if (!report) continue;
    if (result == SettingResult::BadValue) {
      std::fprintf(stderr, "%s:%d: \"%s\" is not a value for %s (%s); ignored\n", source.c_str(),
                   number, Echoed(pair.value).c_str(), known->name,
                   SettingValuesText(*known).c_str());
    }
  }
  // The bindings keep the controls screen's rule, so the keyboard can always quit and pause.
  settings.bindings = CheckedBindings(
      settings.bindings,
      [&](GameAction action, BindingColumn column, int code, const std::string& why) {
        if (!report) return;
        const SettingKey& key = BindingKey(action, column);
        Settings refused;
        key.set(refused, code);
        std::fprintf(stderr, "%s:%d: %s = %s refused (%s); using %s\n", source.c_str(),
                     set_at[static_cast<std::size_t>(&key - kKeys)], key.name,
                     SettingText(key, refused).c_str(), why.c_str(),
                     SettingText(key, Settings{}).c_str());
      });
  return settings;
}

}  // namespace

std::span<const SettingKey> SettingKeys() { return kKeys; }

const SettingKey* FindSettingKey(std::string_view name) {
  for (const SettingKey& key : kKeys) {
    if (name == key.name) return &key;
  }
  return nullptr;
}

SettingKeySet ChangedSettingKeys(const Settings& a, const Settings& b) {
  SettingKeySet changed = 0;
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    const SettingKey& key = kKeys[i];
    const bool differs = key.text ? a.*key.text != b.*key.text : key.get(a) != key.get(b);
    if (differs) changed |= SettingKeySet{1} << i;
  }
  return changed;
}

Settings WithSettingKeys(Settings to, const Settings& from, SettingKeySet keys) {
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    if (!(keys & (SettingKeySet{1} << i))) continue;
    if (kKeys[i].text) {
      to.*kKeys[i].text = from.*kKeys[i].text;
    } else {
      kKeys[i].set(to, kKeys[i].get(from));
    }
  }
  return to;
}

std::string PlayerNameText(std::string_view text) {
  std::string name;
  for (char c : text) {
    if (kNameCharacters.find(c) != std::string_view::npos) name += c;
  }
  const std::size_t start = name.find_first_not_of(' ');
  if (start == std::string::npos) return {};
  name = name.substr(start, kMaxNameLength);
  return name.substr(0, name.find_last_not_of(' ') + 1);
}

SettingResult ApplySetting(Settings& settings, std::string_view name, std::string_view value) {
  const SettingKey* key = FindSettingKey(name);
  return key ? ApplySettingValue(*key, settings, value) : SettingResult::Unknown;
}

SettingResult ApplySettingValue(const SettingKey& key, Settings& settings, std::string_view value) {
  value = Trim(value);
  switch (key.type) {
    case SettingType::Boolean: {
      std::string word = Lower(value);
      if (word == "true" || word == "yes" || word == "on" || word == "1") {
        key.set(settings, 1);
      } else if (word == "false" || word == "no" || word == "off" || word == "0") {
        key.set(settings, 0);
      } else {
        return SettingResult::BadValue;
      }
      return SettingResult::Set;
    }
    case SettingType::Choice: {
      std::string word = Lower(value);
      for (std::size_t i = 0; i < key.choices.size(); ++i) {
        if (word == key.choices[i]) {
          key.set(settings, static_cast<int>(i));
          return SettingResult::Set;
        }
      }
      return SettingResult::BadValue;
    }
    case SettingType::Key: {
      const int code = Lower(value) == kNone ? kNoKey : KeyFromName(value);
      if (code == kNoKey && Lower(value) != kNone) return SettingResult::BadValue;
      key.set(settings, code);
      return SettingResult::Set;
    }
    case SettingType::Button: {
      const int button = Lower(value) == kNone ? kNoButton : JoyButtonFromName(value);
      if (button == kNoButton && Lower(value) != kNone) return SettingResult::BadValue;
      key.set(settings, button);
      return SettingResult::Set;
    }
    case SettingType::Text: {
      // What a name cannot hold is left out, as the options screen's typing leaves it out.
      settings.*key.text = PlayerNameText(value);
      return SettingResult::Set;
    }
  }
  return SettingResult::BadValue;
}

std::string SettingText(const SettingKey& key, const Settings& settings) {
  int value = key.get(settings);
  switch (key.type) {
    case SettingType::Boolean:
      return value ? "true" : "false";
    case SettingType::Choice:
      if (value >= 0 && static_cast<std::size_t>(value) < key.choices.size()) {
        return key.choices[static_cast<std::size_t>(value)];
      }
      return key.choices.empty() ? "" : key.choices[0];
    case SettingType::Key: {
      const std::string name = value == kNoKey ? "" : KeyName(value);
      return name.empty() ? kNone : name;
    }
    case SettingType::Button: {
      const std::string name = value == kNoButton ? "" : JoyButtonName(value);
      return name.empty() ? kNone : name;
    }
    case SettingType::Text:
      return settings.*key.text;
  }
  return {};
}

std::string SettingValuesText(const SettingKey& key) {
  switch (key.type) {
    case SettingType::Boolean:
      return "true or false";
    case SettingType::Choice: {
      std::string text;
      for (std::size_t i = 0; i < key.choices.size(); ++i) {
        if (i > 0) text += i + 1 == key.choices.size() ? " or " : ", ";
        text += key.choices[i];
      }
      return text;
    }
    case SettingType::Key:
      return "a key's name as SDL gives it, such as Left Ctrl, or none";
    case SettingType::Button:
      return "a pad button's name as SDL gives it, such as a or leftshoulder, or none";
    case SettingType::Text:
      return "letters, digits, blanks and - _ . ' !";
  }
  return {};
}

Settings ParseSettings(std::string_view text, const std::string& source) {
  return ReadSettings(text, source, true);
}

Settings ReadSettingsQuietly(std::string_view text) { return ReadSettings(text, {}, false); }

std::string FormatSettings(const Settings& settings, std::string_view previous,
                           SettingKeySet keys) {
  std::string out;
  if (previous.starts_with(kByteOrderMark)) out = kByteOrderMark;
  const std::vector<Line> lines = Lines(WithoutByteOrderMark(previous));
  // New lines end as the file's first line does, so a CRLF file stays CRLF throughout.
  const std::string_view newline = !lines.empty() && lines[0].end == "\r\n" ? "\r\n" : "\n";
  if (lines.empty()) {
    out += WithLineEnds(kHeader, newline);
    keys = kEverySettingKey;
  }
  std::vector<bool> written(std::size(kKeys), false);
  for (const Line& line : lines) {
    const std::string_view end = line.end.empty() ? newline : line.end;
    KeyLine pair;
    const SettingKey* key = nullptr;
    if (SplitLine(line.text, pair) == LineKind::Pair) key = FindSettingKey(pair.key);
    const std::size_t index = key ? static_cast<std::size_t>(key - kKeys) : 0;
    if (!key || !(keys & (SettingKeySet{1} << index))) {
      out.append(line.text).append(end);
      continue;
    }
    // A key given twice is written once, where it first stood.
    if (written[index]) continue;
    written[index] = true;
    out.append(key->name).append(" = ").append(SettingText(*key, settings));
    if (!pair.comment.empty()) {
      if (pair.comment[0] == '#') out += ' ';
      out.append(pair.comment);
    }
    out.append(end);
  }
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    if (written[i] || !(keys & (SettingKeySet{1} << i))) continue;
    const SettingKey& key = kKeys[i];
    // A blank line before each new key's comment, unless the text already ends with one.
    const std::string blank = std::string(newline) + std::string(newline);
    if (*key.comment && !out.empty() && out != kByteOrderMark && !out.ends_with(blank)) {
      out.append(newline);
    }
    // A key with no comment of its own belongs to the group the key before it opened.
    if (*key.comment) {
      out.append("# ")
          .append(WithLineEnds(key.comment, std::string(newline) + "# "))
          .append(newline);
    }
    out.append(key.name).append(" = ").append(SettingText(key, settings)).append(newline);
  }
  return out;
}

std::string Echoed(std::string_view text) {
  std::string out;
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    // A character is at most four bytes; stray continuation bytes count against that too.
    const bool continuation = (c & 0xC0) == 0x80;
    if ((!continuation && characters++ == kMaxEchoed) || out.size() == 4 * kMaxEchoed) {
      return out + "...";
    }
    out += c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
  }
  return out;
}
