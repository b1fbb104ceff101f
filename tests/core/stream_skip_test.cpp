// SkipBytes over counts larger than its scratch buffer, on streams that read in full and on
// streams that hand out a little at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/ramstream.h"

namespace {

std::vector<unsigned char> Pattern(int size) {
  std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
  for (int i = 0; i < size; ++i)
    bytes[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i * 7 % 251);
  return bytes;
}

int PatternAt(std::int64_t i) { return static_cast<int>(i * 7 % 251); }

// A stream that hands out at most `chunk` bytes per Read, as pipes and sockets do.
class TrickleStream : public TStream {
 public:
  TrickleStream(std::vector<unsigned char> bytes, std::int64_t chunk)
      : bytes_(std::move(bytes)), chunk_(chunk) {}
  std::int64_t Pos() override { return pos_; }
  std::int64_t Size() override { return static_cast<std::int64_t>(bytes_.size()); }
  std::int64_t Read(void* buf, std::int64_t count) override {
    const std::int64_t n = std::min({count, chunk_, Size() - pos_});
    if (n <= 0) return 0;
    std::copy_n(bytes_.begin() + pos_, n, static_cast<unsigned char*>(buf));
    pos_ += n;
    ++reads;
    return n;
  }
  int reads = 0;

 private:
  std::vector<unsigned char> bytes_;
  std::int64_t chunk_;
  std::int64_t pos_ = 0;
};

TEST(StreamSkip, SkipsPastTheScratchBufferAndStopsAtTheEnd) {
  const int size = 80000;
  Ref<TRamStream> s = TRamStream::CreateOwning(Pattern(size), true, false);
  std::int64_t at = 0;
  for (std::int64_t count : {0, 1, 4095, 4096, 4097, 8192, 12289, 20000}) {
    SCOPED_TRACE(count);
    EXPECT_EQ(s->SkipBytes(count), count);
    at += count;
    EXPECT_EQ(s->Pos(), at);
    EXPECT_EQ(s->ReadByte(), PatternAt(at));
    ++at;
  }
  EXPECT_EQ(s->SkipBytes(-5), 0);
  EXPECT_EQ(s->Pos(), at);
  // More than is left: what was left, and the stream is at its end.
  EXPECT_EQ(s->SkipBytes(100000), size - at);
  EXPECT_TRUE(s->Eof());
  EXPECT_EQ(s->SkipBytes(10), 0);
}

TEST(StreamSkip, ShortReadsStillSkipTheWholeCount) {
  for (std::int64_t chunk : {1, 1000, 4095, 4097, 100000}) {
    SCOPED_TRACE(chunk);
    TrickleStream s(Pattern(30000), chunk);
    EXPECT_EQ(s.SkipBytes(10000), 10000);
    EXPECT_EQ(s.Pos(), 10000);
    EXPECT_EQ(s.ReadByte(), PatternAt(10000));
    EXPECT_EQ(s.SkipBytes(25000), 30000 - 10001);
    EXPECT_TRUE(s.Eof());
  }
}

}  // namespace
