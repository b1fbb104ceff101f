// replay_bytes.h - the byte-level pieces of a replay file: fixed little-endian numbers,
// variable-length integers (seven bits a byte, low first; signed ones zigzag-coded) and float bit
// patterns, written to a growing buffer or read within bounds.
//
// A read past the end, or a number too long or out of range, sets `bad` and gives 0: a parser
// reads on and checks `bad` where it is convenient, never outside its buffer. Any thread.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class ReplayBytesOut {
 public:
  void Byte(std::uint8_t b) { out.push_back(b); }
  void Fixed(std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void Unsigned(std::uint64_t v) {
    while (v >= 0x80) {
      out.push_back(static_cast<std::uint8_t>(v | 0x80));
      v >>= 7;
    }
    out.push_back(static_cast<std::uint8_t>(v));
  }
  void Signed(std::int64_t v) {
    Unsigned((static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63));
  }
  void Float(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    Fixed(bits, 4);
  }
  void Bytes(const std::vector<std::uint8_t>& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
  }

  std::vector<std::uint8_t> out;
};

class ReplayBytesIn {
 public:
  ReplayBytesIn(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}

  bool AtEnd() const { return p_ == end_; }
  std::size_t Left() const { return static_cast<std::size_t>(end_ - p_); }
  const std::uint8_t* Here() const { return p_; }

  std::uint8_t Byte() {
    if (p_ == end_) {
      bad = true;
      return 0;
    }
    return *p_++;
  }
  std::uint64_t Fixed(int bytes) {
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint64_t>(Byte()) << (8 * i);
    return v;
  }
  std::uint64_t Unsigned() {
    std::uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      const std::uint8_t b = Byte();
      v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return v;
    }
    bad = true;
    return 0;
  }
  // An unsigned number no larger than `most`.
  std::uint64_t Unsigned(std::uint64_t most) {
    const std::uint64_t v = Unsigned();
    if (v > most) {
      bad = true;
      return 0;
    }
    return v;
  }
  std::int64_t Signed() {
    const std::uint64_t u = Unsigned();
    return static_cast<std::int64_t>(u >> 1) ^ -static_cast<std::int64_t>(u & 1);
  }
  int Int() {
    const std::int64_t v = Signed();
    if (v < INT_MIN || v > INT_MAX) {
      bad = true;
      return 0;
    }
    return static_cast<int>(v);
  }
  // An int from `least` to `most`.
  int Int(int least, int most) {
    const int v = Int();
    if (v < least || v > most) {
      bad = true;
      return least;
    }
    return v;
  }
  float Float() {
    const auto bits = static_cast<std::uint32_t>(Fixed(4));
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  // `size` bytes, or none (and bad) when fewer are left.
  std::vector<std::uint8_t> Take(std::size_t size) {
    if (Left() < size) {
      bad = true;
      p_ = end_;
      return {};
    }
    std::vector<std::uint8_t> bytes(p_, p_ + size);
    p_ += size;
    return bytes;
  }
  void Skip(std::size_t size) {
    if (Left() < size) {
      bad = true;
      p_ = end_;
      return;
    }
    p_ += size;
  }

  bool bad = false;

 private:
  const std::uint8_t* p_;
  const std::uint8_t* end_;
};
