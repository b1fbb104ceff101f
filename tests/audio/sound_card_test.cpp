// Each output device on the real platform card (SDL's dummy driver here). SDL's own device
// buffer plays after everything the device keeps ahead (the wave-out queue, the DirectSound
// ring), so its length adds to the time from a cued sound to the speaker: at most 256 frames
// (5.8 ms). And the thread that keeps the card fed runs at no lower a priority than SDL's thread
// that empties it: on a busy machine a lower one starves, the card catches up with the mixer,
// and wave-out answers with two more fragments of latency for the rest of the run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "audio/dsound_device.h"
#include "audio/winmm_device.h"

namespace {

constexpr int kMostFrames = 256;

TEST(CardThreadTest, BothDevicesAskSdlForAShortBuffer) {
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

struct ThreadState {
  bool found = false;
  long nice = 0;
  long policy = 0;
};

// The nice value and scheduling policy of this process's first thread whose name starts with
// `prefix`, from /proc/self/task/*/stat (fields 19 and 41).
ThreadState FindThread(const std::string& prefix) {
  ThreadState state;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(task.path() / "comm");
    std::string name;
    std::getline(comm, name);
    if (name.rfind(prefix, 0) != 0) continue;
    std::ifstream statfile(task.path() / "stat");
    std::string stat((std::istreambuf_iterator<char>(statfile)), {});
    // Fields after the name, which is in parentheses and may hold spaces.
    std::istringstream rest(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 41 && rest >> field; ++i) {
      if (i == 19) state.nice = std::stol(field);
      if (i == 41) state.policy = std::stol(field);
    }
    state.found = true;
    return state;
  }
  return state;
}

// Waits until both threads run; then the feeder's priority is at least the reader's.
void ExpectFeederAsHighAsReader(const std::string& feeder) {
  ThreadState ours, sdl;
  for (int i = 0; i < 200 && !(ours.found && sdl.found); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ours = FindThread(feeder);
    sdl = FindThread("SDLAudio");
  }
  ASSERT_TRUE(ours.found) << feeder << " is not running";
  ASSERT_TRUE(sdl.found) << "SDL's audio thread is not running";
  EXPECT_LE(ours.nice, sdl.nice) << feeder;
  EXPECT_EQ(ours.policy, sdl.policy) << feeder;
}

TEST(CardThreadTest, FeedersRunAsHighAsTheCardsReader) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  {
    winmmdevice push;
    ASSERT_EQ(push.init(), 0);
    ExpectFeederAsHighAsReader("zumbrix-refill");
  }
  {
    dsounddevice pull;
    ASSERT_EQ(pull.init(), 0);
    ExpectFeederAsHighAsReader("zumbrix-feeder");
  }
}

}  // namespace
