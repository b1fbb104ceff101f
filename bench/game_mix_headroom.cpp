// The mix's headroom over busy play: the real game on the headless harness (null graphics), its
// sound mixed in lockstep with the frames (735 sample frames a flip, on a device that mixes only
// when asked, each music track decoded whole before it is mixed) at the default volumes (music 1.0,
// effects 0.5), while the aiming script of the game's tests plays: a click starts each game, the
// script aims, fires and dodges, so every wave brings shots, hits, bursts and swarms. Reports, for
// the whole run and per phase (title, first wave, second wave, bonus round): the peak in dBFS, the
// samples the mixer clipped at full scale, the most clipped in one second and the loudness (RMS in
// dBFS); the counters say the same. Measures, does not time: one iteration.
//
// ZX_MIX_SECONDS sets the game time played (default 240). ZX_MIX_DATA names a folder of .ogg
// files to play instead of the build's (to compare assets); ZX_MIX_WAV a WAV file to write the
// mix to (for a loudness meter).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "audio/mix_api.h"
#include "audio/mix_clock.h"
#include "game/play/globals.h"
#include "game/play/music_stream.h"
#include "game/play/sound_control.h"
#include "harness/harness.h"
#include "platform/clock.h"
#include "tests/game/aim_script.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFramesPerFlip = 44100 / 60;

// A device that mixes only when the measurement asks.
class LockstepDevice : public audiodevice {
 public:
  int init() override {
    mixer_ = std::make_unique<mixer>(2 * kFramesPerFlip, 44100, 2);
    return 0;
  }
  void close() override {
    if (mixer_) mixer_->releaseAll();
  }
};

std::uint32_t VirtualMillis() { return plat_ticks(); }

struct Tally {
  int peak = 0;
  long long clipped = 0, values = 0;
  double squares = 0;
  long long worst_second = 0;
  void Add(std::int16_t v) {
    const int a = std::abs(static_cast<int>(v));
    if (a > peak) peak = a;
    if (v == 32767 || v == -32768) ++clipped;
    squares += static_cast<double>(v) * v;
    ++values;
  }
  double PeakDb() const { return peak ? 20 * std::log10(peak / 32768.0) : -120; }
  double RmsDb() const {
    return values && squares > 0 ? 10 * std::log10(squares / values / (32768.0 * 32768.0)) : -120;
  }
};

const char* PhaseName(int phase) {
  static const char* const names[] = {"first wave", "second wave", "bonus round", "title"};
  return names[phase];
}

// The phase of play now: 0..2 while a game is on (its get-ready included), 3 on the title.
int PhaseNow() { return game_mode.titlemode ? 3 : progress.phase; }

void WriteWav(const std::string& path, const std::vector<std::int16_t>& pcm) {
  std::ofstream out(path, std::ios::binary);
  const auto u32 = [&out](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  const auto u16 = [&out](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  const std::uint32_t bytes = static_cast<std::uint32_t>(pcm.size() * 2);
  out.write("RIFF", 4);
  u32(36 + bytes);
  out.write("WAVEfmt ", 8);
  u32(16);
  u16(1);
  u16(2);
  u32(44100);
  u32(44100 * 4);
  u16(4);
  u16(16);
  out.write("data", 4);
  u32(bytes);
  out.write(reinterpret_cast<const char*>(pcm.data()), bytes);
}

void BM_BusyPlayMix(benchmark::State& state) {
  const char* seconds_text = std::getenv("ZX_MIX_SECONDS");
  const int seconds = seconds_text ? std::atoi(seconds_text) : 240;
  const char* data_text = std::getenv("ZX_MIX_DATA");
  const fs::path data =
      data_text ? fs::path(data_text) : fs::read_symlink("/proc/self/exe").parent_path() / "data";
  const char* wav = std::getenv("ZX_MIX_WAV");

  // A scratch folder with the sounds, so that the build's best score stays as it is.
  const fs::path folder = fs::temp_directory_path() / ("zx_mix_" + std::to_string(getpid()));
  fs::create_directories(folder / "data");
  for (const auto& entry : fs::directory_iterator(data)) {
    if (entry.path().extension() == ".ogg") {
      fs::create_symlink(fs::absolute(entry.path()), folder / "data" / entry.path().filename());
    }
  }

  Tally whole;
  std::array<Tally, 4> phases;
  std::vector<std::int16_t> pcm;
  for (auto _ : state) {
    HarnessOptions options;
    options.folder = folder.string();
    options.null_graphics = true;
    HarnessStart(options);
    // The device start-up opened gives way to one that mixes a flip's share at each flip.
    mix_close();
    SetMixClock(VirtualMillis);
    LockstepDevice device;
    mix_init(&device);
    program.musicvol = 1.0f;
    program.sfxvol = 0.5f;
    std::vector<std::int16_t> block(2 * kFramesPerFlip);
    long long second_clipped = 0;
    int flips = 0;
    HarnessOnFlip([&] {
      // The virtual clock runs ahead of the music's decoding worker: the track is decoded whole
      // before it is mixed, as the real clock leaves time for.
      FinishMusicStreams();
      device.getMixer()->mixBlock(block.data(), static_cast<int>(block.size()));
      Tally& phase = phases[PhaseNow()];
      for (std::int16_t v : block) {
        whole.Add(v);
        phase.Add(v);
        if (v == 32767 || v == -32768) ++second_clipped;
      }
      if (wav) pcm.insert(pcm.end(), block.begin(), block.end());
      if (++flips % 60 == 0) {
        whole.worst_second = std::max(whole.worst_second, second_clipped);
        phase.worst_second = std::max(phase.worst_second, second_clipped);
        second_clipped = 0;
      }
    });
    // The title's music from its start, then games one after another.
    playmusic(3);
    AimScript aim;
    for (int frame = 0; frame < seconds * 60; ++frame) {
      aim.Step();
      if (!HarnessFrame()) break;
    }
    HarnessOnFlip(nullptr);
    mix_close();
    SetMixClock(nullptr);
    HarnessStop();
  }
  fs::remove_all(folder);
  if (wav) WriteWav(wav, pcm);

  std::printf("%-12s %10s %9s %14s %10s %9s\n", "", "peak dBFS", "clipped", "worst second",
              "RMS dBFS", "seconds");
  for (int i = 0; i < 5; ++i) {
    const Tally& t = i < 4 ? phases[i] : whole;
    if (t.values == 0) continue;
    std::printf("%-12s %10.2f %9lld %14lld %10.2f %9.1f\n", i < 4 ? PhaseName(i) : "whole run",
                t.PeakDb(), t.clipped, t.worst_second, t.RmsDb(),
                static_cast<double>(t.values) / 2 / 44100);
  }
  state.counters["peak_dBFS"] = whole.PeakDb();
  state.counters["clipped"] = static_cast<double>(whole.clipped);
  state.counters["worst_second"] = static_cast<double>(whole.worst_second);
  state.counters["rms_dBFS"] = whole.RmsDb();
}

}  // namespace

BENCHMARK(BM_BusyPlayMix)->Iterations(1)->Unit(benchmark::kSecond);
