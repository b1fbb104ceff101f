// stream.cpp - the typed operations every stream shares. Values are little-endian on the stream
// whatever the machine's order.
#include "core/stream.h"

#include <cstring>

std::int64_t TIO::Read(void*, std::int64_t) { RuntimeError("Stream is not readable"); }

std::int64_t TIO::Write(const void*, std::int64_t) { RuntimeError("Stream is not writeable"); }

std::int64_t TStream::ReadBytes(void* buf, std::int64_t count) {
  auto* p = static_cast<unsigned char*>(buf);
  std::int64_t left = count;
  while (left > 0 && !Eof()) {
    std::int64_t n = Read(p, left);
    if (n <= 0) throw TStreamReadException();
    p += n;
    left -= n;
  }
  return count;
}

std::int64_t TStream::WriteBytes(const void* buf, std::int64_t count) {
  auto* p = static_cast<const unsigned char*>(buf);
  std::int64_t left = count;
  while (left > 0) {
    std::int64_t n = Write(p, left);
    if (n <= 0) throw TStreamWriteException();
    p += n;
    left -= n;
  }
  return count;
}

std::int64_t TStream::SkipBytes(std::int64_t count) {
  unsigned char scratch[4096];
  std::int64_t skipped = 0;
  while (skipped < count && !Eof()) {
    std::int64_t want = count - skipped;
    if (want > static_cast<std::int64_t>(sizeof scratch)) want = sizeof scratch;
    std::int64_t n = Read(scratch, want);
    if (n <= 0) break;
    skipped += n;
  }
  return skipped;
}

namespace {

// Reads up to `size` bytes as an unsigned little-endian number; missing bytes stay zero.
std::uint64_t ReadLittle(TStream& s, int size) {
  unsigned char bytes[8] = {};
  s.ReadBytes(bytes, size);
  std::uint64_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | bytes[i];
  return v;
}

void WriteLittle(TStream& s, std::uint64_t v, int size) {
  unsigned char bytes[8];
  for (int i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(v >> (8 * i));
  s.WriteBytes(bytes, size);
}

}  // namespace

int TStream::ReadByte() { return static_cast<int>(ReadLittle(*this, 1)); }
int TStream::ReadShort() { return static_cast<int>(ReadLittle(*this, 2)); }
std::int32_t TStream::ReadInt() { return static_cast<std::int32_t>(ReadLittle(*this, 4)); }
std::int64_t TStream::ReadLong() { return static_cast<std::int64_t>(ReadLittle(*this, 8)); }

float TStream::ReadFloat() {
  auto bits = static_cast<std::uint32_t>(ReadLittle(*this, 4));
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}

double TStream::ReadDouble() {
  std::uint64_t bits = ReadLittle(*this, 8);
  double d;
  std::memcpy(&d, &bits, 8);
  return d;
}

void TStream::WriteByte(int value) { WriteLittle(*this, static_cast<std::uint8_t>(value), 1); }
void TStream::WriteShort(int value) { WriteLittle(*this, static_cast<std::uint16_t>(value), 2); }
void TStream::WriteInt(std::int32_t value) {
  WriteLittle(*this, static_cast<std::uint32_t>(value), 4);
}
void TStream::WriteLong(std::int64_t value) {
  WriteLittle(*this, static_cast<std::uint64_t>(value), 8);
}

void TStream::WriteFloat(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, 4);
  WriteLittle(*this, bits, 4);
}

void TStream::WriteDouble(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, 8);
  WriteLittle(*this, bits, 8);
}

std::string TStream::ReadLine() {
  std::string line;
  while (!Eof()) {
    char c = 0;
    if (Read(&c, 1) <= 0) throw TStreamReadException();
    if (c == '\n') break;
    line.push_back(c);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void TStream::WriteLine(const std::string& text) {
  WriteString(text);
  WriteBytes("\r\n", 2);
}

std::string TStream::ReadString(std::int64_t length) {
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  ReadBytes(text.data(), length);
  return text;
}

void TStream::WriteString(const std::string& text) {
  WriteBytes(text.data(), static_cast<std::int64_t>(text.size()));
}
