// ramstream.cpp - memory streams.
#include "core/ramstream.h"

#include <cstring>

Ref<TRamStream> TRamStream::Create(void* buf, std::int64_t size, bool readable, bool writeable) {
  Ref<TRamStream> s = New<TRamStream>();
  s->_buf = static_cast<unsigned char*>(buf);
  s->_size = size < 0 ? 0 : size;
  s->_read = readable;
  s->_write = writeable;
  return s;
}

Ref<TRamStream> TRamStream::CreateOwning(std::vector<unsigned char> bytes, bool readable,
                                         bool writeable) {
  Ref<TRamStream> s = Create(nullptr, 0, readable, writeable);
  s->owned_ = std::move(bytes);
  s->_buf = s->owned_.data();
  s->_size = static_cast<std::int64_t>(s->owned_.size());
  return s;
}

std::int64_t TRamStream::Seek(std::int64_t pos) {
  if (pos < 0) pos = 0;
  if (pos > _size) pos = _size;
  _pos = pos;
  return _pos;
}

std::int64_t TRamStream::Read(void* buf, std::int64_t count) {
  if (count <= 0 || !_read) return 0;
  if (count > _size - _pos) count = _size - _pos;
  if (count <= 0) return 0;
  std::memcpy(buf, _buf + _pos, static_cast<std::size_t>(count));
  _pos += count;
  return count;
}

std::int64_t TRamStream::Write(const void* buf, std::int64_t count) {
  if (count <= 0 || !_write) return 0;
  if (count > _size - _pos) count = _size - _pos;
  if (count <= 0) return 0;
  std::memcpy(_buf + _pos, buf, static_cast<std::size_t>(count));
  _pos += count;
  return count;
}
