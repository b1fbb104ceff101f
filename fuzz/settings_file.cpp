// Fuzz target: arbitrary text as settings.ini. Reading must never crash or hang and must give
// values inside every key's range; rewriting the file must keep every line it does not own, and
// the rewritten text must read back to the same settings.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "game/settings.h"

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

}  // namespace

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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Settings read = ParseSettings(text, "fuzz.ini");
  for (const SettingKey& key : SettingKeys()) {
    const int value = key.get(read);
    if (key.type == SettingType::Integer) {
      Check(value >= key.minimum && value <= key.maximum, "an integer outside its range");
    } else if (key.type == SettingType::Choice) {
      Check(value >= 0 && static_cast<std::size_t>(value) < key.choices.size(), "a lost choice");
    }
  }
  const std::string written = FormatSettings(read, text);
  Check(ParseSettings(written, "fuzz.ini") == read, "the rewritten file reads differently");
  // Writing again changes nothing more.
  Check(FormatSettings(read, written) == written, "a second rewrite changed the text");
  return 0;
}
