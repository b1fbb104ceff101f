// Streams: files, memory and embedded files, their typed values and seeks, and skipping past
// the end.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>
#include <algorithm>
#include <cstdint>
#include "core/cstream.h"
#include "core/incbin.h"
#include "core/ramstream.h"
#include "core/stream_factory.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zx_stream_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Put(const std::string& name, const std::vector<unsigned char>& bytes) const {
    std::ofstream out(Path(name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
  }
  void PutText(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }

  fs::path dir_;
};

TEST_F(FileTest, TypedValuesRoundTripLittleEndian) {
  Ref<TStream> out = WriteFile(Path("values.bin"));
  ASSERT_TRUE(out);
  out->WriteByte(0x1ff);  // only the low byte is kept
  out->WriteShort(0x1234);
  out->WriteInt(-2);
  out->WriteLong(0x0102030405060708LL);
  out->WriteFloat(1.5f);
  out->WriteDouble(-0.25);
  out->WriteLine("hi");
  EXPECT_EQ(out->Size(), 1 + 2 + 4 + 8 + 4 + 8 + 4);
  CloseStream(out);

  std::ifstream raw(Path("values.bin"), std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(raw)), {});
  ASSERT_GE(bytes.size(), 7u);
  EXPECT_EQ(bytes[0], 0xff);
  EXPECT_EQ(bytes[1], 0x34);  // low byte first
  EXPECT_EQ(bytes[2], 0x12);
  EXPECT_EQ(bytes[3], 0xfe);

  Ref<TStream> in = ReadFile(Path("values.bin"));
  ASSERT_TRUE(in);
  EXPECT_EQ(in->ReadByte(), 255);
  EXPECT_EQ(in->ReadShort(), 0x1234);
  EXPECT_EQ(in->ReadInt(), -2);
  EXPECT_EQ(in->ReadLong(), 0x0102030405060708LL);
  EXPECT_EQ(in->ReadFloat(), 1.5f);
  EXPECT_EQ(in->ReadDouble(), -0.25);
  EXPECT_EQ(in->ReadLine(), "hi");
  EXPECT_TRUE(in->Eof());
}

TEST_F(FileTest, ShortAndEmptyFilesReadAsFarAsTheyGo) {
  Put("two.bin", {0x34, 0x12});
  Put("empty.bin", {});
  Ref<TStream> two = ReadFile(Path("two.bin"));
  ASSERT_TRUE(two);
  EXPECT_EQ(ReadInt(two), 4660);
  EXPECT_EQ(ReadInt(two), 0);  // at the end: nothing more, no error
  Ref<TStream> empty = ReadFile(Path("empty.bin"));
  ASSERT_TRUE(empty);
  EXPECT_EQ(ReadInt(empty), 0);
  EXPECT_EQ(empty->ReadDouble(), 0.0);
}

TEST_F(FileTest, MissingFileGivesNullWithoutThrowing) {
  EXPECT_EQ(ReadFile(Path("nothing.dat")), nullptr);
  EXPECT_EQ(OpenFile(Path("nothing.dat"), true, true), nullptr);
  EXPECT_EQ(WriteFile(Path("no/such/folder/x.dat")), nullptr);
  EXPECT_EQ(FileType(Path("nothing.dat")), 0);
}

TEST_F(FileTest, BackslashesOpenTheSameFile) {
  fs::create_directories(dir_ / "data");
  Put("data/hiscore.dat", {1, 0, 0, 0});
  std::string windows = dir_.string() + "\\data\\hiscore.dat";
  Ref<TStream> s = ReadFile(windows);
  ASSERT_TRUE(s);
  EXPECT_EQ(ReadInt(s), 1);
  EXPECT_EQ(FileType(windows), 1);
  EXPECT_EQ(FileType(dir_.string() + "\\data"), 2);
}

TEST_F(FileTest, WriteFileEmptiesAnExistingFile) {
  Put("old.bin", {1, 2, 3, 4, 5, 6, 7, 8});
  Ref<TStream> s = WriteFile(Path("old.bin"));
  ASSERT_TRUE(s);
  EXPECT_EQ(s->Size(), 0);
  WriteInt(s, 7);
  CloseStream(s);
  EXPECT_EQ(fs::file_size(Path("old.bin")), 4u);
}

TEST_F(FileTest, ReadWriteModeKeepsContentsAndGrowsSize) {
  Put("rw.bin", {1, 0, 0, 0});
  Ref<TStream> s = OpenFile(Path("rw.bin"), true, true);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->Size(), 4);
  s->Seek(4);
  s->WriteInt(2);
  EXPECT_EQ(s->Size(), 8);
  s->Seek(0);
  EXPECT_EQ(s->ReadInt(), 1);
  EXPECT_EQ(s->ReadInt(), 2);
}

TEST_F(FileTest, ReadingAWriteOnlyFileRaisesTheReadError) {
  Ref<TStream> s = WriteFile(Path("w.bin"));
  ASSERT_TRUE(s);
  s->WriteInt(5);
  s->Seek(0);
  try {
    s->ReadInt();
    FAIL() << "read from a write-only file";
  } catch (const TStreamReadException& e) {
    EXPECT_STREQ(e.what(), "Error reading from stream");
  }
}

TEST_F(FileTest, ClosedStreamForgetsItsFile) {
  Put("c.bin", {9, 9});
  Ref<TStream> s = ReadFile(Path("c.bin"));
  CloseStream(s);
  EXPECT_EQ(s->Pos(), 0);
  EXPECT_EQ(s->Size(), 0);
  CloseStream(s);  // twice is harmless
}

TEST(RamStream, SeekIsClampedAndWritesNeverGrow) {
  unsigned char buf[6] = {1, 2, 3, 4, 5, 6};
  Ref<TRamStream> s = TRamStream::Create(buf, 6, true, true);
  EXPECT_EQ(s->Seek(-5), 0);
  EXPECT_EQ(s->Seek(100), 6);
  EXPECT_EQ(s->Pos(), 6);
  s->Seek(4);
  unsigned char out[4] = {0xaa, 0xbb, 0xcc, 0xdd};
  EXPECT_EQ(s->Write(out, 4), 2);
  EXPECT_EQ(buf[4], 0xaa);
  EXPECT_EQ(buf[5], 0xbb);
  EXPECT_EQ(s->Size(), 6);
  EXPECT_THROW(s->WriteInt(1), TStreamWriteException);  // nothing more fits
  EXPECT_EQ(s->Read(out, 0), 0);
  EXPECT_EQ(s->Read(out, -3), 0);
}

TEST(RamStream, ReadOnlyAndUnreadableStreams) {
  unsigned char buf[4] = {1, 2, 3, 4};
  Ref<TRamStream> ro = TRamStream::Create(buf, 4, true, false);
  EXPECT_EQ(ro->Write(buf, 1), 0);
  EXPECT_THROW(ro->WriteByte(1), TStreamWriteException);
  Ref<TRamStream> wo = TRamStream::Create(buf, 4, false, true);
  EXPECT_THROW(wo->ReadInt(), TStreamReadException);
}

TEST(RamStream, BaseStreamRefusesReadAndWrite) {
  TStream bare;
  char c;
  try {
    bare.Read(&c, 1);
    FAIL();
  } catch (const TRuntimeError& e) {
    EXPECT_STREQ(e.what(), "Stream is not readable");
  }
  try {
    bare.Write(&c, 1);
    FAIL();
  } catch (const TRuntimeError& e) {
    EXPECT_STREQ(e.what(), "Stream is not writeable");
  }
}

TEST(Incbin, EmbeddedFileOpensByNameInAnyProtocolCase) {
  const std::string expected = "Zumbrix embedded fixture\n";
  for (const char* url : {"incbin::fixture.txt", "INCBIN::fixture.txt", "InCbIn::fixture.txt"}) {
    Ref<TStream> s = ReadFile(url);
    ASSERT_TRUE(s) << url;
    EXPECT_EQ(s->Size(), static_cast<std::int64_t>(expected.size()));
    EXPECT_EQ(s->ReadString(s->Size()), expected);
  }
  EXPECT_EQ(ReadFile("incbin::FIXTURE.TXT"), nullptr);  // the name must match exactly
  EXPECT_EQ(ReadFile("incbin::never-registered"), nullptr);
  EXPECT_EQ(ReadFile("gopher::fixture.txt"), nullptr);
}

TEST(Incbin, EmbeddedFileCannotBeOpenedForWriting) {
  EXPECT_EQ(WriteFile("incbin::fixture.txt"), nullptr);
  EXPECT_EQ(OpenFile("incbin::fixture.txt", true, true), nullptr);
}

TEST(Incbin, FirstRegistrationOfANameStays) {
  static const unsigned char one[] = {1}, two[] = {2, 2};
  EXPECT_EQ(RegisterIncbin("dup-test", one, 1), 1);
  EXPECT_EQ(RegisterIncbin("dup-test", two, 2), 0);
  IncbinFile f = FindIncbin("dup-test");
  EXPECT_EQ(f.bytes, one);
  EXPECT_EQ(f.size, 1u);
}

// A stream that cannot tell its position: OpenFile reads it into memory.
class BlindStream : public TStream {
 public:
  std::int64_t Read(void* buf, std::int64_t count) override {
    if (left_ == 0 || count <= 0) return 0;
    *static_cast<unsigned char*>(buf) = static_cast<unsigned char>(left_--);
    return 1;
  }
  int left_ = 3;
};

TEST(Factory, StreamsAreWrappedAndBlindOnesBuffered) {
  Ref<TStream> blind = New<BlindStream>();
  Ref<TStream> s = ReadFile(blind);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->Size(), 3);
  EXPECT_EQ(s->ReadByte(), 3);
  EXPECT_EQ(s->ReadShort(), 0x0102);

  unsigned char buf[2] = {5, 6};
  Ref<TStream> ram = TRamStream::Create(buf, 2, true, false);
  Ref<TStream> wrapped = StreamFromUrl(ram, true, false);
  ASSERT_TRUE(wrapped);
  EXPECT_NE(wrapped.get(), ram.get());
  EXPECT_EQ(wrapped->ReadShort(), 0x0605);
  EXPECT_EQ(ram->Pos(), 2);  // the wrapper moved the stream it wraps
}

// A factory for a protocol of its own, asked before the older ones.
class EchoFactory : public TStreamFactory {
 public:
  Ref<TStream> CreateStream(const std::string&, const std::string& protocol,
                            const std::string& path, bool, bool) override {
    if (protocol != "echo") return nullptr;
    text_ = path;
    return TRamStream::Create(text_.data(), static_cast<std::int64_t>(text_.size()), true, false);
  }
  std::string text_;
};

TEST(Factory, NewFactoriesJoinTheChain) {
  {
    EchoFactory echo;
    Ref<TStream> s = ReadFile("ECHO::a::b");  // split at the first "::"
    ASSERT_TRUE(s);
    EXPECT_EQ(s->ReadString(4), "a::b");
  }
  EXPECT_EQ(ReadFile("echo::x"), nullptr);  // gone with its factory
}

}  // namespace

// SkipBytes over counts larger than its scratch buffer, on streams that read in full and on
// streams that hand out a little at a time.

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

// The edges of the stream layer: closed files, the open modes, line endings, streams that cannot
// be read, and factories leaving the chain out of order.

namespace {

using StreamEdges = FileTest;

TEST_F(StreamEdges, AClosedFileMovesNothingAndWritingToItRaisesTheWriteError) {
  PutText("f.bin", "abcd");
  Ref<TStream> s = OpenFile(Path("f.bin"), true, true);
  ASSERT_TRUE(s);
  CloseStream(s);
  char buf[4];
  EXPECT_EQ(s->Seek(2), -1);
  EXPECT_EQ(s->Read(buf, 4), 0);
  EXPECT_EQ(s->Write("xy", 2), 0);
  s->Flush();                                           // harmless
  EXPECT_THROW(s->WriteInt(1), TStreamWriteException);  // no silent loss
  EXPECT_EQ(s->ReadInt(), 0);                           // at its end: nothing, no error
}

TEST_F(StreamEdges, OpenModesDecideWhatTheFileAllows) {
  PutText("f.bin", "abcd");
  // Asking for neither reads: the file is left as it was.
  Ref<TStream> neither = OpenFile(Path("f.bin"), false, false);
  ASSERT_TRUE(neither);
  EXPECT_EQ(neither->ReadString(4), "abcd");
  EXPECT_THROW(neither->WriteByte('z'), TStreamWriteException);
  CloseStream(neither);

  // Reading and writing needs the file to exist, and keeps it.
  EXPECT_EQ(OpenFile(Path("missing.bin"), true, true), nullptr);
  EXPECT_FALSE(fs::exists(Path("missing.bin")));
  Ref<TStream> both = OpenFile(Path("f.bin"), true, true);
  ASSERT_TRUE(both);
  both->WriteString("XY");  // over the first two bytes: the size stays
  EXPECT_EQ(both->Pos(), 2);
  EXPECT_EQ(both->Size(), 4);
  both->Flush();
  std::ifstream raw(Path("f.bin"), std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(raw)), {});
  EXPECT_EQ(text, "XYcd");
}

TEST_F(StreamEdges, LinesEndAtNewlineWithOrWithoutCarriageReturn) {
  PutText("lines.txt", "one\r\ntwo\n\n\r\nlast\r");
  Ref<TStream> s = ReadFile(Path("lines.txt"));
  ASSERT_TRUE(s);
  EXPECT_EQ(s->ReadLine(), "one");
  EXPECT_EQ(s->ReadLine(), "two");
  EXPECT_EQ(s->ReadLine(), "");      // an empty line
  EXPECT_EQ(s->ReadLine(), "");      // a line of only "\r"
  EXPECT_EQ(s->ReadLine(), "last");  // the end of the stream ends the line; its "\r" goes too
  EXPECT_TRUE(s->Eof());
  EXPECT_EQ(s->ReadLine(), "");
  EXPECT_EQ(s->ReadString(0), "");
  EXPECT_EQ(s->ReadString(-4), "");
}

TEST_F(StreamEdges, OnlyRegularFilesAndFoldersHaveAType) {
  PutText("f.bin", "x");
  EXPECT_EQ(FileType(Path("f.bin")), 1);
  EXPECT_EQ(FileType(dir_.string()), 2);
  EXPECT_EQ(FileType(Path("missing")), 0);
  EXPECT_EQ(FileType("/dev/null"), 0);  // a device is neither
}

// A stream that cannot tell its position and cannot be read either.
class UnreadableBlindStream : public TStream {};

TEST(StreamOpening, ABlindStreamThatCannotBeReadOpensAsNullWithoutThrowing) {
  Ref<TStream> blind = New<UnreadableBlindStream>();
  Ref<TStream> opened;
  EXPECT_NO_THROW(opened = ReadFile(blind));
  EXPECT_EQ(opened, nullptr);
  EXPECT_EQ(ReadFile(Ref<TStream>()), nullptr);
  EXPECT_EQ(StreamFromUrl(Ref<TStream>(), true, false), nullptr);
}

TEST(StreamOpening, RamStreamWritesWhatFitsAndRefusesWhatDoesNot) {
  unsigned char buf[4] = {};
  Ref<TRamStream> s = TRamStream::Create(buf, 4, false, true);
  EXPECT_EQ(s->Write("ab", 2), 2);  // fits whole
  EXPECT_EQ(s->Write("cd", 0), 0);
  EXPECT_EQ(s->Write("cd", -1), 0);
  EXPECT_EQ(s->Pos(), 2);
  EXPECT_EQ(buf[0], 'a');
  EXPECT_EQ(buf[1], 'b');
  EXPECT_EQ(buf[2], 0);
}

// A factory for one protocol, answering with a fixed text.
class WordFactory : public TStreamFactory {
 public:
  WordFactory(std::string protocol, std::string word)
      : protocol_(std::move(protocol)), word_(std::move(word)) {}
  Ref<TStream> CreateStream(const std::string&, const std::string& protocol, const std::string&,
                            bool, bool) override {
    if (protocol != protocol_) return nullptr;
    return TRamStream::Create(word_.data(), static_cast<std::int64_t>(word_.size()), true, false);
  }
  std::string protocol_, word_;
};

TEST(StreamOpening, AFactoryLeavingFromTheMiddleOfTheChainKeepsTheOthers) {
  auto older = std::make_unique<WordFactory>("older", "old");
  auto newer = std::make_unique<WordFactory>("newer", "new");
  older.reset();  // not the head of the chain
  EXPECT_EQ(ReadFile("older::x"), nullptr);
  Ref<TStream> s = ReadFile("newer::x");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->ReadString(3), "new");
  EXPECT_TRUE(ReadFile("incbin::fixture.txt"));  // the built-in factory is still reached
}

}  // namespace
