// input_file.cpp - open, fstat and read behind InputFile.
#include "core/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

InputFile::InputFile(const std::string& path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return;
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    ::close(fd_);
    fd_ = -1;
    return;
  }
  kind_ = S_ISDIR(info.st_mode)   ? PathKind::kFolder
          : S_ISREG(info.st_mode) ? PathKind::kFile
                                  : PathKind::kOther;
  if (kind_ == PathKind::kFile) size_ = static_cast<std::uint64_t>(info.st_size);
  // Opened without waiting for a writer (a FIFO); read like any file from now on.
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
}

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

long InputFile::Read(std::uint8_t* data, std::size_t size) {
  if (fd_ < 0) return -1;
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd_, data + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return static_cast<long>(got);
}
