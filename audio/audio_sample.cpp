// audio_sample.cpp - samples, their storage, and format conversion through 16-bit big-endian
// stereo, the one format that every other converts to and from without losing anything.
#include "audio/audio_sample.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace {

constexpr int kBytesPerFrame[] = {0, 1, 2, 2, 2, 4, 4};
constexpr int kChannels[] = {0, 1, 1, 1, 2, 2, 2};

bool Known(int format) { return format >= 0 && format <= 6; }
bool Playable(int format) { return format >= 1 && format <= 6; }
bool Is8Bit(int format) { return format == SAMPLE_MONO8 || format == SAMPLE_STEREO8; }
bool BigEndian(int format) { return format == SAMPLE_MONO16BE || format == SAMPLE_STEREO16BE; }

// One frame as signed 16-bit left and right values.
void ReadFrame(const unsigned char* p, int format, int& left, int& right) {
  auto to16 = [&](const unsigned char* q) -> int {
    if (Is8Bit(format)) return static_cast<std::int16_t>(((q[0] - 128) << 8) | q[0]);
    const int hi = BigEndian(format) ? q[0] : q[1];
    const int lo = BigEndian(format) ? q[1] : q[0];
    return static_cast<std::int16_t>((hi << 8) | lo);
  };
  const int step = Is8Bit(format) ? 1 : 2;
  left = to16(p);
  right = SampleChannels(format) == 2 ? to16(p + step) : left;
}

void WriteFrame(unsigned char* p, int format, int left, int right) {
  auto from16 = [&](unsigned char* q, int s) {
    if (Is8Bit(format)) {
      q[0] = static_cast<unsigned char>((s + 32768) / 257);
      return;
    }
    const auto u = static_cast<std::uint16_t>(s);
    q[BigEndian(format) ? 0 : 1] = static_cast<unsigned char>(u >> 8);
    q[BigEndian(format) ? 1 : 0] = static_cast<unsigned char>(u & 0xFF);
  };
  from16(p, left);
  if (SampleChannels(format) == 2) from16(p + (Is8Bit(format) ? 1 : 2), right);
}

}  // namespace

int SampleBytesPerFrame(int format) { return Known(format) ? kBytesPerFrame[format] : 0; }
int SampleChannels(int format) { return Known(format) ? kChannels[format] : 0; }

TAudioSample::~TAudioSample() {
  if (capacity >= 0) delete[] samples;
}

Ref<TAudioSample> TAudioSample::Create(int length, int hertz, int format) {
  if (!Known(format) || length < 0) return nullptr;
  const std::int64_t bytes = static_cast<std::int64_t>(length) * SampleBytesPerFrame(format);
  if (bytes > std::numeric_limits<int>::max()) return nullptr;
  Ref<TAudioSample> s = New<TAudioSample>();
  s->samples = new unsigned char[static_cast<std::size_t>(bytes > 0 ? bytes : 1)];
  s->capacity = static_cast<int>(bytes);
  s->length = length;
  s->hertz = hertz;
  s->format = format;
  return s;
}

Ref<TAudioSample> TAudioSample::CreateStatic(void* samples, int length, int hertz, int format) {
  Ref<TAudioSample> s = New<TAudioSample>();
  s->samples = static_cast<unsigned char*>(samples);
  s->length = length;
  s->hertz = hertz;
  s->format = format;
  s->capacity = -1;
  return s;
}

Ref<TAudioSample> TAudioSample::Copy() const {
  Ref<TAudioSample> s = Create(length, hertz, format);
  if (s && samples) {
    std::memcpy(s->samples, samples,
                static_cast<std::size_t>(length) * SampleBytesPerFrame(format));
  }
  return s;
}

Ref<TAudioSample> TAudioSample::Convert(int to) const {
  if (!Playable(format) || !Playable(to)) return nullptr;
  if (to == format) return Copy();
  Ref<TAudioSample> s = Create(length, hertz, to);
  if (!s) return nullptr;
  const int from = SampleBytesPerFrame(format), into = SampleBytesPerFrame(to);
  for (int i = 0; i < length; ++i) {
    int left, right;
    ReadFrame(samples + static_cast<std::size_t>(i) * from, format, left, right);
    WriteFrame(s->samples + static_cast<std::size_t>(i) * into, to, left, right);
  }
  return s;
}
