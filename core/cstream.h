// cstream.h - a stream over a file of the C library's buffered file I/O.
#pragma once

#include <cstdio>

#include "core/stream.h"

class TCStream : public TStream {
 public:
  enum { MODE_READ = 1, MODE_WRITE = 2 };

  ~TCStream() override;

  std::int64_t Pos() override { return _pos; }
  std::int64_t Size() override { return _size; }
  std::int64_t Seek(std::int64_t pos) override;
  std::int64_t Read(void* buf, std::int64_t count) override;
  std::int64_t Write(const void* buf, std::int64_t count) override;
  void Flush() override;
  void Close() override;

  // Opens `path` ("\" and "/" both separate folders): for reading and writing the file must
  // exist; for writing only it is created or emptied. Null when it cannot be opened.
  static Ref<TCStream> OpenFile(const std::string& path, bool readable, bool writeable);
  // Takes over an open file; its current position becomes the stream's.
  static Ref<TCStream> CreateWithCStream(std::FILE* file, int mode);

  std::int64_t _pos = 0;
  std::int64_t _size = 0;
  std::FILE* _cstream = nullptr;
  int _mode = 0;
};

// The path with every "\" turned into "/", so that "data\hiscore.dat" names data/hiscore.dat.
std::string PortablePath(const std::string& path);
