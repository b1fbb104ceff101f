// Fuzz target: arbitrary text as settings.ini. Reading must never crash or hang and must give
// values inside every key's range; rewriting the file must keep every line it does not own, and
// the rewritten text must read back to the same settings. A save's merge (only some keys
// rewritten, with values from elsewhere) must read back to exactly those values over the file's
// own, keep a byte order mark once, and keep a CRLF file CRLF.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "game/config/settings.h"

namespace {

// The reader names every damaged line on stderr, a line per run; the fuzzer is told to close
// the target's stderr (its own reports still reach the terminal), and a broken check reports
// through a copy of stderr made before that.
std::FILE* checks = stderr;

void Check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(checks, "settings fuzz: %s\n", what);
    std::fflush(checks);
    std::abort();
  }
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  const int copy = ::dup(2);
  if (copy >= 0) checks = ::fdopen(copy, "w");
  if (!checks) checks = stderr;
  static std::vector<char*> args(*argv, *argv + *argc);
  static char close_stderr[] = "-close_fd_mask=2";
  args.insert(args.begin() + 1, close_stderr);
  args.push_back(nullptr);
  *argc += 1;
  *argv = args.data();
  return 0;
}

// Every line of `text` that is not a line of one of `keys` (whose lines the merge rewrites) is
// in `out`, in order and whole.
bool KeepsOtherLines(std::string_view text, std::string_view out, SettingKeySet keys) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::size_t at = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // The line's key, as the reader sees it ("key = ..."; comments and blanks have none).
    const std::size_t first = line.find_first_not_of(" \t\r");
    const std::size_t equals = line.find('=');
    bool owned = false;
    if (first != std::string_view::npos && line[first] != '#' && line[first] != ';' &&
        equals != std::string_view::npos) {
      std::string_view key = line.substr(0, equals);
      const std::size_t kfirst = key.find_first_not_of(" \t\r");
      if (kfirst != std::string_view::npos) {
        key = key.substr(kfirst, key.find_last_not_of(" \t\r") - kfirst + 1);
        for (std::size_t i = 0; i < SettingKeys().size(); ++i) {
          if (key == SettingKeys()[i].name && (keys & (SettingKeySet{1} << i))) owned = true;
        }
      }
    }
    if (owned) continue;
    at = out.find(line, at);
    if (at == std::string_view::npos) return false;
    at += line.size();
  }
  return true;
}

bool AllCrlf(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte picks the keys a save rewrites and the second the values it brings; the rest
  // is the file.
  const SettingKeySet keys = size > 0 ? data[0] : 0;
  Settings changed;
  for (std::size_t i = 0; i < SettingKeys().size(); ++i) {
    const SettingKey& key = SettingKeys()[i];
    const int pick = size > 1 ? (data[1] >> i) & 1 : 0;
    if (key.type == SettingType::Choice)
      key.set(changed, pick % static_cast<int>(key.choices.size()));
  }
  if (size >= 2) {
    data += 2;
    size -= 2;
  }
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Settings read = ParseSettings(text, "fuzz.ini");
  for (const SettingKey& key : SettingKeys()) {
    const int value = key.get(read);
    if (key.type == SettingType::Choice) {
      Check(value >= 0 && static_cast<std::size_t>(value) < key.choices.size(), "a lost choice");
    }
  }
  const std::string written = FormatSettings(read, text);
  Check(ParseSettings(written, "fuzz.ini") == read, "the rewritten file reads differently");
  // Writing again changes nothing more.
  Check(FormatSettings(read, written) == written, "a second rewrite changed the text");

  // A save's merge: only `keys` take the values of `changed`; everything else stays.
  const std::string merged = FormatSettings(WithSettingKeys(read, changed, keys), text, keys);
  const bool fresh = text.empty() || text == "\xEF\xBB\xBF";
  Check(ReadSettingsQuietly(merged) == WithSettingKeys(read, changed, keys),
        "a merge reads back differently");
  Check(fresh || KeepsOtherLines(text, merged, keys), "a merge lost a line it does not own");
  const std::string_view bom = "\xEF\xBB\xBF";
  const std::string twice = std::string(bom) + std::string(bom);
  Check(text.starts_with(bom) == merged.starts_with(bom) &&
            text.starts_with(twice) == merged.starts_with(twice),
        "a byte order mark was lost or doubled");
  Check(text.find('\n') == std::string_view::npos || !AllCrlf(text) ||
            (AllCrlf(merged) && AllCrlf(written)),
        "a CRLF file got a bare line end");
  return 0;
}
