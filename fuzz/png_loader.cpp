// Fuzz target: arbitrary bytes into the pixmap loader chain, which must answer with a pixmap or
// null, never crash or leak.
//
// libpng is not instrumented, so the fuzzer cannot steer through it from raw bytes alone. Half the
// inputs therefore describe a valid PNG (size, colour type, bit depth, interlacing, transparency,
// pixels) that is encoded and then damaged by byte patches, with the chunk checksums repaired so
// that the damage reaches the decoder instead of stopping at the checksum test.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/ramstream.h"
#include "graphics/pixmap_loader.h"
#include "tests/graphics/png_encode.h"

namespace {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::size_t Left() const { return size_ - pos_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

std::uint32_t Crc32(const unsigned char* data, std::size_t length) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

std::uint32_t Big32(const unsigned char* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

void RepairChecksums(std::vector<unsigned char>& file) {
  std::size_t at = 8;
  while (at + 12 <= file.size()) {
    const std::uint32_t length = Big32(&file[at]);
    if (length > file.size() - at - 12) break;
    const std::uint32_t crc = Crc32(&file[at + 4], length + 4);
    for (int i = 0; i < 4; ++i)
      file[at + 8 + length + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
    at += 12 + length;
  }
}

std::vector<unsigned char> DamagedPng(Input& in) {
  static const int kTypes[] = {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA,
                               PNG_COLOR_TYPE_PALETTE, PNG_COLOR_TYPE_RGB,
                               PNG_COLOR_TYPE_RGB_ALPHA};
  PngPicture p;
  p.width = 1 + in.Byte() % 48;
  p.height = 1 + in.Byte() % 48;
  p.colorType = kTypes[in.Byte() % 5];
  const std::uint8_t options = in.Byte();
  if (p.colorType == PNG_COLOR_TYPE_GRAY) {
    p.bitDepth = 1 << (options % 5);  // 1 to 16
  } else if (p.colorType == PNG_COLOR_TYPE_PALETTE) {
    p.bitDepth = 1 << (options % 4);  // 1 to 8
  } else {
    p.bitDepth = options & 1 ? 16 : 8;
  }
  p.interlaced = options & 0x20;
  if (p.colorType == PNG_COLOR_TYPE_PALETTE) {
    for (int i = 0; i < (1 << p.bitDepth); ++i)
      p.palette.push_back({in.Byte(), in.Byte(), in.Byte()});
    if (options & 0x40) p.paletteAlpha.assign(p.palette.size() / 2 + 1, in.Byte());
  } else if ((options & 0x40) && !(p.colorType & PNG_COLOR_MASK_ALPHA)) {
    p.transparentColor = true;
    p.transparent.gray = p.transparent.red =
        static_cast<png_uint_16>(in.Byte() & ((1 << p.bitDepth) - 1));
  }
  const std::size_t bytes = static_cast<std::size_t>(p.RowBytes()) * p.height;
  for (std::size_t i = 0; i < bytes; ++i) p.rows.push_back(in.Byte());
  std::vector<unsigned char> file = EncodePng(p);
  if (file.empty()) return file;
  // Patches of (offset, xor) over the file, then fresh checksums.
  const int patches = in.Byte() % 8;
  for (int i = 0; i < patches; ++i) {
    const std::size_t at = (std::size_t{in.Byte()} << 8 | in.Byte()) % file.size();
    file[at] ^= in.Byte();
  }
  if (options & 0x80) file.resize(file.size() * in.Byte() / 256);
  RepairChecksums(file);
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  Input in(data + 1, size - 1);
  std::vector<unsigned char> bytes;
  if (data[0] & 1) {
    bytes.assign(data + 1, data + size);
  } else {
    bytes = DamagedPng(in);
  }
  Ref<TPixmap> pixmap =
      LoadPixmap(Ref<TStream>(TRamStream::CreateOwning(std::move(bytes), true, false)));
  if (pixmap) {
    // Every row must be readable in full: the sanitizers catch a pixmap larger than its memory.
    volatile unsigned sum = 0;
    for (int y = 0; y < pixmap->height; ++y) {
      const unsigned char* row = pixmap->PixelPtr(0, y);
      for (int i = 0; i < pixmap->RowBytes(); ++i) sum = sum + row[i];
    }
  }
  return 0;
}
