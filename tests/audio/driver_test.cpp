// The driver registry, the game's audio functions and the null fallback, on SDL's dummy device.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_driver.h"
#include "audio/ogg_fixture.h"
#include "audio/razidazir_driver.h"

namespace {

// Restores the environment and the null driver whatever a test did.
class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* was = std::getenv("SDL_AUDIODRIVER");
    saved_ = was ? was : "";
  }
  void TearDown() override {
    SelectAudioDriver("Null");
    if (saved_.empty()) {
      unsetenv("SDL_AUDIODRIVER");
    } else {
      setenv("SDL_AUDIODRIVER", saved_.c_str(), 1);
    }
  }
  Ref<TSound> Tone(int frames, int flags) {
    std::vector<short> pcm(static_cast<std::size_t>(frames), 1000);
    return LoadAudio(WrapSample(pcm.data(), frames, 44100, SAMPLE_MONO16LE), flags);
  }
  std::string saved_;
};

TEST_F(DriverTest, RegistryListsNewestFirstAndMatchesNamesInAnyCase) {
  EXPECT_EQ(ListAudioDrivers(), (std::vector<std::string>{"RaziDazir", "RaziDazir Multimedia",
                                                          "RaziDazir DirectSound", "Null"}));
  EXPECT_TRUE(HasAudioDriver("RaziDazir Multimedia"));
  EXPECT_FALSE(HasAudioDriver("OpenAL"));

  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_EQ(SelectAudioDriver("razidazir"), 1);
  EXPECT_EQ(CurrentAudioDriver()->Name(), "RaziDazir");
  // An unknown name leaves the null driver, even though another one ran before.
  EXPECT_EQ(SelectAudioDriver("no such driver"), 0);
  EXPECT_EQ(CurrentAudioDriver()->Name(), "Null");
  ASSERT_EQ(SelectAudioDriver("RAZIDAZIR DIRECTSOUND"), 1);
  EXPECT_EQ(CurrentAudioDriver()->Name(), "RaziDazir DirectSound");
}

TEST_F(DriverTest, APreparedSoundPlaysOnlyOnceUnpaused) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_EQ(SelectAudioDriver("RaziDazir"), 1);
  Ref<TSound> loop = Tone(4410, SOUND_LOOP);
  ASSERT_TRUE(loop);
  Ref<TChannel> ch = PrepareSound(loop, nullptr);
  ASSERT_TRUE(ch);
  EXPECT_EQ(IsChannelPlaying(ch), 0);
  ChannelVolume(ch, 0.5f);
  UnpauseChannel(ch);
  EXPECT_EQ(IsChannelPlaying(ch), 1);
  HoldChannel(ch);
  EXPECT_EQ(IsChannelPlaying(ch), 0);
  UnpauseChannel(ch);
  auto* own = dynamic_cast<TRaziDazirChannel*>(ch.get());
  ASSERT_TRUE(own);
  // The device thread really mixes it.
  for (int i = 0; i < 800 && own->Position() == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_GT(own->Position(), 0);

  HaltChannel(ch);
  EXPECT_EQ(IsChannelPlaying(ch), 0);
  // Playing on a stopped channel gives a new channel; the stopped one stays silent.
  Ref<TChannel> again = StartSound(loop, ch);
  ASSERT_TRUE(again);
  EXPECT_NE(again.get(), ch.get());
  EXPECT_EQ(IsChannelPlaying(ch), 0);
  EXPECT_EQ(IsChannelPlaying(again), 1);

  // A channel of our own is kept when a sound starts on it.
  Ref<TChannel> mine = NewChannel();
  EXPECT_EQ(StartSound(loop, mine).get(), mine.get());
  EXPECT_EQ(IsChannelPlaying(mine), 1);
}

TEST_F(DriverTest, SoundsFromEveryFormatButNone) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_EQ(SelectAudioDriver("RaziDazir"), 1);
  unsigned char data[64] = {};
  for (int format = SAMPLE_MONO8; format <= SAMPLE_STEREO16BE; ++format) {
    Ref<TAudioSample> s = WrapSample(data, 8, 22050, format);
    EXPECT_TRUE(LoadAudio(s, 0)) << format;
  }
  EXPECT_FALSE(LoadAudio(WrapSample(data, 8, 22050, SAMPLE_NONE), 0));
  EXPECT_FALSE(LoadAudio("no\\such.ogg", 0));
}

// The first audio call of a program without a sound card, in a process of its own so that no
// driver has been chosen yet.
int RunWithoutADevice() {
  setenv("SDL_AUDIODRIVER", "zx-no-such-device", 1);
  ::testing::internal::CaptureStderr();
  TAudioDriver* d = CurrentAudioDriver();
  const std::string said = ::testing::internal::GetCapturedStderr();
  if (d->Name() != "Null") return 2;
  if (said.rfind("Sound is off: No audio device", 0) != 0) return 3;
  if (std::count(said.begin(), said.end(), '\n') != 1) return 4;

  std::vector<short> pcm(100, 1000);
  Ref<TSound> s = LoadAudio(WrapSample(pcm.data(), 100, 44100, SAMPLE_MONO16LE), 0);
  if (!s) return 5;
  Ref<TChannel> ch = PrepareSound(s, nullptr);
  if (!ch) return 6;
  ChannelVolume(ch, 1.0f);
  UnpauseChannel(ch);
  if (IsChannelPlaying(ch) != 0) return 7;
  if (!NewChannel()) return 8;
  return 0;
}

TEST(NoDevice, TheNullDriverTakesOverSilently) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::exit(RunWithoutADevice()), ::testing::ExitedWithCode(0), "");
}

}  // namespace

// Driver names compare without regard to the case of A to Z, in every registry query.

namespace {

TEST(DriverNameCase, HasAudioDriverMatchesNamesInAnyCaseOfAToZ) {
  for (const char* name : {"RaziDazir", "razidazir", "RAZIDAZIR", "rAZIdAZIR multiMEDIA",
                           "razidazir directsound", "null", "NULL"}) {
    EXPECT_EQ(HasAudioDriver(name), 1) << name;
  }
  for (const char* name : {"RaziDazir ", "RaziDazir_Multimedia", "Nul", "", "OpenAL"}) {
    EXPECT_EQ(HasAudioDriver(name), 0) << '"' << name << '"';
  }
}

}  // namespace
