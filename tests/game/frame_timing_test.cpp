// The frame-time overlay (F11) and the frame log (--frame-log), on the harness's virtual clock:
// the overlay draws in its corner and nowhere else, goes away again, and costs nothing when off;
// the log has one line per presented frame, with the start-up's steps and the screen's name.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/frame_log.h"
#include "graphics/draw2d.h"
#include "graphics/frame_overlay.h"
#include "graphics/frame_timing.h"
#include "graphics/graphics.h"
#include "system/hook.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr int kF11 = 122;

// The picture as presented: grabbed after every other flip hook has drawn (the overlay
// included), before the frame's record is closed.
Ref<TPixmap> presented;

TObject* GrabPresented(int, TObject* data, TObject*) {
  presented = GrabPixmap(0, 0, 640, 480);
  return data;
}

class FrameTimingTest : public GameTest {
 protected:
  void SetUp() override { AttachHook(FlipHookId(), GrabPresented, nullptr, -600); }
  void TearDown() override {
    DetachHook(FlipHookId(), GrabPresented, nullptr);
    ShowFrameOverlay(false);
    StopFrameLog();
    presented.reset();
    GameTest::TearDown();
  }

  // The title screen's 200th frame, with the overlay switched on by F11 at its 100th or not.
  Ref<TPixmap> TitleFrame(bool overlay) {
    HarnessStop();
    Start();
    HarnessRun(100);
    if (overlay) HarnessTapKey(kF11);
    HarnessRun(100);
    EXPECT_EQ(FrameOverlayShown(), overlay);
    return presented;
  }

  static bool InPanel(int x, int y) {
    return x >= kFrameOverlayX && x < kFrameOverlayX + kFrameOverlayWidth && y >= kFrameOverlayY &&
           y < kFrameOverlayY + kFrameOverlayHeight;
  }
};

TEST_F(FrameTimingTest, TheOverlayDrawsInItsCornerOnlyAndGoesAwayAgain) {
  const Ref<TPixmap> plain = TitleFrame(false);
  EXPECT_FALSE(FramesWatched()) << "nothing is timed while the overlay is off";
  const Ref<TPixmap> shown = TitleFrame(true);
  ASSERT_TRUE(plain && shown);
  int white = 0, green = 0, outside = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const std::uint32_t a = plain->ReadPixel(x, y) & 0xffffff,
                          b = shown->ReadPixel(x, y) & 0xffffff;
      if (!InPanel(x, y)) {
        outside += a != b;
        continue;
      }
      EXPECT_EQ(a, 0u) << "the side bar is black without the overlay, at " << x << "," << y;
      white += b == 0xffffff;
      green += b == 0x00dc00;  // on-time frames
    }
  }
  EXPECT_EQ(outside, 0) << "the overlay changed the picture outside its panel";
  EXPECT_GT(white, 40) << "the frame rate's digits";
  EXPECT_GT(green, 200) << "a column for every on-time frame";
  EXPECT_TRUE(FramesWatched());

  HarnessTapKey(kF11);
  HarnessRun(2);
  EXPECT_FALSE(FrameOverlayShown());
  EXPECT_FALSE(FramesWatched());
  for (int y = kFrameOverlayY; y < kFrameOverlayY + kFrameOverlayHeight; ++y) {
    for (int x = kFrameOverlayX; x < kFrameOverlayX + kFrameOverlayWidth; ++x) {
      ASSERT_EQ(presented->ReadPixel(x, y) & 0xffffff, 0u) << x << "," << y;
    }
  }
}

// The overlay leaves the drawing state as it found it: the game's next frame draws the same.
TEST_F(FrameTimingTest, TheOverlayLeavesTheDrawingStateAsItFoundIt) {
  Start();
  HarnessRun(10);
  SetColor(12, 34, 56);
  SetAlpha(0.25f);
  SetBlend(BLEND_LIGHT);
  SetViewport(100, 50, 200, 100);
  ShowFrameOverlay(true);
  FlipScreen(-1);
  int r, g, b, x, y, w, h;
  QueryColor(r, g, b);
  QueryViewport(x, y, w, h);
  EXPECT_EQ(r * 10000 + g * 100 + b, 123456);
  EXPECT_EQ(QueryAlpha(), 0.25f);
  EXPECT_EQ(QueryBlend(), BLEND_LIGHT);
  EXPECT_EQ((std::vector<int>{x, y, w, h}), (std::vector<int>{100, 50, 200, 100}));
}

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(FrameTimingTest, TheLogHasALinePerFrameWithTheStartupStepsAndTheScreens) {
  MakeFolder();
  const std::string path = (folder_ / "frames.log").string();
  std::string problem;
  ASSERT_TRUE(StartFrameLog(path, &problem)) << problem;
  HarnessOptions options;
  options.folder = folder_.string();
  Start(options);
  HarnessRun(120);
  HarnessClick(1);
  HarnessRun(30);
  const int flips = HarnessFlips();  // start-up's and the splash screen's included
  StopFrameLog();

  std::vector<std::string> steps, screens;
  std::vector<long long> numbers, flips_us;
  std::vector<std::string> line_screens;
  for (const std::string& line : Lines(path)) {
    std::istringstream in(line);
    if (line.rfind("# startup ", 0) == 0) {
      std::string hash, word, name;
      in >> hash >> word >> name;
      steps.push_back(name);
      continue;
    }
    if (line[0] == '#') continue;
    long long number, flip_us;
    int work_us, wait_us;
    std::string screen;
    ASSERT_TRUE(in >> number >> flip_us >> work_us >> wait_us >> screen) << line;
    EXPECT_GE(work_us, 0);
    EXPECT_GE(wait_us, 0);
    numbers.push_back(number);
    flips_us.push_back(flip_us);
    line_screens.push_back(screen);
    if (screens.empty() || screens.back() != screen) screens.push_back(screen);
  }
  // Earlier harness runs in this process noted their steps too; this run's are the last.
  const std::vector<std::string> kSteps = {"video", "context", "setup", "probe",
                                           "sheet", "sounds",  "score"};
  ASSERT_GE(steps.size(), kSteps.size());
  EXPECT_EQ(std::vector<std::string>(steps.end() - 7, steps.end()), kSteps);
  EXPECT_EQ(screens, (std::vector<std::string>{"startup", "splash", "title", "getready"}));
  ASSERT_EQ(numbers.size(), static_cast<std::size_t>(flips));
  for (std::size_t i = 1; i < numbers.size(); ++i) {
    ASSERT_EQ(numbers[i], numbers[i - 1] + 1);
    if (line_screens[i - 1] == "startup") continue;  // paced from the splash screen on
    const long long interval = flips_us[i] - flips_us[i - 1];
    ASSERT_TRUE(interval == 16000 || interval == 17000)
        << "frame " << numbers[i] << ": " << interval;
  }
  EXPECT_FALSE(FramesWatched()) << "a stopped log times nothing";
}

TEST_F(FrameTimingTest, ALogThatCannotBeWrittenSaysWhy) {
  std::string problem;
  EXPECT_FALSE(StartFrameLog("/nonexistent-folder/frames.log", &problem));
  EXPECT_NE(problem.find("/nonexistent-folder/frames.log"), std::string::npos) << problem;
  EXPECT_FALSE(FramesWatched());
}

}  // namespace
