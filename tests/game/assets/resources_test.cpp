// Tests of start-up with missing or broken sound files, of the anaglyph drawing's state, and of
// the screenshots the harness takes of each screen.
#include <fstream>

#include "game/play/anaglyph.h"
#include "game/play/sound_control.h"
#include "graphics/draw2d.h"
#include "graphics/pixmap.h"
#include "graphics/pixmap_loader.h"
#include "graphics/transform.h"
#include "tests/game/game_fixture.h"

namespace {

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

TEST_F(GameTest, MissingDataFolderLeavesEverySoundSilentWithOneLineEach) {
  HarnessOptions options;
  options.folder = MakeFolder({}, false).string();
  ::testing::internal::CaptureStderr();
  Start(options);
  EnterPlay();
  HarnessClick(1);  // fires, with its effect off
  HarnessRun(300);  // past the start of a game, whose track is missing too
  HarnessClick(1);
  HarnessRun(1);
  HarnessStop();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(Count(err, "could not be loaded: effect off\n"), 14) << err;
  EXPECT_EQ(Count(err, "Sound data/shot1.ogg could not be loaded: effect off"), 1);
  EXPECT_EQ(Count(err, "Music data/techno3.ogg could not be loaded"), 1) << err;
  EXPECT_EQ(assets.snd_shot.get(), nullptr);
  EXPECT_FALSE(playfield.shotlist->IsEmpty());
}

TEST_F(GameTest, MissingOrCorruptSoundFileSilencesThatSoundOnly) {
  const fs::path folder = MakeFolder({"hypersp.ogg", "gstart.ogg"});
  std::ofstream(folder / "data" / "gstart.ogg") << "OggS but not really a sound file at all";
  HarnessOptions options;
  options.folder = folder.string();
  ::testing::internal::CaptureStderr();
  Start(options);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(Count(err, "could not be loaded"), 2) << err;
  EXPECT_EQ(Count(err, "Sound data/hypersp.ogg could not be loaded: effect off"), 1);
  EXPECT_EQ(Count(err, "Sound data/gstart.ogg could not be loaded: effect off"), 1);
  EXPECT_EQ(assets.snd_hyper.get(), nullptr);
  EXPECT_EQ(assets.snd_gstart.get(), nullptr);
  EXPECT_NE(assets.snd_shot.get(), nullptr);
  HarnessClick(1);  // starts a game: the missing start jingle is skipped
  HarnessRun(2);
  EXPECT_EQ(game_mode.getready, 1);
}

TEST_F(GameTest, AnaglyphDrawingLeavesTheDefaultStateWhateverCameBefore) {
  Start();
  for (int op = 0; op < 2; ++op) {
    SetBlend(BLEND_SHADE);
    SetColor(1, 2, 3);
    SetAlpha(0.3f);
    SetRotationAndScale(33, 2, 3);
    if (op == 0) {
      drawimage3d(assets.shipimg, 100, 100, 1, 3, 45, 2, 2, 0.5f);
    } else {
      drawtext3d("Score", 100, 100, 2, 10, 2, 2, 3, 0.5f, 0, 9, 9, 9, 0, true);
    }
    int r, g, b;
    QueryColor(r, g, b);
    EXPECT_EQ(r + g + b, 255 * 3) << op;
    EXPECT_EQ(QueryAlpha(), 1.0f) << op;
    EXPECT_EQ(QueryBlend(), BLEND_MASK) << op;
    float sx, sy;
    QueryScale(sx, sy);
    EXPECT_EQ(QueryRotation(), 0.0f);
    EXPECT_EQ(sx * sy, 1.0f);
  }
}

// The anaglyph pair: cyan left of centre, red right of it, grey where the two meet.
TEST_F(GameTest, ScreenshotsOfEachScreenShowTheirPictures) {
  HarnessOptions options;
  options.full_splash = true;
  HarnessOnFlip([] {
    if (HarnessFlips() == 240) HarnessScreenshot("splash.png");
  });
  Start(options);
  HarnessOnFlip(nullptr);
  HarnessScreenshot("title.png");
  HarnessRun(30);
  HarnessClick(1);
  HarnessRun(120);
  HarnessScreenshot("getready.png");
  HarnessRun(1);
  RunUntil([] { return game_mode.playing == 1; }, 300);
  HarnessMoveMouse(250, 380);
  HarnessRun(2);
  HarnessClick(1);
  HarnessRun(6);
  HarnessScreenshot("play.png");
  HarnessRun(1);
  HarnessTapKey(32);
  HarnessOnFlip([] {
    static int n = 0;
    if (++n == 3) HarnessScreenshot("pause.png");
    if (n == 5) HarnessTapKey(32);
  });
  HarnessRun(1);
  for (const char* name : {"splash.png", "title.png", "getready.png", "play.png", "pause.png"}) {
    Ref<TPixmap> shot = LoadPixmap(name);
    ASSERT_TRUE(shot) << name;
    EXPECT_EQ(shot->width, 640);
    // Every screen has lit pixels in the playfield and black side bars.
    int lit = 0;
    for (int y = 0; y < 480; y += 2) {
      for (int x = 80; x < 560; x += 2) lit += (shot->ReadPixel(x, y) & 0xffffff) > 0x303030;
    }
    EXPECT_GT(lit, 100) << name;
    EXPECT_EQ(shot->ReadPixel(10, 240) & 0xffffff, 0u) << name;
    // Kept beside the build for a look.
    fs::copy_file(name, BuiltData().parent_path() / (std::string("screen_") + name),
                  fs::copy_options::overwrite_existing);
  }
}
