// file_kind.h - what is at a path (nothing, a folder, a regular file or something else), and
// whether a folder takes new files: the looks the game takes before it reads or writes its files.
// Needs POSIX file calls only.
#pragma once

#include <string>

enum class PathKind {
  kNothing,  // nothing there (or a link to nothing), or the path cannot be looked at
  kFolder,
  kFile,   // a regular file
  kOther,  // a FIFO, a device or a socket
};

// What `path` holds, its links followed. Any thread.
PathKind KindOfPath(const std::string& path);
// Whether this process may make files in `folder`. Any thread.
bool CanWriteInFolder(const std::string& folder);
