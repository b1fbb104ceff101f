// settings.cpp - the settings keys, and reading and rewriting the settings.ini text.
#include "game/settings.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <vector>

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

// Choice names, in the order of their enum's values.
const char* const kDisplayChoices[] = {"fullscreen", "desktop", "window"};
const char* const kScaleChoices[] = {"fit", "integer"};
const char* const kColourChoices[] = {"anaglyph", "flat"};
const char* const kSoundChoices[] = {"auto", "waveout", "directsound"};
const char* const kStereoChoices[] = {"off", "side-by-side", "side-by-side-half", "top-bottom"};

const SettingKey kKeys[] = {
    {"music_volume",
     SettingType::Integer,
     0,
     10,
     {},
     "Music volume in tenths: 0 is off, 10 is full (F2 on the pause screen).",
     Get<&Settings::musicvolume>,
     Set<&Settings::musicvolume>},
    {"effects_volume",
     SettingType::Integer,
     0,
     10,
     {},
     "Sound effects volume in tenths: 0 is off, 10 is full (F3 on the pause screen).",
     Get<&Settings::effectsvolume>,
     Set<&Settings::effectsvolume>},
    {"display", SettingType::Choice, 0, 0, kDisplayChoices,
     "fullscreen: the 640x480 display mode; desktop: full screen at the desktop's resolution,\n"
     "# scaled; window: a resizable window (Alt+Enter switches while playing).",
     Get<&Settings::display>, Set<&Settings::display>},
    {"scale", SettingType::Choice, 0, 0, kScaleChoices,
     "fit: as large as fits; integer: whole multiples only, sharp pixels (desktop and window).",
     Get<&Settings::scale>, Set<&Settings::scale>},
    {"colours", SettingType::Choice, 0, 0, kColourChoices,
     "anaglyph: red/cyan 3D for glasses; flat: each picture once in its own colours (F4 paused).",
     Get<&Settings::colours>, Set<&Settings::colours>},
    {"stereo", SettingType::Choice, 0, 0, kStereoChoices,
     "off: one picture; side-by-side: a view per eye, 1280x480 (display glasses, VR viewers);\n"
     "# side-by-side-half: squeezed to 640x480 (3D TVs); top-bottom: stacked, 640x960 (3D TVs).",
     Get<&Settings::stereo>, Set<&Settings::stereo>},
    {"sound_output", SettingType::Choice, 0, 0, kSoundChoices,
     "auto: wave-out, or DirectSound when that fails; waveout or directsound: that device only.",
     Get<&Settings::sound>, Set<&Settings::sound>},
};

constexpr char kHeader[] =
    "# Zumbrix - 3D Edition settings. One \"key = value\" a line; lines starting with # are\n"
    "# comments. The game rewrites this file when a setting changes and when it ends, keeping\n"
    "# comments and keys it does not know.\n";

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

// A line's key and value; false for a blank line or a comment, or a line with no "key =".
struct KeyLine {
  std::string_view key, value;
};
enum class LineKind { Blank, Pair, Damaged };
LineKind SplitLine(std::string_view line, KeyLine& out) {
  std::string_view text = Trim(line);
  if (text.empty() || text[0] == '#' || text[0] == ';') return LineKind::Blank;
  std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return LineKind::Damaged;
  out.key = Trim(text.substr(0, equals));
  out.value = Trim(text.substr(equals + 1));
  return out.key.empty() ? LineKind::Damaged : LineKind::Pair;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace

std::span<const SettingKey> SettingKeys() { return kKeys; }

const SettingKey* FindSettingKey(std::string_view name) {
  for (const SettingKey& key : kKeys) {
    if (name == key.name) return &key;
  }
  return nullptr;
}

SettingResult ApplySetting(Settings& settings, std::string_view name, std::string_view value) {
  const SettingKey* key = FindSettingKey(name);
  return key ? ApplySettingValue(*key, settings, value) : SettingResult::Unknown;
}

SettingResult ApplySettingValue(const SettingKey& key, Settings& settings, std::string_view value) {
  value = Trim(value);
  switch (key.type) {
    case SettingType::Integer: {
      long long number = 0;
      const char* end = value.data() + value.size();
      std::string_view digits = value.starts_with('+') ? value.substr(1) : value;
      auto [stop, error] = std::from_chars(digits.data(), end, number);
      if (digits.empty() || stop != end) return SettingResult::BadValue;
      // A number too long for any type is still out of range, on its own side.
      if (error == std::errc::result_out_of_range)
        number = digits[0] == '-' ? key.minimum : key.maximum + 1LL;
      long long clamped = std::clamp<long long>(number, key.minimum, key.maximum);
      key.set(settings, static_cast<int>(clamped));
      return clamped == number && error == std::errc() ? SettingResult::Set
                                                       : SettingResult::Clamped;
    }
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
  }
  return SettingResult::BadValue;
}

std::string SettingText(const SettingKey& key, const Settings& settings) {
  int value = key.get(settings);
  switch (key.type) {
    case SettingType::Integer:
      return std::to_string(value);
    case SettingType::Boolean:
      return value ? "true" : "false";
    case SettingType::Choice:
      if (value >= 0 && static_cast<std::size_t>(value) < key.choices.size()) {
        return key.choices[static_cast<std::size_t>(value)];
      }
      return key.choices.empty() ? "" : key.choices[0];
  }
  return {};
}

Settings ParseSettings(std::string_view text, const std::string& source) {
  Settings settings;
  int number = 0;
  for (std::string_view line : Lines(text)) {
    ++number;
    KeyLine pair;
    LineKind kind = SplitLine(line, pair);
    if (kind == LineKind::Blank) continue;
    if (kind == LineKind::Damaged) {
      std::fprintf(stderr, "%s:%d: not a \"key = value\" line; ignored\n", source.c_str(), number);
      continue;
    }
    const std::string key(pair.key), value(pair.value);
    switch (ApplySetting(settings, key, value)) {
      case SettingResult::Set:
      case SettingResult::Unknown:  // kept in the file for whatever wrote it
        break;
      case SettingResult::Clamped: {
        const SettingKey* known = FindSettingKey(key);
        std::fprintf(stderr, "%s:%d: %s = %s is out of range; using %s\n", source.c_str(), number,
                     key.c_str(), value.c_str(), SettingText(*known, settings).c_str());
        break;
      }
      case SettingResult::BadValue:
        std::fprintf(stderr, "%s:%d: \"%s\" is not a value for %s; ignored\n", source.c_str(),
                     number, value.c_str(), key.c_str());
        break;
    }
  }
  return settings;
}

std::string FormatSettings(const Settings& settings, std::string_view previous) {
  std::string out;
  std::vector<bool> written(std::size(kKeys), false);
  std::vector<std::string_view> lines = Lines(previous);
  if (lines.empty()) out = kHeader;
  for (std::string_view line : lines) {
    KeyLine pair;
    const SettingKey* key = nullptr;
    if (SplitLine(line, pair) == LineKind::Pair) key = FindSettingKey(pair.key);
    if (!key) {
      out.append(line).append("\n");
      continue;
    }
    // A key given twice is written once, where it first stood.
    std::size_t index = static_cast<std::size_t>(key - kKeys);
    if (written[index]) continue;
    written[index] = true;
    out.append(key->name).append(" = ").append(SettingText(*key, settings)).append("\n");
  }
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    if (written[i]) continue;
    const SettingKey& key = kKeys[i];
    if (!out.empty() && out.back() == '\n' && out.size() > 1 && out[out.size() - 2] != '\n') {
      out.append("\n");
    }
    out.append("# ").append(key.comment).append("\n");
    out.append(key.name).append(" = ").append(SettingText(key, settings)).append("\n");
  }
  return out;
}
