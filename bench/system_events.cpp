// How many input messages per second the whole input path takes: SDL queue, message stream,
// window procedure, translator, event chain, polled input. Runs on SDL's offscreen video
// unless SDL_VIDEODRIVER says otherwise.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "platform/inject.h"
#include "platform/video.h"
#include "platform/window.h"
#include "system/polled_input.h"
#include "system/system_driver.h"
#include "system/translator.h"

namespace {

std::uint32_t OpenInputWindow(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  std::string error;
  if (!plat_video_init(&error)) {
    state.SkipWithError(error.c_str());
    return 0;
  }
  std::uint32_t window = plat_window_create(PlatWindowOptions{640, 480, "bench"}, &error);
  if (!window) {
    state.SkipWithError(error.c_str());
    return 0;
  }
  plat_window_set_procedure(window, TranslatingWindowProcedure, nullptr);
  StartPolledInput(nullptr);
  return window;
}

void BM_KeyPressToKeyHits(benchmark::State& state) {
  std::uint32_t window = OpenInputWindow(state);
  if (!window) return;
  for (auto _ : state) {
    plat_inject_key(window, 32, true);
    plat_inject_key(window, 32, false);
    benchmark::DoNotOptimize(KeyHits(32));
  }
  state.SetItemsProcessed(state.iterations() * 2);
  StopPolledInput();
  plat_window_destroy(window);
}
BENCHMARK(BM_KeyPressToKeyHits);

void BM_MouseMovesPerFrame(benchmark::State& state) {
  std::uint32_t window = OpenInputWindow(state);
  if (!window) return;
  const int moves = static_cast<int>(state.range(0));
  int x = 0;
  for (auto _ : state) {
    for (int i = 0; i < moves; ++i) plat_inject_mouse_move(window, (x++ & 511), 100);
    benchmark::DoNotOptimize(MousePosX());
  }
  state.SetItemsProcessed(state.iterations() * moves);
  StopPolledInput();
  plat_window_destroy(window);
}
BENCHMARK(BM_MouseMovesPerFrame)->Arg(1)->Arg(64);

}  // namespace
