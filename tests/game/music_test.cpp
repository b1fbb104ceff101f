// Music tracks start before they are decoded whole: what the worker fills in must be the track
// exactly as a whole decode gives it, and it must play from its start and loop.
#include <cstring>

#include "audio/mix_api.h"
#include "audio/ogg_loader.h"
#include "audio/razidazir_driver.h"
#include "core/stream_factory.h"
#include "game/music_stream.h"
#include "game_fixture.h"

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
