// atomic_file.cpp - follow links, write beside, flush, sync, rename, sync the folder.
#include "core/atomic_file.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// As many links as the kernel follows in one path before it calls it a loop.
constexpr int kMaxLinks = 40;

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

bool IsReadOnlyFile(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return false;
  // The mode bits first: access() lets the superuser write anything.
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
  return ::access(path.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS);
}

std::string FollowLinks(const std::string& path) {
  std::string at = path;
  for (int hop = 0; hop <= kMaxLinks; ++hop) {
    struct stat info;
    if (::lstat(at.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return at;
    std::vector<char> target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : PATH_MAX) +
                             1);
    ssize_t n = ::readlink(at.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<std::size_t>(n) >= target.size()) return at;  // changed meanwhile
    std::string next(target.data(), static_cast<std::size_t>(n));
    if (next.empty()) return at;
    if (next[0] != '/') {
      std::size_t slash = at.find_last_of('/');
      if (slash != std::string::npos) next = at.substr(0, slash + 1) + next;
    }
    at = std::move(next);
  }
  return {};
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  // The new file goes beside the file itself: renaming over a link would replace the link, and a
  // part file beside the link could be on another file system than the target.
  const std::string target = FollowLinks(path);
  if (target.empty()) return false;
  const std::string fresh = target + ".new";
  // O_TRUNC: a part file left by a killed save is simply written over.
  int fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  // The file keeps the permissions it had (a settings file made private stays private).
  struct stat old;
  if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
  bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (written && std::rename(fresh.c_str(), target.c_str()) == 0) {
    SyncFolderOf(target);
    return true;
  }
  std::remove(fresh.c_str());
  return false;
}

std::string AtomicWriteProblem(const std::string& path) {
  const std::string target = FollowLinks(path);
  if (target.empty()) return "the links go round in a loop";
  struct stat info;
  if (::stat(target.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return "it is a folder";
  const std::string fresh = target + ".new";
  int fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  const bool made = fd >= 0;
  if (!made && errno == EEXIST) fd = ::open(fresh.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  ::close(fd);
  if (made) ::unlink(fresh.c_str());
  return {};
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
