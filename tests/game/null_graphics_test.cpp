// The game on the null graphics driver: the images cut from the sprite sheet hold the pixels the
// OpenGL driver captures, and a scripted game reaches the same state on both drivers.
#include <gtest/gtest.h>

#include <vector>

#include "aim_script.h"
#include "game/state_hash.h"
#include "game_fixture.h"
#include "graphics/draw2d.h"
#include "graphics/null_draw2d.h"
#include "sanitizer.h"

namespace {

std::vector<Ref<TImage>> GameImages() {
  return {starimg,     shipimg,     beeimg,      splatimg,  pointsimg,   bonusbannerimg,
          lazerimg,    beeshotimg,  logoimg,     promptimg, getreadyimg, bonusroundimg,
          wavedoneimg, gameoverimg, hudlabelimg, digitimg};
}

// Every frame's pixels, row by row, of every image.
std::vector<std::vector<std::uint32_t>> ImagePixels() {
  std::vector<std::vector<std::uint32_t>> all;
  for (const Ref<TImage>& image : GameImages()) {
    for (int f = 0; f < image->FrameCount(); ++f) {
      Ref<TPixmap> p = image->Lock(f, true, false);
      std::vector<std::uint32_t> pixels;
      for (int y = 0; y < p->height; ++y) {
        for (int x = 0; x < p->width; ++x) pixels.push_back(p->ReadPixel(x, y));
      }
      all.push_back(pixels);
    }
  }
  return all;
}

// A game of `frames` frames played by the aiming script; the state hash every `every` frames.
std::vector<std::uint64_t> ScriptedHashes(int frames, int every) {
  AimScript aim;
  std::vector<std::uint64_t> hashes;
  for (int frame = 1; frame <= frames; ++frame) {
    aim.Step();
    if (!HarnessFrame()) break;
    if (frame % every == 0) hashes.push_back(GameStateHash());
  }
  return hashes;
}

class NullGraphicsGame : public GameTest {};

TEST_F(NullGraphicsGame, ImagesCutFromTheSheetMatchTheCapturedOnes) {
  HarnessOptions options;
  options.folder = MakeFolder().string();
  HarnessStart(options);
  const auto captured = ImagePixels();
  HarnessStop();
  options.nullgraphics = true;
  HarnessStart(options);
  ASSERT_EQ(Current2DDriver(), NullRar2ADriver());
  const auto cut = ImagePixels();
  ASSERT_EQ(cut.size(), captured.size());
  int opaque = 0;
  for (std::size_t i = 0; i < cut.size(); ++i) {
    ASSERT_EQ(cut[i], captured[i]) << "image frame " << i;
    for (std::uint32_t pixel : cut[i]) opaque += (pixel >> 24) == 255;
  }
  EXPECT_GT(opaque, 10000);  // real sprites, not empty frames
}

TEST_F(NullGraphicsGame, AScriptedGameReachesTheSameStatesAsOnOpenGL) {
  if (kThreadSanitizer) GTEST_SKIP() << "1,200 frames on the software OpenGL: other builds";
  HarnessOptions options;
  options.folder = MakeFolder().string();
  options.nullgraphics = true;
  HarnessStart(options);
  const auto on_null = ScriptedHashes(1200, 100);
  const int score = player->score, wave = player->wave;
  HarnessStop();
  fs::remove(folder_ / "data" / "hiscore.dat");  // both games start from the same best score
  options.nullgraphics = false;
  HarnessStart(options);
  const auto on_gl = ScriptedHashes(1200, 100);
  ASSERT_EQ(on_null.size(), 12u);
  for (std::size_t i = 0; i < on_gl.size(); ++i) {
    ASSERT_EQ(on_null[i], on_gl[i]) << "first difference at frame " << (i + 1) * 100;
  }
  EXPECT_EQ(player->score, score);
  EXPECT_EQ(player->wave, wave);
  EXPECT_GT(score, 0);  // the ship's shots hit: collisions work on the null driver
}

}  // namespace
