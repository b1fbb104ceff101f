// SDL's own device buffer under each output device: it plays after everything the device keeps
// ahead (the wave-out queue, the DirectSound ring), so its length adds to the time from a cued
// sound to the speaker. Both devices open the real platform card (SDL's dummy driver here) with
// a buffer of at most 256 frames (5.8 ms).
#include <gtest/gtest.h>

#include <cstdlib>

#include "audio/dsound_device.h"
#include "audio/winmm_device.h"

namespace {

constexpr int kMostFrames = 256;

TEST(CardBufferTest, BothDevicesAskSdlForAShortBuffer) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  {
    winmmdevice push;
    ASSERT_EQ(push.init(), 0);
    EXPECT_GT(push.cardBufferFrames(), 0);
    EXPECT_LE(push.cardBufferFrames(), kMostFrames) << "wave-out's card buffer";
    push.close();
    EXPECT_EQ(push.cardBufferFrames(), 0);
  }
  {
    dsounddevice pull;
    ASSERT_EQ(pull.init(), 0);
    EXPECT_GT(pull.cardBufferFrames(), 0);
    EXPECT_LE(pull.cardBufferFrames(), kMostFrames) << "DirectSound's card buffer";
    pull.close();
  }
}

}  // namespace
