// input_file.h - a file opened for reading in pieces, a FIFO or a pipe as well as a regular file:
// opening never waits for a FIFO's writer, and the reads then wait for data as any file's do.
// Needs POSIX file calls only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/file_kind.h"

class InputFile {
 public:
  // Opens `path` (links followed); IsOpen() says whether it could be. Any thread.
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Whether the path could be opened for reading.
  bool IsOpen() const { return fd_ >= 0; }
  // What was opened: kFile, kFolder or kOther (a FIFO, a device); kNothing when not open.
  PathKind Kind() const { return kind_; }
  // A regular file's size in bytes when opened; 0 for anything else.
  std::uint64_t Size() const { return size_; }
  // Reads up to `size` bytes into `data`, fewer only at the end of the file; -1 on an error.
  long Read(std::uint8_t* data, std::size_t size);

 private:
  int fd_ = -1;
  PathKind kind_ = PathKind::kNothing;
  std::uint64_t size_ = 0;
};
