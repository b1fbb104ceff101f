// regular_file.cpp - open without blocking, check the kind and size, then read.
#include "core/regular_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileRead ReadRegularFile(const std::string& path, std::size_t limit, std::string& text) {
  text.clear();
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::Unreadable;
  struct stat info;
  FileRead result = FileRead::Read;
  if (::fstat(fd, &info) != 0) {
    result = FileRead::Unreadable;
  } else if (!S_ISREG(info.st_mode)) {
    result = FileRead::NotAFile;
  } else if (static_cast<unsigned long long>(info.st_size) > limit) {
    result = FileRead::TooLarge;
  } else {
    // The size is a hint only: the file may grow while it is read, up to the limit.
    char buffer[16384];
    for (;;) {
      ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        result = FileRead::Unreadable;
        break;
      }
      if (n == 0) break;
      if (text.size() + static_cast<std::size_t>(n) > limit) {
        result = FileRead::TooLarge;
        break;
      }
      text.append(buffer, static_cast<std::size_t>(n));
    }
  }
  ::close(fd);
  if (result != FileRead::Read) text.clear();
  return result;
}

const char* FileReadProblem(FileRead read) {
  switch (read) {
    case FileRead::Read:
      return "was read";
    case FileRead::Missing:
      return "does not exist";
    case FileRead::NotAFile:
      return "is not a regular file";
    case FileRead::TooLarge:
      return "is too large";
    case FileRead::Unreadable:
      return "cannot be read";
  }
  return "cannot be read";
}
