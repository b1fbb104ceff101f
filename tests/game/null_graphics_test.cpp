// The game on the null graphics driver: the images cut from the sprite sheet hold the pixels the
// OpenGL driver captures, and a scripted game reaches the same state on both drivers.
#include <gtest/gtest.h>

#include <vector>

#include "game/assets/sheet_cut.h"
#include "game/replay/state_hash.h"
#include "graphics/draw2d.h"
#include "graphics/image_commands.h"
#include "graphics/image_draw.h"
#include "graphics/null_draw2d.h"
#include "graphics/transform.h"
#include "tests/game/aim_script.h"
#include "tests/game/game_fixture.h"
#include "tests/game/sanitizer.h"

namespace {

std::vector<Ref<TImage>> GameImages() {
  return {assets.starimg,     assets.shipimg,        assets.beeimg,      assets.splatimg,
          assets.pointsimg,   assets.bonusbannerimg, assets.lazerimg,    assets.beeshotimg,
          assets.logoimg,     assets.promptimg,      assets.getreadyimg, assets.bonusroundimg,
          assets.wavedoneimg, assets.gameoverimg,    assets.hudlabelimg, assets.digitimg};
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

// The game cuts its images from the sheet in software, on every driver; they must hold what
// painting the sheet with OpenGL and reading the screen back gives.
TEST_F(NullGraphicsGame, ImagesCutFromTheSheetMatchWhatOpenGLPaintsAndCaptures) {
  HarnessOptions options;
  options.folder = MakeFolder().string();
  HarnessStart(options);
  ASSERT_TRUE(Current2DDriver()->ReadsBackPixels()) << "the OpenGL driver";
  const auto cut = ImagePixels();
  Ref<TImage> sheet = ImportImage("incbin::zumbrix_3d.png", -1);
  SetClsColor(0, 0, 0);
  Cls();
  SetBlend(BLEND_MASK);
  SetColor(255, 255, 255);
  SetAlpha(1);
  SetRotationAndScale(0, 1, 1);
  SetOrigin(0, 0);
  PaintImage(sheet, 0, 0);
  std::vector<Ref<TImage>> captured;
  for (const SheetImage& row : kSheetImages) {
    Ref<TImage> image = NewImage(row.width, row.height, row.frames);
    for (int i = 0; i < row.frames; ++i) CaptureImage(image, row.x + i * row.step, row.y, i);
    captured.push_back(image);
  }
  std::size_t index = 0;
  int opaque = 0;
  for (const Ref<TImage>& image : captured) {
    for (int f = 0; f < image->FrameCount(); ++f, ++index) {
      ASSERT_LT(index, cut.size());
      Ref<TPixmap> p = image->Lock(f, true, false);
      std::vector<std::uint32_t> pixels;
      for (int y = 0; y < p->height; ++y) {
        for (int x = 0; x < p->width; ++x) pixels.push_back(p->ReadPixel(x, y));
      }
      ASSERT_EQ(cut[index], pixels) << "image frame " << index;
      for (std::uint32_t pixel : pixels) opaque += (pixel >> 24) == 255;
    }
  }
  EXPECT_EQ(index, cut.size());
  EXPECT_GT(opaque, 10000);  // real sprites, not empty frames
}

TEST_F(NullGraphicsGame, AScriptedGameReachesTheSameStatesAsOnOpenGL) {
  if (kThreadSanitizer) GTEST_SKIP() << "1,200 frames on the software OpenGL: other builds";
  HarnessOptions options;
  options.folder = MakeFolder().string();
  options.null_graphics = true;
  HarnessStart(options);
  const auto on_null = ScriptedHashes(1200, 100);
  const int score = playfield.player->score, wave = playfield.player->wave;
  HarnessStop();
  fs::remove(folder_ / "data" / "hiscore.dat");  // both games start from the same best score
  options.null_graphics = false;
  HarnessStart(options);
  const auto on_gl = ScriptedHashes(1200, 100);
  ASSERT_EQ(on_null.size(), 12u);
  for (std::size_t i = 0; i < on_gl.size(); ++i) {
    ASSERT_EQ(on_null[i], on_gl[i]) << "first difference at frame " << (i + 1) * 100;
  }
  EXPECT_EQ(playfield.player->score, score);
  EXPECT_EQ(playfield.player->wave, wave);
  EXPECT_GT(score, 0);  // the ship's shots hit: collisions work on the null driver
}

}  // namespace
