// user_folders.cpp - the XDG base folders with their defaults.
#include "core/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>
#include <vector>

#include "core/regular_file.h"

namespace {

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string BaseFolder(const char* variable, const char* under_home) {
  const char* value = std::getenv(variable);
  if (value && value[0] == '/') return WithoutTrailingSlash(value);
  std::string home = HomeFolder();
  return home.empty() ? std::string() : WithoutTrailingSlash(home + "/" + under_home);
}

// user-dirs.dirs is a few lines; anything much larger is not one.
constexpr std::size_t kMaxUserDirsFile = 64 * 1024;

// A value as the shell would read it: double quotes removed, a backslash keeping the character
// after it.
std::string Unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) ++i;
    out += value[i];
  }
  return out;
}

}  // namespace

std::string UserDirsEntry(const std::string& text, const std::string& name,
                          const std::string& home) {
  std::string found;
  std::string_view rest = text;
  while (!rest.empty()) {
    std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
      line.remove_suffix(1);
    }
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.empty() || line[0] == '#' || !line.starts_with(name) ||
        line.substr(name.size(), 1) != "=") {
      continue;
    }
    std::string value = Unquoted(line.substr(name.size() + 1));
    // The last line for the name wins, as when the shell sources the file.
    if (value == "$HOME" || value.starts_with("$HOME/")) {
      found = home.empty() ? std::string() : WithoutTrailingSlash(home + value.substr(5));
    } else if (value.starts_with('/')) {
      found = WithoutTrailingSlash(value);
    } else {
      found.clear();
    }
  }
  return found;
}

namespace {

// $XDG_<NAME>_DIR, else its line in user-dirs.dirs, else ~/`fallback`.
std::string UserDirsFolder(const char* name, const char* fallback) {
  const char* variable = std::getenv(name);
  if (variable && variable[0] == '/') return WithoutTrailingSlash(variable);
  const std::string home = HomeFolder();
  const std::string config = UserConfigHome();
  if (!config.empty()) {
    std::string text;
    if (ReadRegularFile(config + "/user-dirs.dirs", kMaxUserDirsFile, text) == FileRead::Read) {
      std::string folder = UserDirsEntry(text, name, home);
      if (!folder.empty()) return folder;
    }
  }
  return home.empty() ? std::string() : home + "/" + fallback;
}

}  // namespace

std::string UserPicturesFolder() { return UserDirsFolder("XDG_PICTURES_DIR", "Pictures"); }

std::string UserVideosFolder() { return UserDirsFolder("XDG_VIDEOS_DIR", "Videos"); }

std::vector<std::string> AccountNamesOf(const std::string& gecos, const std::string& login) {
  std::vector<std::string> names;
  const std::string full = gecos.substr(0, gecos.find(','));
  const std::size_t start = full.find_first_not_of(' ');
  if (start != std::string::npos) {
    names.push_back(full.substr(start, full.find(' ', start) - start));
  }
  if (!login.empty()) names.push_back(login);
  return names;
}

std::vector<std::string> AccountNames() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  struct passwd entry;
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found) {
    return {};
  }
  return AccountNamesOf(found->pw_gecos ? found->pw_gecos : "",
                        found->pw_name ? found->pw_name : "");
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return WithoutTrailingSlash(home);
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  struct passwd entry;
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_dir && found->pw_dir[0] == '/') {
    return WithoutTrailingSlash(found->pw_dir);
  }
  return {};
}

std::string UserDataHome() { return BaseFolder("XDG_DATA_HOME", ".local/share"); }

std::string UserConfigHome() { return BaseFolder("XDG_CONFIG_HOME", ".config"); }
