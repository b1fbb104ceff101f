// atomic_file.cpp - write beside, flush, sync, rename, sync the folder.
#include "core/atomic_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void SyncFolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  // A folder that cannot be synced still holds the renamed file.
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string fresh = path + ".new";
  // O_TRUNC: a part file left by a killed save is simply written over.
  int fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (written && std::rename(fresh.c_str(), path.c_str()) == 0) {
    SyncFolderOf(path);
    return true;
  }
  std::remove(fresh.c_str());
  return false;
}

bool CreateFolders(const std::string& folder, unsigned mode) {
  if (folder.empty()) return false;
  struct stat info;
  if (::stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  std::size_t slash = folder.find_last_of('/', folder.size() > 1 ? folder.size() - 2 : 0);
  if (slash != std::string::npos && slash > 0 && !CreateFolders(folder.substr(0, slash), mode)) {
    return false;
  }
  if (::mkdir(folder.c_str(), static_cast<mode_t>(mode)) == 0) return true;
  // Another process may have made it meanwhile.
  return errno == EEXIST && ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
