// Benchmarks of the real game through the headless harness: start-up to the first flipped frame,
// frames of the attract scene on the software GL with the flip's sleep taken by the virtual
// clock, and the longest frame of a get-ready sequence, whose first frame starts a music track.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <unistd.h>

#include "game/play/globals.h"
#include "game/play/music_stream.h"
#include "game/startup.h"
#include "harness/harness.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// Milliseconds since this process started, from the kernel's record (10 ms resolution).
double MillisSinceProcessStart() {
  std::FILE* f = std::fopen("/proc/self/stat", "r");
  if (!f) return -1;
  char buffer[1024] = {};
  const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
  std::fclose(f);
  buffer[n] = 0;
  // The fields after the command name (which may hold spaces) start after the last ')'.
  const char* p = std::strrchr(buffer, ')');
  unsigned long long start = 0;
  for (int field = 3; p && field <= 22; ++field) {
    p = std::strchr(p + 1, ' ');
    if (p && field == 22) start = std::strtoull(p + 1, nullptr, 10);
  }
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
  return (now.tv_sec + now.tv_nsec / 1e9 - start / ticks) * 1000;
}

// Real clock, as the player starts the program: display, sync test, images, sounds, first frame.
// The first run counts from the process's own start; the time reported is that of later runs,
// from the call of the start-up on.
void BM_StartupToFirstFrame(benchmark::State& state) {
  static bool cold = true;
  for (auto _ : state) {
    static Clock::time_point started;
    static double first = 0;
    first = 0;
    HarnessOptions options;
    options.virtual_clock = false;
    HarnessOnFlip([] {
      if (HarnessFlips() != 1) return;
      first = MillisSince(started);
      if (cold) {
        cold = false;
        std::fprintf(stderr, "process start to first flipped frame: %.0f ms\n",
                     MillisSinceProcessStart());
      }
    });
    started = Clock::now();
    HarnessStart(options);
    state.SetIterationTime(first / 1000);
    HarnessStop();
  }
}
BENCHMARK(BM_StartupToFirstFrame)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_AttractSceneFrame(benchmark::State& state) {
  HarnessStart({});
  HarnessRun(60);
  for (auto _ : state) HarnessFrame();
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  HarnessStop();
}
BENCHMARK(BM_AttractSceneFrame)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Each iteration starts a game and runs its get-ready sequence to play; the time is the longest
// single frame, which is the one that loads the track.
void BM_LongestFrameOfGetReady(benchmark::State& state) {
  HarnessStart({});
  HarnessRun(10);
  double worst_all = 0;
  for (auto _ : state) {
    HarnessClick(1);
    double worst = 0;
    for (int i = 0; i < 30; ++i) {
      const auto t = Clock::now();
      HarnessFrame();
      worst = std::max(worst, MillisSince(t));
    }
    FinishMusicStreams();
    state.SetIterationTime(worst / 1000);
    worst_all = std::max(worst_all, worst);
    state.PauseTiming();
    HarnessTapKey(112);  // F1: back to the title for the next start
    HarnessRun(2);
    state.ResumeTiming();
  }
  state.counters["worst_ms"] = worst_all;
  HarnessStop();
}
BENCHMARK(BM_LongestFrameOfGetReady)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// The baseline for the above: the longest of 30 frames of the title screen, no track starting.
void BM_LongestFrameOfAttract(benchmark::State& state) {
  HarnessStart({});
  HarnessRun(10);
  double worst_all = 0;
  for (auto _ : state) {
    double worst = 0;
    for (int i = 0; i < 30; ++i) {
      const auto t = Clock::now();
      HarnessFrame();
      worst = std::max(worst, MillisSince(t));
    }
    state.SetIterationTime(worst / 1000);
    worst_all = std::max(worst_all, worst);
  }
  state.counters["worst_ms"] = worst_all;
  HarnessStop();
}
BENCHMARK(BM_LongestFrameOfAttract)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// For comparison: what starting a track would cost if it were decoded whole first.
void BM_WholeTrackDecode(benchmark::State& state) {
  HarnessStart({});
  for (auto _ : state) {
    Ref<TSound> track = LoadAudio("data/techno1.ogg", SOUND_LOOP);
    benchmark::DoNotOptimize(track.get());
  }
  HarnessStop();
}
BENCHMARK(BM_WholeTrackDecode)->Iterations(3)->Unit(benchmark::kMillisecond);

// The part of a track start the game thread does: open, decode the head, hand the rest over.
void BM_StreamedTrackStart(benchmark::State& state) {
  HarnessStart({});
  for (auto _ : state) {
    Ref<TSound> track = LoadMusicTrack("data/techno1.ogg");
    benchmark::DoNotOptimize(track.get());
    state.PauseTiming();
    StopMusicStreams();
    track.reset();
    state.ResumeTiming();
  }
  HarnessStop();
}
BENCHMARK(BM_StreamedTrackStart)->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
