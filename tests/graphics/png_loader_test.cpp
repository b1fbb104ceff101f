#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/incbin.h"
#include "core/ramstream.h"
#include "graphics/pixmap_loader.h"
#include "png_encode.h"

namespace {

Ref<TStream> Memory(const std::vector<unsigned char>& bytes) {
  return TRamStream::CreateOwning(bytes, true, false);
}

Ref<TPixmap> Decode(const std::vector<unsigned char>& bytes) { return LoadPixmap(Memory(bytes)); }

// The checksum of PNG chunks, to keep an edited header acceptable.
std::uint32_t Crc32(const unsigned char* data, std::size_t length) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

PngPicture Picture(int w, int h, int colorType, int bitDepth, std::vector<unsigned char> rows) {
  PngPicture p;
  p.width = w;
  p.height = h;
  p.colorType = colorType;
  p.bitDepth = bitDepth;
  p.rows = std::move(rows);
  return p;
}

// A picture whose every pixel differs, so that a row or byte out of place shows.
PngPicture Gradient(int w, int h) {
  std::vector<unsigned char> rows;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      rows.push_back(static_cast<unsigned char>(x));
      rows.push_back(static_cast<unsigned char>(y));
      rows.push_back(static_cast<unsigned char>(x ^ y));
    }
  }
  return Picture(w, h, PNG_COLOR_TYPE_RGB, 8, rows);
}

TEST(PngLoader, RgbSheetLoadsRowForRow) {
  Ref<TPixmap> p = Decode(EncodePng(Gradient(420, 236)));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->format, FORMAT_RGB888);
  EXPECT_EQ(p->width, 420);
  EXPECT_EQ(p->height, 236);
  EXPECT_EQ(p->pitch, 1260);
  EXPECT_EQ(p->ReadPixel(0, 0), 0xFF000000u);
  EXPECT_EQ(p->ReadPixel(419, 235),
            0xFF000000u | (419 & 255) << 16 | 235 << 8 | ((419 ^ 235) & 255));
  EXPECT_EQ(p->ReadPixel(17, 200), 0xFF000000u | 17 << 16 | 200 << 8 | (17 ^ 200));

  PngPicture interlaced = Gradient(37, 11);
  interlaced.interlaced = true;
  Ref<TPixmap> q = Decode(EncodePng(interlaced));
  ASSERT_TRUE(q);
  EXPECT_EQ(q->ReadPixel(36, 10), 0xFF000000u | 36 << 16 | 10 << 8 | (36 ^ 10));
}

TEST(PngLoader, EveryColourTypeBecomesEightBitsPerSample) {
  PngPicture grey = Picture(2, 1, PNG_COLOR_TYPE_GRAY, 8, {10, 200});
  PngPicture grey1 = Picture(3, 1, PNG_COLOR_TYPE_GRAY, 1, {0xA0});  // 1, 0, 1
  PngPicture greyAlpha = Picture(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {10, 20, 30, 40});
  PngPicture greyKey = Picture(2, 1, PNG_COLOR_TYPE_GRAY, 8, {10, 200});
  greyKey.transparentColor = true;
  greyKey.transparent.gray = 200;
  PngPicture palette = Picture(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {1, 0});
  palette.palette = {{1, 2, 3}, {4, 5, 6}};
  PngPicture paletteAlpha = palette;
  paletteAlpha.paletteAlpha = {0, 128};
  PngPicture rgb = Picture(1, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3});
  PngPicture rgba = Picture(1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {1, 2, 3, 4});
  PngPicture rgb16 = Picture(1, 1, PNG_COLOR_TYPE_RGB, 16, {0x12, 0xFF, 0x34, 0x00, 0x56, 0x80});
  PngPicture greyAlpha16 = Picture(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, {0x77, 0x01, 0x99, 0x02});

  struct Case {
    const char* name;
    const PngPicture& picture;
    int format;
    std::vector<std::uint32_t> pixels;
  };
  const Case cases[] = {
      {"grey", grey, FORMAT_I8, {0xFF0A0A0A, 0xFFC8C8C8}},
      {"grey 1 bit", grey1, FORMAT_I8, {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}},
      {"grey with alpha", greyAlpha, FORMAT_RGBA8888, {0x140A0A0A, 0x281E1E1E}},
      {"grey with transparent colour", greyKey, FORMAT_RGBA8888, {0xFF0A0A0A, 0x00C8C8C8}},
      {"palette", palette, FORMAT_RGB888, {0xFF040506, 0xFF010203}},
      {"palette with transparency", paletteAlpha, FORMAT_RGBA8888, {0x80040506, 0x00010203}},
      {"rgb", rgb, FORMAT_RGB888, {0xFF010203}},
      {"rgb with alpha", rgba, FORMAT_RGBA8888, {0x04010203}},
      {"rgb 16 bit", rgb16, FORMAT_RGB888, {0xFF123456}},
      {"grey with alpha 16 bit", greyAlpha16, FORMAT_RGBA8888, {0x99777777}},
  };
  for (const Case& c : cases) {
    std::vector<unsigned char> file = EncodePng(c.picture);
    ASSERT_FALSE(file.empty()) << c.name;
    Ref<TPixmap> p = Decode(file);
    ASSERT_TRUE(p) << c.name;
    EXPECT_EQ(p->format, c.format) << c.name;
    ASSERT_EQ(p->width, static_cast<int>(c.pixels.size())) << c.name;
    for (int x = 0; x < p->width; ++x)
      EXPECT_EQ(p->ReadPixel(x, 0), c.pixels[x]) << c.name << " x " << x;
  }
}

TEST(PngLoader, OpensFilesEmbeddedFilesAndStreams) {
  static const std::vector<unsigned char> file = EncodePng(Gradient(5, 4));
  RegisterIncbin("pixmap_test_gradient.png", file.data(), file.size());
  Ref<TPixmap> embedded = LoadPixmap("incbin::pixmap_test_gradient.png");
  ASSERT_TRUE(embedded);
  EXPECT_EQ(embedded->width, 5);

  std::string path =
      (std::filesystem::temp_directory_path() / ("zx_png_" + std::to_string(::getpid()) + ".png"))
          .string();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), file.size());
  Ref<TPixmap> fromDisk = LoadPixmap(path);
  std::remove(path.c_str());
  ASSERT_TRUE(fromDisk);
  EXPECT_EQ(fromDisk->ReadPixel(4, 3), embedded->ReadPixel(4, 3));

  // A stream is read from where it stands, and closed afterwards.
  std::vector<unsigned char> prefixed(file.size() + 4, 'j');
  std::copy(file.begin(), file.end(), prefixed.begin() + 4);
  Ref<TStream> stream = Memory(prefixed);
  stream->Seek(4);
  EXPECT_TRUE(LoadPixmap(stream));

  EXPECT_FALSE(LoadPixmap("incbin::no_such_picture.png"));
  EXPECT_FALSE(LoadPixmap("/nonexistent/picture.png"));
}

TEST(PngLoader, DamagedDataGivesNull) {
  const std::vector<unsigned char> good = EncodePng(Gradient(64, 64));
  ASSERT_TRUE(Decode(good));
  EXPECT_FALSE(Decode({'n', 'o', 't', ' ', 'p', 'n', 'g', '!'}));
  EXPECT_FALSE(Decode({}));
  // Cut anywhere: in the signature, in the header, in the pixels, before the end chunk.
  for (std::size_t cut :
       {std::size_t{4}, std::size_t{8}, std::size_t{20}, good.size() / 2, good.size() - 12}) {
    EXPECT_FALSE(Decode(std::vector<unsigned char>(good.begin(), good.begin() + cut)))
        << "cut at " << cut;
  }
  std::vector<unsigned char> flipped = good;
  flipped[good.size() / 2] ^= 0x55;  // the chunk's checksum no longer matches
  EXPECT_FALSE(Decode(flipped));

  // A header claiming more pixels than the loader accepts is refused before decoding.
  PngPicture huge = Picture(1, 1, PNG_COLOR_TYPE_GRAY, 8, {0});
  std::vector<unsigned char> big = EncodePng(huge);
  big[16] = 0, big[17] = 0, big[18] = 0x40, big[19] = 0;  // width 16384
  big[20] = 0, big[21] = 0, big[22] = 0x40, big[23] = 0;  // height 16384
  const std::uint32_t crc = Crc32(big.data() + 12, 17);
  for (int i = 0; i < 4; ++i) big[29 + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
  EXPECT_FALSE(Decode(big));
}

// A stream that fails after `good` bytes with the given error.
template <class Error>
class FailingStream : public TRamStream {
 public:
  FailingStream(std::vector<unsigned char> bytes, std::int64_t good)
      : bytes_(std::move(bytes)), good_(good) {
    _buf = bytes_.data();
    _size = static_cast<std::int64_t>(bytes_.size());
    _read = true;
  }
  std::int64_t Read(void* buf, std::int64_t count) override {
    if (_pos + count > good_) throw Error();
    return TRamStream::Read(buf, count);
  }

 private:
  std::vector<unsigned char> bytes_;
  std::int64_t good_;
};

struct OtherError : TRuntimeError {
  OtherError() : TRuntimeError("disk on fire") {}
};

TEST(PngLoader, StreamErrorsInsideLibpngAreCaughtAndReported) {
  const std::vector<unsigned char> good = EncodePng(Gradient(64, 64));
  const std::int64_t middle = static_cast<std::int64_t>(good.size() / 2);
  EXPECT_FALSE(LoadPixmap(Ref<TStream>(New<FailingStream<TStreamReadException>>(good, middle))));
  EXPECT_THROW(LoadPixmap(Ref<TStream>(New<FailingStream<OtherError>>(good, middle))), OtherError);
}

// Answers every stream with a 1x1 pixmap once it has read `need` bytes; throws a stream error on
// shorter data.
class CountingLoader : public TPixmapLoader {
 public:
  explicit CountingLoader(int need) : need_(need) {}
  Ref<TPixmap> LoadPixmap(TStream& stream) override {
    ++calls;
    std::vector<unsigned char> buf(static_cast<std::size_t>(need_));
    if (stream.Read(buf.data(), need_) < need_) throw TStreamReadException();
    return TPixmap::Create(1, 1, FORMAT_A8, 4);
  }
  int calls = 0;

 private:
  int need_;
};

TEST(PixmapLoaderChain, NewestLoaderIsAskedFirstAndStreamErrorsPassToTheNext) {
  const std::vector<unsigned char> png = EncodePng(Gradient(3, 3));
  {
    CountingLoader greedy(16);
    Ref<TPixmap> p = Decode(png);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->format, FORMAT_A8) << "the newest loader answered first";
    EXPECT_EQ(greedy.calls, 1);
  }
  {
    CountingLoader starved(1000);
    Ref<TPixmap> p = Decode(png);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->format, FORMAT_RGB888) << "the PNG loader saw the data from its start";
    EXPECT_EQ(starved.calls, 1);
  }
  Ref<TPixmap> p = Decode(png);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->format, FORMAT_RGB888) << "a destroyed loader leaves the chain";
}

}  // namespace
