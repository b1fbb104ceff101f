// End to end: an Ogg file decoded, mixed and played by each output device into SDL's disk audio
// driver, whose file must hold the decoded PCM; and a game thread busy with thousands of voices
// against a running device (the thread sanitizer build watches that one).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_driver.h"
#include "audio/ogg_fixture.h"
#include "audio/razidazir_driver.h"
#include "audio/sample_loader.h"

namespace {

std::vector<std::int16_t> ReadValues(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  std::vector<std::int16_t> values(bytes.size() / 2);
  std::memcpy(values.data(), bytes.data(), values.size() * 2);
  return values;
}

// Where `pcm` (mono) appears in `out` (stereo) on both channels, or -1.
long FindMono(const std::vector<std::int16_t>& out, const std::vector<std::int16_t>& pcm) {
  const long frames = static_cast<long>(out.size() / 2), n = static_cast<long>(pcm.size());
  for (long at = 0; at + n <= frames; ++at) {
    long i = 0;
    while (i < n && out[2 * (at + i)] == pcm[i] && out[2 * (at + i) + 1] == pcm[i]) ++i;
    if (i == n) return at;
  }
  return -1;
}

class PlaybackTest : public ::testing::TestWithParam<const char*> {
 protected:
  void TearDown() override {
    SelectAudioDriver("Null");
    unsetenv("SDL_DISKAUDIOFILE");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
};

// Plays `ogg` once on the named device into the file `raw`; returns what the device wrote.
std::vector<std::int16_t> PlayThroughDisk(const char* driver, const std::string& ogg,
                                          const std::string& raw, int frames) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
  EXPECT_EQ(SelectAudioDriver(driver), 1);
  Ref<TSound> sound = LoadAudio(ogg, 0);
  Ref<TChannel> ch = PrepareSound(sound, nullptr);
  ChannelVolume(ch, 1.0f);
  UnpauseChannel(ch);
  auto* own = dynamic_cast<TRaziDazirChannel*>(ch.get());
  EXPECT_TRUE(own);
  for (int i = 0; own && i < 1000 && own->Position() < frames; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let the card play it out
  SelectAudioDriver("Null");
  return ReadValues(raw);
}

TEST_P(PlaybackTest, AnOggFileComesOutOfTheDeviceAsItsDecodedPcm) {
  const std::string ogg = WriteTempFile("tone.ogg", EncodeOgg({Sine(8820, 441, 44100)}, 44100));
  Ref<TAudioSample> decoded = LoadSample(ogg);
  ASSERT_TRUE(decoded);
  const auto* pcm = reinterpret_cast<const std::int16_t*>(decoded->samples);
  const std::vector<std::int16_t> expected(pcm, pcm + decoded->length);

  // A machine too busy to keep the card fed loses output to an underrun, as a real one would;
  // that is worth another try, a wrong sound is not.
  std::vector<std::int16_t> out;
  long at = -1;
  for (int attempt = 0; attempt < 3 && at < 0; ++attempt) {
    const std::string raw = (std::filesystem::path(ogg).parent_path() /
                             (std::string(GetParam()) + std::to_string(attempt) + ".raw"))
                                .string();
    out = PlayThroughDisk(GetParam(), ogg, raw, decoded->length);
    at = FindMono(out, expected);
  }
  ASSERT_GE(at, 0) << "the decoded sound is not among the " << out.size() / 2 << " frames played";
  // However long the start delay and the device's lead, only silence comes before it.
  for (long i = 0; i < 2 * at; ++i) ASSERT_EQ(out[i], 0) << i;
}

INSTANTIATE_TEST_SUITE_P(Devices, PlaybackTest,
                         ::testing::Values("RaziDazir Multimedia", "RaziDazir DirectSound"),
                         [](const auto& info) {
                           return std::string(info.param).substr(10);  // past "RaziDazir "
                         });

TEST(Stress, TenThousandVoicesAgainstARunningDevice) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_EQ(SelectAudioDriver("RaziDazir"), 1);
  std::vector<short> pcm(441);
  for (std::size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<short>((i * 97) % 2000);
  Ref<TSound> blip = LoadAudio(WrapSample(pcm.data(), 441, 44100, SAMPLE_MONO16LE), 0);
  Ref<TSound> loop = LoadAudio(WrapSample(pcm.data(), 441, 22050, SAMPLE_MONO16LE), SOUND_LOOP);
  ASSERT_TRUE(blip && loop);
  Ref<TChannel> music = NewChannel();
  ASSERT_TRUE(StartSound(loop, music));

  std::vector<Ref<TChannel>> held;
  int started = 0;
  for (int i = 0; i < 10000; ++i) {
    Ref<TChannel> ch = PrepareSound(i % 3 ? blip : loop, i % 5 ? nullptr : music);
    if (ch) ++started;
    ChannelVolume(ch, (i % 10) / 10.0f);
    ChannelPan(ch, (i % 7) / 3.0f - 1.0f);
    ChannelRate(ch, 0.5f + (i % 4) / 2.0f);
    UnpauseChannel(ch);
    if (i % 4 == 0) HoldChannel(ch);
    if (i % 6 == 0) HaltChannel(ch);
    held.push_back(ch);
    if (held.size() > 64) held.erase(held.begin());  // dropped channels play on or stop
    if (i % 100 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // Starts fail only while the start queue is full (the device pauses after an underrun, which
  // a slow build may cause): a whole ring's worth, the music's start included, gets through.
  EXPECT_GE(started + 1, 4096);
  held.clear();
  music.reset();

  // The device recovers and mixes again.
  Ref<TChannel> probe;
  for (int i = 0; i < 500 && !probe; ++i) {
    probe = StartSound(loop, nullptr);
    if (!probe) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  auto* own = dynamic_cast<TRaziDazirChannel*>(probe.get());
  ASSERT_TRUE(own);
  for (int i = 0; i < 500 && own->Position() == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_GT(own->Position(), 0);

  // No handle leaked: all but the probe's are free again.
  std::vector<Ref<TChannel>> all;
  for (int i = 0; i < 4094; ++i) all.push_back(NewChannel());
  EXPECT_EQ(std::count(all.begin(), all.end(), nullptr), 0);
  EXPECT_EQ(NewChannel(), nullptr);
  all.clear();
  SelectAudioDriver("Null");
}

}  // namespace
