// file_kind.cpp - stat and access behind plain answers.
#include "core/file_kind.h"

#include <sys/stat.h>
#include <unistd.h>

PathKind KindOfPath(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return PathKind::kNothing;
  if (S_ISDIR(info.st_mode)) return PathKind::kFolder;
  return S_ISREG(info.st_mode) ? PathKind::kFile : PathKind::kOther;
}

bool CanWriteInFolder(const std::string& folder) { return ::access(folder.c_str(), W_OK) == 0; }
