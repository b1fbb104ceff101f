// cstream.cpp - file streams. Position and size are kept in the stream, so that Pos and Size cost
// no system call.
#include "core/cstream.h"

#include <algorithm>

std::string PortablePath(const std::string& path) {
  std::string p = path;
  std::replace(p.begin(), p.end(), '\\', '/');
  return p;
}

TCStream::~TCStream() { Close(); }

Ref<TCStream> TCStream::OpenFile(const std::string& path, bool readable, bool writeable) {
  int mode = (readable ? MODE_READ : 0) | (writeable ? MODE_WRITE : 0);
  const char* how = mode == (MODE_READ | MODE_WRITE) ? "r+b" : mode == MODE_WRITE ? "wb" : "rb";
  if (mode == 0) mode = MODE_READ;
  std::FILE* file = std::fopen(PortablePath(path).c_str(), how);
  if (!file) return nullptr;
  return CreateWithCStream(file, mode);
}

Ref<TCStream> TCStream::CreateWithCStream(std::FILE* file, int mode) {
  Ref<TCStream> s = New<TCStream>();
  s->_cstream = file;
  s->_mode = mode;
  s->_pos = std::ftell(file);
  std::fseek(file, 0, SEEK_END);
  s->_size = std::ftell(file);
  std::fseek(file, static_cast<long>(s->_pos), SEEK_SET);
  return s;
}

std::int64_t TCStream::Seek(std::int64_t pos) {
  if (!_cstream) return -1;
  std::fseek(_cstream, static_cast<long>(pos), SEEK_SET);
  _pos = std::ftell(_cstream);
  return _pos;
}

std::int64_t TCStream::Read(void* buf, std::int64_t count) {
  if (!_cstream || count <= 0) return 0;
  auto n = static_cast<std::int64_t>(std::fread(buf, 1, static_cast<std::size_t>(count), _cstream));
  _pos += n;
  return n;
}

std::int64_t TCStream::Write(const void* buf, std::int64_t count) {
  if (!_cstream || count <= 0) return 0;
  auto n =
      static_cast<std::int64_t>(std::fwrite(buf, 1, static_cast<std::size_t>(count), _cstream));
  _pos += n;
  if (_pos > _size) _size = _pos;
  return n;
}

void TCStream::Flush() {
  if (_cstream) std::fflush(_cstream);
}

void TCStream::Close() {
  if (!_cstream) return;
  std::fflush(_cstream);
  std::fclose(_cstream);
  _cstream = nullptr;
  _pos = 0;
  _size = 0;
}
