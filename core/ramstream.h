// ramstream.h - a stream over bytes in memory. It never grows: writes stop at its end.
#pragma once

#include <vector>

#include "core/stream.h"

class TRamStream : public TStream {
 public:
  std::int64_t Pos() override { return _pos; }
  std::int64_t Size() override { return _size; }
  // Clamped to 0 .. Size().
  std::int64_t Seek(std::int64_t pos) override;
  std::int64_t Read(void* buf, std::int64_t count) override;
  std::int64_t Write(const void* buf, std::int64_t count) override;

  // A stream over `size` bytes at `buf`, which the caller keeps alive.
  static Ref<TRamStream> Create(void* buf, std::int64_t size, bool readable, bool writeable);
  // A stream that owns its bytes.
  static Ref<TRamStream> CreateOwning(std::vector<unsigned char> bytes, bool readable,
                                      bool writeable);

  std::int64_t _pos = 0;
  std::int64_t _size = 0;
  unsigned char* _buf = nullptr;
  bool _read = false;
  bool _write = false;

 private:
  std::vector<unsigned char> owned_;
};
