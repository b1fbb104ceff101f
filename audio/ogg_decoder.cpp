// ogg_decoder.cpp - vorbisfile driven through callbacks on a framework stream.
#include "audio/ogg_decoder.h"

#include <vorbis/vorbisfile.h>

#include <cerrno>
#include <cstring>
#include <vector>

struct OggDecoder::Glue {
  Ref<TStream> stream;
  OggVorbis_File file;
  bool opened = false;
  std::vector<std::int16_t> scratch;  // a file's own frames, for files of more than two channels
  ~Glue() {
    if (opened) ov_clear(&file);
  }
};

namespace {

// Errors raised by the stream must not unwind through the C library: they end the read and
// leave errno set, which vorbisfile reports as a read error.
size_t ReadCallback(void* buffer, size_t size, size_t count, void* source) {
  auto* stream = static_cast<TStream*>(source);
  if (size == 0) return 0;
  try {
    std::int64_t n = stream->Read(buffer, static_cast<std::int64_t>(size * count));
    errno = 0;
    return n > 0 ? static_cast<size_t>(n) / size : 0;
  } catch (const std::exception&) {
    errno = EIO;
    return 0;
  }
}

int SeekCallback(void* source, ogg_int64_t offset, int whence) {
  auto* stream = static_cast<TStream*>(source);
  const auto low = static_cast<std::int32_t>(offset);
  try {
    std::int64_t result;
    switch (whence) {
      case SEEK_SET:
        result = stream->Seek(low);
        break;
      case SEEK_CUR:
        result = stream->Seek(low + stream->Pos());
        break;
      case SEEK_END:
        result = stream->Seek(low + stream->Size());
        break;
      default:
        return -1;
    }
    return result < 0 ? -1 : 0;
  } catch (const std::exception&) {
    return -1;
  }
}

// The loader chain closes the stream, not the decoder.
int CloseCallback(void*) { return 0; }

long TellCallback(void* source) {
  try {
    return static_cast<long>(static_cast<TStream*>(source)->Pos());
  } catch (const std::exception&) {
    return -1;
  }
}

// Where the front left and right channels sit in a Vorbis frame of `channels` channels.
void FrontPair(int channels, int& left, int& right) {
  left = 0;
  right = (channels == 3 || channels >= 5) ? 2 : 1;
}

}  // namespace

OggDecoder::OggDecoder() : glue_(std::make_unique<Glue>()) {}

OggDecoder::~OggDecoder() = default;

std::unique_ptr<OggDecoder> OggDecoder::Open(Ref<TStream> stream) {
  if (!stream) return nullptr;
  std::unique_ptr<OggDecoder> d(new OggDecoder);
  Glue& g = *d->glue_;
  g.stream = std::move(stream);
  const ov_callbacks callbacks = {&ReadCallback, &SeekCallback, &CloseCallback, &TellCallback};
  if (ov_open_callbacks(g.stream.get(), &g.file, nullptr, 0, callbacks) != 0) return nullptr;
  g.opened = true;
  vorbis_info* info = ov_info(&g.file, 0);
  const ogg_int64_t total = ov_pcm_total(&g.file, 0);
  if (!info || info->channels < 1 || info->rate <= 0 || info->rate > 1000000 || total < 0) {
    return nullptr;
  }
  d->frames_ = total;
  d->channels_ = info->channels;
  d->hertz_ = static_cast<int>(info->rate);
  return d;
}

int OggDecoder::Decode(std::int16_t* dest, int frames) {
  Glue& g = *glue_;
  const bool direct = channels_ <= 2;
  if (!direct) g.scratch.resize(static_cast<std::size_t>(frames) * channels_);
  std::int16_t* into = direct ? dest : g.scratch.data();
  const int frameBytes = 2 * channels_;
  int bytes = frames * frameBytes;
  int got = 0;
  // A read may end inside a frame; keep reading until whole frames are there.
  while (got < bytes) {
    int link = 0;
    long n = ov_read(&g.file, reinterpret_cast<char*>(into) + got, bytes - got, 0, 2, 1, &link);
    if (n < 0) return -1;
    if (n == 0 || link != 0) break;
    got += static_cast<int>(n);
    if (got % frameBytes == 0) break;
  }
  const int decoded = got / frameBytes;
  if (!direct) {
    int left, right;
    FrontPair(channels_, left, right);
    for (int i = 0; i < decoded; ++i) {
      dest[2 * i] = g.scratch[static_cast<std::size_t>(i) * channels_ + left];
      dest[2 * i + 1] = g.scratch[static_cast<std::size_t>(i) * channels_ + right];
    }
  }
  return decoded;
}
