// user_folders.cpp - the XDG base folders with their defaults.
#include "core/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

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

}  // namespace

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
