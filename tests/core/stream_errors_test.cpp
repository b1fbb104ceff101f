// The edges of the stream layer: closed files, the open modes, line endings, streams that cannot
// be read, and factories leaving the chain out of order.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/cstream.h"
#include "core/ramstream.h"
#include "core/stream_factory.h"

namespace {

namespace fs = std::filesystem;

class StreamEdges : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zx_stream_edges_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }

  fs::path dir_;
};

TEST_F(StreamEdges, AClosedFileMovesNothingAndWritingToItRaisesTheWriteError) {
  Put("f.bin", "abcd");
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
  Put("f.bin", "abcd");
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
  Put("lines.txt", "one\r\ntwo\n\n\r\nlast\r");
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
  Put("f.bin", "x");
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
