// The status word of a channel whose voice has finished: 0 when the voice was let go as it ended
// (a channel the mixer made for one play), 1 (idle) on a channel the caller keeps.
#include "audio/manual_mixer.h"

namespace {

using ChannelStatus = ManualMixerTest;

TEST_F(ChannelStatus, AFinishedOneShotAnswersZeroOnItsOwnChannelAndIdleOnAKeptOne) {
  mix_sample* s = Sample(std::vector<int>(50, 1000), 16, 1);
  const int own = PlayNow(s);  // released when done
  const int kept = mix_alloc_channel();
  ASSERT_EQ(PlayNow(s, kept), kept);
  EXPECT_EQ(mix_channel_status(own), sound::kOnce);
  EXPECT_EQ(mix_channel_status(kept), sound::kOnce);
  Mix(100);
  EXPECT_EQ(mix_channel_status(own), 0);
  EXPECT_EQ(mix_channel_status(kept), sound::kIdle);
  // Asking again, after the mixer handed the voices back, changes nothing.
  Mix(10);
  EXPECT_EQ(mix_channel_status(own), 0);
  EXPECT_EQ(mix_channel_status(kept), sound::kIdle);
  // Pausing what has ended does not revive it.
  mix_set_paused(own, 1);
  EXPECT_EQ(mix_channel_status(own), 0);
  // Both channels play again, with the settings they had.
  mix_set_volume(own, 0.5f);
  ASSERT_EQ(PlayNow(s, own), own);
  EXPECT_EQ(mix_channel_status(own), sound::kOnce);
  std::vector<std::int16_t> out = Mix(10);
  EXPECT_EQ(out[0], 500);
  Mix(100);
  EXPECT_EQ(mix_channel_status(own), sound::kIdle) << "played again on it, it is the caller's";
  mix_stop_channel(own);
  mix_stop_channel(kept);
  EXPECT_EQ(mix_channel_status(own), 0);
}

}  // namespace
