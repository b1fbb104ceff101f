// Seeking in a ten-minute replay, played headless on the null driver: 30 seconds back, to the
// start and to the end once every keyframe is known, to the end computed ahead from the start,
// and the keyframes' memory per hour of game. Set ZX_SEEK_REPLAY=FILE to keep the replay made.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "game/replay/replay.h"
#include "game/replay/replay_file.h"
#include "game/replay/replay_seek.h"
#include "harness/harness.h"
#include "tests/game/aim_script.h"

namespace {

constexpr int kMinutes = 10, kFrames = kMinutes * 60 * 60;

HarnessOptions Options() {
  HarnessOptions options;
  options.null_graphics = true;
  options.seed = 2718;
  options.folder = (std::filesystem::temp_directory_path() / "zumbrix_bench_seek").string();
  std::filesystem::create_directories(options.folder);
  return options;
}

// Ten minutes of games played by the aiming script, one after another.
const ReplayJournal& TenMinutes() {
  static const ReplayJournal journal = [] {
    StartRecording();
    HarnessStart(Options());
    AimScript aim;
    while (RecordedFrames() < kFrames && HarnessFrame()) aim.Step();
    HarnessTapKey(27);
    HarnessFrame();
    ReplayJournal recorded = StopRecording().journal;
    HarnessStop();
    if (const char* keep = std::getenv("ZX_SEEK_REPLAY")) SaveReplay(keep, recorded);
    return recorded;
  }();
  return journal;
}

double Millis(void (*what)()) {
  const auto start = std::chrono::steady_clock::now();
  what();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

void BM_SeekInTenMinuteReplay(benchmark::State& state) {
  const ReplayJournal& journal = TenMinutes();
  for (auto _ : state) {
    StartReplay(journal);
    HarnessStart(Options());
    const double ahead = Millis([] { SeekReplay(ReplayLength(), HarnessFrame); });
    double back = 0;
    int backs = 0;
    for (int from = 3 * 3600; from < kFrames; from += 3 * 3600 + 917, ++backs) {
      SeekReplay(from, HarnessFrame);
      back += Millis([] { SeekReplay(ReplayFramesPlayed() - 30 * 60, HarnessFrame); });
    }
    const double start = Millis([] { SeekReplay(0, HarnessFrame); });
    const double end = Millis([] { SeekReplay(ReplayLength(), HarnessFrame); });
    const double hours = ReplayLength() / (60.0 * 3600);
    state.counters["back_30s_ms"] = back / backs;
    state.counters["to_start_ms"] = start;
    state.counters["to_end_ms"] = end;
    state.counters["end_ahead_ms"] = ahead;
    state.counters["keyframe_MB_per_hour"] = ReplayKeyframeBytes() / hours / 1e6;
    state.counters["replay_minutes"] = ReplayLength() / 3600.0;
    StopReplay();
    HarnessStop();
  }
}
BENCHMARK(BM_SeekInTenMinuteReplay)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
