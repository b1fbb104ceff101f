// The choice of output device: each choice starts its own driver, and a device that does not
// start falls back to the default, then to silence, saying so once a step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "audio/audio_driver.h"
#include "audio/sound_output.h"

namespace {

class SoundOutputTest : public ::testing::Test {
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
  // The current driver's name after starting `output`, and what was said on stderr.
  std::string Start(SoundOutput output, std::string* said) {
    ::testing::internal::CaptureStderr();
    StartSoundOutput(output);
    *said = ::testing::internal::GetCapturedStderr();
    return CurrentAudioDriver()->Name();
  }
  std::string saved_;
};

TEST_F(SoundOutputTest, EachChoiceStartsItsOwnDeviceSilently) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::string said;
  EXPECT_EQ(Start(SoundOutput::WaveOut, &said), "RaziDazir Multimedia");
  EXPECT_EQ(said, "");
  EXPECT_EQ(Start(SoundOutput::DirectSound, &said), "RaziDazir DirectSound");
  EXPECT_EQ(said, "");
  EXPECT_EQ(Start(SoundOutput::Auto, &said), "RaziDazir");
  EXPECT_EQ(said, "");
}

TEST_F(SoundOutputTest, WithNoDeviceTheChoiceFallsBackToTheDefaultThenToSilence) {
  setenv("SDL_AUDIODRIVER", "zx-no-such-device", 1);
  std::string said;
  EXPECT_EQ(Start(SoundOutput::DirectSound, &said), "Null");
  EXPECT_EQ(said.rfind("Sound output RaziDazir DirectSound did not start (No audio device", 0), 0u)
      << said;
  EXPECT_NE(said.find(": using the default\nSound is off: No audio device"), std::string::npos)
      << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;

  EXPECT_EQ(Start(SoundOutput::Auto, &said), "Null");
  EXPECT_EQ(said.rfind("Sound is off: No audio device", 0), 0u) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

}  // namespace
