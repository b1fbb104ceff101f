// Sprites per second through PaintImage, as the game draws them: light blend, rotated and
// scaled, from one sheet's frames, on the headless OpenGL (Mesa's software rasteriser).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "graphics/draw2d.h"
#include "graphics/gl_draw2d.h"
#include "graphics/image_draw.h"

namespace {

Ref<TImage> Sprite(int w, int h) {
  Ref<TPixmap> p = TPixmap::Create(w, h, FORMAT_RGB888, 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) p->WritePixel(x, y, 0xff000000u | (x * 4) << 16 | (y * 5) << 8);
  }
  Ref<TImage> image = ImportImage(p, IMAGE_MASKED | IMAGE_DYNAMIC);
  CenterImageHandle(image);
  return image;
}

// Arguments: the sprite's width and height (a bee, then a star).
void BM_PaintImageLightRotatedScaled(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  GLRar2ADriver();
  if (!OpenGraphics(640, 480, 0, 0, GFX_BACKBUFFER)) {
    state.SkipWithError("no OpenGL context");
    return;
  }
  Ref<TImage> bee = Sprite(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const int batch = 1000;
  int n = 0;
  for (auto _ : state) {
    for (int i = 0; i < batch; ++i, ++n) {
      SetRotationAndScale(static_cast<float>(n % 360), 0.6f, 0.6f);
      SetBlend(BLEND_LIGHT);
      SetColor(140, 4, 10);
      PaintImage(bee, static_cast<float>(80 + n % 480), static_cast<float>(n % 480));
    }
    GrabPixmap(0, 0, 1, 1);  // waits for the rasteriser to finish the batch
  }
  state.SetItemsProcessed(state.iterations() * batch);
  EndGraphicsMode();
}
// Real time: the rasteriser works on threads of its own.
BENCHMARK(BM_PaintImageLightRotatedScaled)
    ->Args({61, 43})
    ->Args({16, 16})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
