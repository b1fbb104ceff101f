// Driver names compare without regard to the case of A to Z, in every registry query.
#include <gtest/gtest.h>

#include "audio/audio_driver.h"

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
