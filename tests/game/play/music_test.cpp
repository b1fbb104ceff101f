// Music tracks start before they are decoded whole: what the worker fills in must be the track
// exactly as a whole decode gives it, and it must play from its start and loop.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/mix_api.h"
#include "audio/ogg_loader.h"
#include "audio/razidazir_driver.h"
#include "core/app.h"
#include "core/error.h"
#include "core/stream_factory.h"
#include "game/play/music_stream.h"
#include "tests/game/game_fixture.h"

namespace {

// Only the audio layer runs: in the scratch folder, on SDL's dummy device.
class MusicTest : public GameTest {
 protected:
  void SetUp() override {
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_EQ(::chdir(MakeFolder().c_str()), 0);
  }
  void TearDown() override {
    StopMusicStreams();
    GameTest::TearDown();
  }
};

// Ogg's page checksum: CRC-32 with polynomial 0x04c11db7, most significant bit first, from 0.
std::uint32_t OggChecksum(const unsigned char* data, std::size_t size) {
  std::uint32_t crc = 0;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= static_cast<std::uint32_t>(data[i]) << 24;
    for (int bit = 0; bit < 8; ++bit) crc = crc & 0x80000000u ? (crc << 1) ^ 0x04c11db7u : crc << 1;
  }
  return crc;
}

// Sets a page's checksum over its bytes as they are.
void SealPage(std::vector<unsigned char>& bytes, std::size_t page, std::size_t size) {
  for (int i = 0; i < 4; ++i) bytes[page + 22 + i] = 0;
  const std::uint32_t crc = OggChecksum(bytes.data() + page, size);
  for (int i = 0; i < 4; ++i) bytes[page + 22 + i] = static_cast<unsigned char>(crc >> (8 * i));
}

// A copy of the first `pages` pages of an Ogg file (all of them when 0), followed by an empty last
// page that claims `frames` frames in all: the length a decoder is told before it decodes.
void WriteLengthClaim(const std::string& from, const std::string& to, std::size_t pages,
                      std::int64_t frames) {
  std::ifstream in(from, std::ios::binary);
  std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
  std::size_t at = 0, kept = 0, last = 0;
  while (at + 27 <= bytes.size() && (pages == 0 || kept < pages)) {
    std::size_t size = 27 + bytes[at + 26];
    for (int i = 0; i < bytes[at + 26]; ++i) size += bytes[at + 27 + i];
    bytes[at + 5] &= static_cast<unsigned char>(~4);  // not the end of the stream any more
    SealPage(bytes, at, size);
    last = at;
    at += size;
    ++kept;
  }
  bytes.resize(at);
  std::vector<unsigned char> claim(bytes.begin() + static_cast<std::ptrdiff_t>(last),
                                   bytes.begin() + static_cast<std::ptrdiff_t>(last) + 27);
  claim[5] = 4;  // end of stream
  for (int i = 0; i < 8; ++i) claim[6 + i] = static_cast<unsigned char>(frames >> (8 * i));
  const std::uint32_t sequence =
      (claim[18] | claim[19] << 8 | claim[20] << 16 | static_cast<std::uint32_t>(claim[21]) << 24) +
      1;
  for (int i = 0; i < 4; ++i) claim[18 + i] = static_cast<unsigned char>(sequence >> (8 * i));
  claim[26] = 0;  // no segments
  SealPage(claim, 0, claim.size());
  bytes.insert(bytes.end(), claim.begin(), claim.end());
  std::ofstream out(to, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

TEST_F(MusicTest, StreamedTrackEqualsTheWholeDecodeAndLoopsFromItsStart) {
  for (const char* path : {"data/techno1.ogg", "data/techno3.ogg"}) {
    Ref<TStream> file = ReadFile(path);
    ASSERT_TRUE(file);
    auto decoder = OggDecoder::Open(file);
    ASSERT_TRUE(decoder);
    Ref<TAudioSample> whole = DecodeOggSample(*decoder);
    ASSERT_TRUE(whole);

    Ref<TSound> track = LoadMusicTrack(path);
    auto* sound = dynamic_cast<TRaziDazirSound*>(track.get());
    ASSERT_NE(sound, nullptr);
    mix_sample* s = sound->fa_sound;
    Ref<TChannel> channel = PrepareSound(track, nullptr);
    UnpauseChannel(channel);
    // Playing while the worker is still filling the sample.
    EXPECT_LT(s->filled.load(), s->length) << path;
    FinishMusicStreams();
    ASSERT_EQ(s->filled.load(), s->length);
    ASSERT_EQ(s->length, whole->length);
    EXPECT_EQ(std::memcmp(s->data, whole->samples, static_cast<std::size_t>(s->dataBytes)), 0);
    EXPECT_EQ(std::memcmp(s->data + s->dataBytes, s->data, s->bytesPerFrame), 0);
    auto* music = dynamic_cast<TRaziDazirChannel*>(channel.get());
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(mix_channel_status(music->fa_channel) & sound::kLooped, sound::kLooped);
    EXPECT_LT(music->Position(), s->length);
    HaltChannel(channel);
  }
}

// Dropping a track while its worker still decodes neither waits for the whole decode nor frees
// the data under the worker.
TEST_F(MusicTest, TracksReplacedWhileDecodingStopTheirWorkers) {
  for (int i = 0; i < 5; ++i) {
    Ref<TSound> track = LoadMusicTrack(i % 2 ? "data/techno2.ogg" : "data/techno4.ogg");
    ASSERT_TRUE(track);
    UnpauseChannel(PrepareSound(track, nullptr));
  }
  StopMusicStreams();
}

// A file that claims far more sound than it holds: the track is as long as what the file really
// holds, both for a file that ends within the part decoded at once and
// for one the worker finishes. Sized by the claim, the sample would take 400 MB here, and what
// the file does not deliver would be zeroed, on the game thread for the short file.
TEST_F(MusicTest, ALengthClaimedByTheFileCostsNoMoreThanTheFileHolds) {
  constexpr std::int64_t kClaim = 100'000'000;
  // The headers and the first page of sound (12,352 frames), then the whole track.
  for (std::size_t pages : {3u, 0u}) {
    WriteLengthClaim("data/techno1.ogg", "claims.ogg", pages, kClaim);
    Ref<TStream> file = ReadFile("claims.ogg");
    ASSERT_TRUE(file);
    auto decoder = OggDecoder::Open(file);
    ASSERT_TRUE(decoder);
    ASSERT_EQ(decoder->frames(), kClaim) << pages;
    Ref<TAudioSample> whole = DecodeOggSample(*decoder);
    ASSERT_TRUE(whole);
    ASSERT_LT(whole->length, kClaim / 10);

    Ref<TSound> track = LoadMusicTrack("claims.ogg");
    auto* sound = dynamic_cast<TRaziDazirSound*>(track.get());
    ASSERT_NE(sound, nullptr) << pages;
    FinishMusicStreams();
    mix_sample* s = sound->fa_sound;
    EXPECT_GE(s->length, whole->length) << pages;
    EXPECT_LE(s->length, whole->length + 4096) << pages;
    ASSERT_EQ(s->filled.load(), s->length) << pages;
    EXPECT_EQ(std::memcmp(s->data, whole->samples,
                          static_cast<std::size_t>(whole->length) *
                              static_cast<std::size_t>(s->bytesPerFrame)),
              0)
        << pages;
  }
}

namespace {

int FailWhileATrackDecodes() {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  char name[] = "zumbrix";
  char* argv[] = {name, nullptr};
  return RunApplication(1, argv, []() -> int {
    Ref<TSound> track = LoadMusicTrack("data/techno1.ogg");
    if (!track) return 2;
    RuntimeError("The frame loop failed");
  });
}

}  // namespace

// A runtime error leaving the frame loop while a track's worker still runs ends the program with
// the error's message and exit code 1, not with an abort at exit.
TEST(MusicExitTest, ARuntimeErrorWhileATrackDecodesEndsWithItsMessageAndOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::exit(FailWhileATrackDecodes()), ::testing::ExitedWithCode(1),
              "The frame loop failed");
}
