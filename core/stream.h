// stream.h - byte streams with typed little-endian reads and writes.
//
// TIO is the raw interface (position, size, seek, read, write); TStream adds typed values on top
// of it. Concrete streams: TCStream over a file (cstream.h), TRamStream over bytes in memory
// (ramstream.h). Streams are opened through the factory chain (stream_factory.h), which never
// throws: a missing file or an unknown protocol gives null.
//
// Reading past the end is not an error: ReadBytes stops quietly at the end, and the typed reads
// start from zero, so an Int read from a 2-byte stream holds those two bytes in its low half.
// A Read that returns nothing before the end raises TStreamReadException, a Write that writes
// nothing raises TStreamWriteException.
#pragma once

#include <cstdint>
#include <string>

#include "core/error.h"
#include "core/object.h"

class TStreamException : public TRuntimeError {
 public:
  using TRuntimeError::TRuntimeError;
};

class TStreamReadException : public TStreamException {
 public:
  TStreamReadException() : TStreamException("Error reading from stream") {}
};

class TStreamWriteException : public TStreamException {
 public:
  TStreamWriteException() : TStreamException("Error writing to stream") {}
};

class TIO : public TObject {
 public:
  // Destroying a stream closes it; subclasses that hold a resource close it in their own
  // destructor, since Close is virtual and cannot be dispatched from here.
  ~TIO() override = default;

  virtual bool Eof() { return Pos() == Size(); }
  virtual std::int64_t Pos() { return -1; }
  virtual std::int64_t Size() { return 0; }
  virtual std::int64_t Seek(std::int64_t /*pos*/) { return -1; }
  virtual void Flush() {}
  virtual void Close() {}
  // Returns the number of bytes moved; count <= 0 moves nothing.
  virtual std::int64_t Read(void* buf, std::int64_t count);
  virtual std::int64_t Write(const void* buf, std::int64_t count);
};

class TStream : public TIO {
 public:
  // Reads until `count` bytes arrived or the stream ends; returns `count` either way.
  std::int64_t ReadBytes(void* buf, std::int64_t count);
  std::int64_t WriteBytes(const void* buf, std::int64_t count);
  // Reads and discards up to `count` bytes; returns how many were skipped.
  std::int64_t SkipBytes(std::int64_t count);

  int ReadByte();   // 0 to 255
  int ReadShort();  // 0 to 65535
  std::int32_t ReadInt();
  std::int64_t ReadLong();
  float ReadFloat();
  double ReadDouble();
  void WriteByte(int value);
  void WriteShort(int value);
  void WriteInt(std::int32_t value);
  void WriteLong(std::int64_t value);
  void WriteFloat(float value);
  void WriteDouble(double value);

  // A line ends at "\n" (a "\r" before it is dropped) or at the end of the stream.
  std::string ReadLine();
  void WriteLine(const std::string& text);  // the text and "\r\n"
  std::string ReadString(std::int64_t length);
  void WriteString(const std::string& text);
};

// A stream that forwards every operation to another one.
class TStreamWrapper : public TStream {
 public:
  explicit TStreamWrapper(Ref<TStream> inner) : _stream(std::move(inner)) {}
  bool Eof() override { return _stream->Eof(); }
  std::int64_t Pos() override { return _stream->Pos(); }
  std::int64_t Size() override { return _stream->Size(); }
  std::int64_t Seek(std::int64_t pos) override { return _stream->Seek(pos); }
  void Flush() override { _stream->Flush(); }
  void Close() override { _stream->Close(); }
  std::int64_t Read(void* buf, std::int64_t count) override { return _stream->Read(buf, count); }
  std::int64_t Write(const void* buf, std::int64_t count) override {
    return _stream->Write(buf, count);
  }

  Ref<TStream> _stream;
};
