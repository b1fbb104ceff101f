// One pass of the real frame loop over a busy playing scene, on the headless harness: 300 stars,
// six merged bees and a converging swarm, a dozen bee bullets, three laser shots with their
// trails, a splat, score pop-ups and 80 particles, then the side bars, the HUD and the flip.
// The scene is laid out afresh every 16 frames (outside the timing), before anything in it
// could reach the ship or leave the screen. The first argument turns the playfield's clip to the
// part the side bars leave visible on (clip:1, as the game plays) or off (clip:0), to show what it
// saves in one run; the second is the stereo mode (stereo:0 off, 1 side-by-side, 2
// side-by-side-half, 3 top-bottom), each frame then recorded once and drawn once per eye, each
// eye's view into a picture of its own. The third shows the game on a 1920x1080 desktop
// (desktop:1) rather than in its 640x480 display mode (desktop:0): there the flat frame is drawn
// offscreen too, as the stereo views always are. The fourth draws in flat colours (flat:1), once
// per image as each stereo view does, rather than in red/cyan pairs (four copies): the flat frame
// the stereo frames are twice of. The fifth flies the ghost of a best game beside the ship
// (ghost:1), a track that circles the playfield, to show what drawing it costs. (Nothing is shown
// on the headless display: the scaling to the screen is not timed.) CPU time is the whole
// process's, the software rasteriser's threads included.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "game/config/colour_mode.h"
#include "game/config/settings_store.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/playfield_clip.h"
#include "game/replay/ghost.h"
#include "graphics/display_mode.h"
#include "graphics/stereo_mode.h"
#include "harness/harness.h"
#include "platform/inject.h"

namespace {

void BuildBusyScene() {
  clearentities();
  playfield.player->reset();
  for (int i = 0; i < 6; ++i) {
    starbee_tag::Create(0, 120.0f + 70 * i, 60.0f + 15 * i, 0.3f + 0.1f * i, 0, i + 1);
    auto* bee = static_cast<starbee_tag*>(playfield.beelist->Last());
    bee->alpha = 1.0f;
  }
  starbee_tag::Create(2, 0, 0, 0, 99, 0);
  for (int i = 0; i < 12; ++i) beeshot_tag::Create(100.0f + 35 * i, 40.0f + 10 * (i % 4));
  for (int i = 0; i < 3; ++i) {
    for (int y = 380; y > 300; y -= 8) lazershot_tag::Create(1, 200 + 60 * i, y);
    lazershot_tag::Create(0, 200 + 60 * i, 300);
  }
  beesplat_tag::Create(300, 150, 0.5f);
  for (int i = 0; i < 3; ++i) points_tag::Create(150.0f + 100 * i, 120, i);
  particle_tag::Create(320, 120, 0.4f, 80);
}

void BM_BusyPlayingFrame(benchmark::State& state) {
  SetPlayfieldClipping(state.range(0) != 0);
  SetStereoMode(static_cast<StereoMode>(state.range(1)));
  plat_inject_desktop_size(1920, 1080);
  SetDisplayMode(state.range(2) != 0 ? DisplayMode::Desktop : DisplayMode::Fullscreen);
  SetColourMode(state.range(3) != 0 ? ColourMode::Flat : ColourMode::Anaglyph);
  const bool ghost = state.range(4) != 0;
  OverrideSettings({{"ghost", ghost ? "on" : "off"}});
  std::vector<ShipPoint> track(1 << 16);
  for (std::size_t i = 0; i < track.size(); ++i) {
    track[i] = {static_cast<int>(320 + 200 * std::sin(i * 0.02)),
                static_cast<int>(380 + 60 * std::cos(i * 0.03)), true, false, 0};
  }
  UseGhostTrack(ghost ? track : std::vector<ShipPoint>{});
  HarnessOptions options;
  HarnessStart(options);
  HarnessRun(1);  // a frame of the title: the ghost takes its track when play starts
  game_mode.titlemode = 0;
  game_mode.playing = 1;
  int frame = 0;
  for (auto _ : state) {
    if (frame++ % 16 == 0) {
      state.PauseTiming();
      BuildBusyScene();
      state.ResumeTiming();
    }
    HarnessFrame();
    if (game_mode.gameover) {
      state.SkipWithError("the scene reached the ship");
      break;
    }
  }
  state.counters["bees"] = playfield.beelist->Count();
  state.counters["particles"] = playfield.particlelist->Count();
  HarnessStop();
  SetPlayfieldClipping(true);
  SetStereoMode(StereoMode::Off);
  SetDisplayMode(DisplayMode::Fullscreen);
  SetColourMode(ColourMode::Anaglyph);
  UseGhostTrack({});
  ResetSettings();
}
BENCHMARK(BM_BusyPlayingFrame)
    ->ArgNames({"clip", "stereo", "desktop", "flat", "ghost"})
    ->Args({0, 0, 0, 0, 0})
    ->Args({1, 0, 0, 0, 0})
    ->Args({1, 0, 0, 0, 1})
    ->Args({1, 0, 1, 0, 0})
    ->Args({1, 0, 1, 1, 0})
    ->Args({1, 1, 1, 0, 0})
    ->Args({1, 2, 1, 0, 0})
    ->Args({1, 3, 1, 0, 0})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);

}  // namespace
