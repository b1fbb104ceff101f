// Frame pacing and the context bookkeeping, with a driver whose flips take a set time on the
// virtual clock.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/error.h"
#include "graphics/graphics.h"
#include "platform/clock.h"
#include "system/clock.h"

namespace {

class FakeGraphics;

class FakeDriver : public TGraphicsDriver {
 public:
  std::vector<TGraphicsMode> GraphicsModes() override {
    ++mode_queries;
    return {{640, 480, 32, 60}, {800, 600, 16, 75}};
  }
  Ref<TGraphics> AttachGraphics(unsigned, int) override { return nullptr; }
  Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) override;
  void SetGraphics(TGraphics*) override {}
  void FinishFrame() override { finish_times.push_back(Millis()); }
  void Flip(int sync) override {
    syncs.push_back(sync);
    flip_times.push_back(Millis());
    plat_advance_clock(flip_ms);
    shown_times.push_back(Millis());
  }

  int flip_ms = 1;
  bool fail = false;
  int mode_queries = 0;
  std::vector<int> syncs;
  std::vector<int> flip_times;    // when each flip started
  std::vector<int> shown_times;   // when each flip returned: the frame is on the screen
  std::vector<int> finish_times;  // when each FinishFrame was asked for
};

class FakeGraphics : public TGraphics {
 public:
  FakeGraphics(FakeDriver* d, int w, int h, int depth, int hertz, int flags)
      : driver(d), w(w), h(h), depth(depth), hertz(hertz), flags(flags) {}
  TGraphicsDriver* Driver() override { return driver; }
  void GetSettings(int& width, int& height, int& d, int& hz, int& f) override {
    width = w;
    height = h;
    d = depth;
    hz = hertz;
    f = flags;
  }
  void Close() override { closed = true; }
  FakeDriver* driver;
  int w, h, depth, hertz, flags;
  bool closed = false;
};

Ref<TGraphics> FakeDriver::CreateGraphics(int width, int height, int depth, int hertz, int flags) {
  if (fail) throw TRuntimeError("no display");
  return New<FakeGraphics>(this, width, height, depth, hertz, flags);
}

class Pacing : public ::testing::Test {
 protected:
  void SetUp() override {
    plat_use_virtual_clock(true);
    driver = New<FakeDriver>();
    SelectGraphicsDriver(driver.get(), GFX_BACKBUFFER);
  }
  void TearDown() override {
    EndGraphicsMode();
    SelectGraphicsDriver(nullptr, 0);
    plat_use_virtual_clock(false);
  }
  // The milliseconds between the starts of consecutive paced flips, continuing from the last
  // paced flip (a first one is made when there was none since `fresh`).
  std::vector<int> Periods(int frames) {
    if (fresh) {
      driver->flip_times.clear();
      FlipScreen(-1);
      fresh = false;
    }
    std::size_t first = driver->flip_times.size();
    for (int i = 0; i < frames; ++i) FlipScreen(-1);
    std::vector<int> periods;
    for (std::size_t i = first; i < driver->flip_times.size(); ++i) {
      periods.push_back(driver->flip_times[i] - driver->flip_times[i - 1]);
    }
    return periods;
  }
  bool fresh = true;
  Ref<FakeDriver> driver;
};

TEST_F(Pacing, SixtyPacedFlipsTakeExactlyOneSecond) {
  driver->flip_ms = 1;  // no vertical sync: the hardware test fails
  ASSERT_TRUE(OpenGraphics(640, 480, 32, 60, 0));
  EXPECT_TRUE(SoftSyncActive());
  for (int second = 0; second < 3; ++second) {
    int total = 0, longer = 0;
    for (int p : Periods(60)) {
      ASSERT_TRUE(p == 16 || p == 17) << p;
      total += p;
      longer += p == 17;
    }
    EXPECT_EQ(total, 1000);
    EXPECT_EQ(longer, 40);
  }
  EXPECT_EQ(driver->syncs.back(), 0);
}

TEST_F(Pacing, DisplaySyncedAtTheRateTurnsSoftSyncOff) {
  for (int ms : {16, 17}) {
    driver->flip_ms = ms;
    ASSERT_TRUE(OpenGraphics(640, 480, 32, 60, 0));
    EXPECT_FALSE(SoftSyncActive()) << ms;
    driver->syncs.clear();
    int start = Millis();
    FlipScreen(-1);
    EXPECT_EQ(driver->syncs, std::vector<int>{1});
    EXPECT_EQ(Millis() - start, ms);  // no sleep of its own
  }
}

// The display probe: flips that return sooner than a refresh period mean there is no vertical
// sync, and twenty of them in a row end the probe (it used to flip for a whole second); a display
// that hands back a few buffers at once before it starts waiting for its refresh still counts as
// synced.
TEST_F(Pacing, TheProbeGivesUpAfterTwentyEarlyFlipsButWaitsOutAFillingQueue) {
  for (int ms : {0, 8, 14}) {  // at once, or slower but still short of a refresh period
    driver->flip_ms = ms;
    driver->syncs.clear();
    ASSERT_TRUE(OpenGraphics(640, 480, 32, 60, 0));
    EXPECT_TRUE(SoftSyncActive());
    EXPECT_EQ(driver->syncs.size(), 20u) << ms << " ms flips";
  }

  class QueueingDriver : public FakeDriver {
   public:
    void Flip(int sync) override {
      flip_ms = ++flips <= 3 ? 0 : 17;
      FakeDriver::Flip(sync);
    }
    int flips = 0;
  };
  Ref<QueueingDriver> queueing = New<QueueingDriver>();
  SelectGraphicsDriver(queueing.get(), GFX_BACKBUFFER);
  ASSERT_TRUE(OpenGraphics(640, 480, 32, 60, 0));
  EXPECT_FALSE(SoftSyncActive());
  EXPECT_EQ(queueing->flips, 6);
  EndGraphicsMode();
  SelectGraphicsDriver(driver.get(), GFX_BACKBUFFER);
}

// The frame's drawing is finished before the pacing wait, so that the flip after the wait only
// shows it: drawing time moves the wait, not the moment the frame appears.
TEST_F(Pacing, TheFrameIsFinishedBeforeThePacingWaitAndFlippedAfterIt) {
  ASSERT_TRUE(OpenGraphics(640, 480, 32, 60, 0));
  ASSERT_TRUE(SoftSyncActive());
  Periods(3);
  driver->finish_times.clear();
  driver->flip_times.clear();
  for (int i = 0; i < 5; ++i) FlipScreen(-1);
  ASSERT_EQ(driver->finish_times.size(), 5u);
  ASSERT_EQ(driver->flip_times.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_GE(driver->flip_times[i] - driver->finish_times[i], 15) << "frame " << i;
  }
  FlipScreen(1);  // an explicit sync is not paced: nothing to finish first
  EXPECT_EQ(driver->finish_times.size(), 5u);
}

// A frame shown late restarts the schedule from the moment it was shown: each frame after it
// comes a whole period after the one before, neither early to make up nor back to back to catch
// up. Late because the wake came late (the system ran something else), because the flip took
// longer than usual (the display server was busy), or because the frame's own work outran its
// period; by a millisecond, by less than a period, or by several.
enum class Lateness { kWake, kFlip, kWork };

class LateFrame : public Pacing, public ::testing::WithParamInterface<std::tuple<Lateness, int>> {};

TEST_P(LateFrame, TheFramesAfterItAreEachAWholePeriodApart) {
  const auto [lateness, ms] = GetParam();
  ASSERT_TRUE(OpenGraphics(640, 480, 32, 60, 0));
  ASSERT_TRUE(SoftSyncActive());
  Periods(10);
  driver->shown_times.clear();
  FlipScreen(-1);
  switch (lateness) {
    case Lateness::kWake:
      plat_virtual_oversleep(static_cast<std::uint32_t>(ms));
      break;
    case Lateness::kFlip:
      driver->flip_ms = 1 + ms;
      break;
    case Lateness::kWork:
      plat_advance_clock(static_cast<std::uint32_t>(17 + ms));
      break;
  }
  FlipScreen(-1);
  driver->flip_ms = 1;
  for (int i = 0; i < 8; ++i) FlipScreen(-1);
  const std::vector<int>& shown = driver->shown_times;
  ASSERT_EQ(shown.size(), 10u);
  EXPECT_GE(shown[1] - shown[0], 16 + ms) << "the late frame was not late";
  for (std::size_t i = 2; i < shown.size(); ++i) {
    const int period = shown[i] - shown[i - 1];
    EXPECT_TRUE(period == 16 || period == 17)
        << "frame " << i - 1 << " after the late one came " << period << " ms after the last";
  }
}

std::string LateFrameName(const ::testing::TestParamInfo<std::tuple<Lateness, int>>& info) {
  const Lateness lateness = std::get<0>(info.param);
  const char* what = lateness == Lateness::kWake   ? "Wake"
                     : lateness == Lateness::kFlip ? "Flip"
                                                   : "Work";
  return std::string(what) + "Late" + std::to_string(std::get<1>(info.param)) + "ms";
}

INSTANTIATE_TEST_SUITE_P(Sizes, LateFrame,
                         ::testing::Combine(::testing::Values(Lateness::kWake, Lateness::kFlip,
                                                              Lateness::kWork),
                                            ::testing::Values(1, 5, 12, 16, 40, 250)),
                         LateFrameName);

// Flips that take longer for good (a bigger window) soon count as usual: the frames go back to a
// period apart instead of each being moved later.
TEST_F(Pacing, FlipsThatStaySlowerSoonKeepThePeriodAgain) {
  ASSERT_TRUE(OpenGraphics(640, 480, 32, 60, 0));
  Periods(10);
  driver->flip_ms = 5;
  Periods(8);
  for (int p : Periods(60)) ASSERT_TRUE(p == 16 || p == 17) << p;
}

TEST_F(Pacing, ZeroHertzAndExplicitSyncBypassPacing) {
  ASSERT_TRUE(OpenGraphics(640, 480, 32, 0, 0));
  EXPECT_FALSE(SoftSyncActive());
  driver->syncs.clear();
  FlipScreen(-1);
  FlipScreen(0);
  FlipScreen(1);
  EXPECT_EQ(driver->syncs, (std::vector<int>{1, 0, 1}));  // full screen flips with sync

  ASSERT_TRUE(OpenGraphics(320, 200, 0, 0, 0));  // a window
  driver->syncs.clear();
  int start = Millis();
  FlipScreen(-1);
  EXPECT_EQ(driver->syncs, std::vector<int>{0});
  EXPECT_EQ(Millis() - start, 1);  // only the flip's own time
}

TEST_F(Pacing, ContextsGenerationsAndModes) {
  int before = GraphicsGeneration();
  Ref<TGraphics> first = OpenGraphics(640, 480, 32, 0, 4);
  ASSERT_TRUE(first);
  EXPECT_EQ(GraphicsGeneration(), before + 1);
  EXPECT_EQ(ContextWidth(), 640);
  EXPECT_EQ(ContextFlags(), 4 | GFX_BACKBUFFER);  // the default flags are added
  Ref<TGraphics> second = OpenGraphics(800, 600, 32, 0, 0);
  EXPECT_EQ(GraphicsGeneration(), before + 3);  // one for the close, one for the new context
  EXPECT_TRUE(static_cast<FakeGraphics*>(first.get())->closed);
  EXPECT_EQ(CurrentGraphics(), second.get());

  driver->fail = true;
  EXPECT_EQ(OpenGraphics(640, 480, 32, 0, 0), nullptr);  // the driver's error gives null
  EXPECT_TRUE(static_cast<FakeGraphics*>(second.get())->closed);
  EXPECT_EQ(ContextWidth(), 0);

  EXPECT_TRUE(GraphicsModeExists(640, 480, 0, 0));
  EXPECT_TRUE(GraphicsModeExists(0, 0, 16, 0));
  EXPECT_FALSE(GraphicsModeExists(640, 480, 16, 0));
  EXPECT_EQ(GraphicsModeCount(), 2);
  EXPECT_EQ(driver->mode_queries, 1);  // fetched once, then cached
}

}  // namespace
