// Mixer throughput: voice-frames mixed per second for each inner loop (8/16 bits, mono/stereo,
// fixed gain or ramped), for silent voices, and for 256 voices at once, on the kernel set the
// mixer picks for this processor; then 256 voices on each set by name (kernel 0 scalar, 1 SSE2,
// 2 AVX2; a set the processor cannot run is skipped). The "allocations" counter counts every
// operator new while mixing; it must stay 0.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio/mix_api.h"
#include "audio/mix_clock.h"

#include "allocation_counter.h"

namespace {

constexpr int kFrames = 512;  // one fragment of the push-mode device

class BenchDevice : public audiodevice {
 public:
  int init() override {
    mixer_ = std::make_unique<mixer>(2 * kFrames, 44100, 2);
    return 0;
  }
  void close() override {
    if (mixer_) mixer_->releaseAll();
  }
};

std::uint32_t Frozen() { return 0; }

struct Bench {
  Bench(int bits, int channels, int voices, float volume, MixKernel kernel = BestMixKernel()) {
    SetMixClock(&Frozen);
    mix_init(&device);
    device.getMixer()->SetKernel(kernel);
    std::vector<unsigned char> pcm(static_cast<std::size_t>(44100) * channels * bits / 8);
    for (std::size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<unsigned char>(i * 31);
    // 22050 Hz data at rate 1.3: positions with fractions, as in a game.
    sample = mix_create_sound(44100, bits, channels, 22050, pcm.data(), -1);
    for (int i = 0; i < voices; ++i) {
      int h = mix_alloc_channel();
      mix_set_rate(h, 1.3f);
      mix_set_volume(h, volume);
      mix_set_pan(h, (i % 5) / 2.5f - 0.8f);
      handles.push_back(mix_play(sample, 0, h));
    }
    out.resize(2 * kFrames);
    for (int i = 0; i < 4; ++i) mix();  // past the start delay
  }
  ~Bench() {
    mix_close();
    mix_free_sound(sample);
    SetMixClock(nullptr);
  }
  void mix() { device.getMixer()->mixBlock(out.data(), 2 * kFrames); }

  BenchDevice device;
  mix_sample* sample = nullptr;
  std::vector<int> handles;
  std::vector<std::int16_t> out;
};

void Report(benchmark::State& state, int voices, long allocated) {
  state.counters["voice_frames_per_s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kFrames * voices, benchmark::Counter::kIsRate);
  state.counters["allocations"] = static_cast<double>(allocated);
}

// Args: bits, channels, ramped (volume moves every block).
void BM_InnerLoop(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0)), channels = static_cast<int>(state.range(1));
  const bool ramped = state.range(2) != 0;
  Bench b(bits, channels, 1, 1.0f);
  float volume = 1.0f;
  const long before = AllocationCount();
  for (auto _ : state) {
    if (ramped) {
      volume = volume == 1.0f ? 0.5f : 1.0f;
      mix_set_volume(b.handles[0], volume);
    }
    b.mix();
    benchmark::DoNotOptimize(b.out.data());
  }
  Report(state, 1, AllocationCount() - before);
}
BENCHMARK(BM_InnerLoop)
    ->ArgNames({"bits", "channels", "ramped"})
    ->ArgsProduct({{8, 16}, {1, 2}, {0, 1}});

void BM_SilentVoices(benchmark::State& state) {
  Bench b(16, 2, 256, 0.0f);
  const long before = AllocationCount();
  for (auto _ : state) {
    b.mix();
    benchmark::DoNotOptimize(b.out.data());
  }
  Report(state, 256, AllocationCount() - before);
}
BENCHMARK(BM_SilentVoices);

void BM_256Voices(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0)), channels = static_cast<int>(state.range(1));
  Bench b(bits, channels, 256, 0.25f);
  const long before = AllocationCount();
  for (auto _ : state) {
    b.mix();
    benchmark::DoNotOptimize(b.out.data());
  }
  Report(state, 256, AllocationCount() - before);
}
BENCHMARK(BM_256Voices)->ArgNames({"bits", "channels"})->ArgsProduct({{8, 16}, {1, 2}});

// Args: kernel, bits, channels.
void BM_256VoicesOnKernel(benchmark::State& state) {
  const auto kernel = static_cast<MixKernel>(state.range(0));
  if (!MixKernelAvailable(kernel)) {
    state.SkipWithError("this processor does not run that kernel set");
    return;
  }
  const int bits = static_cast<int>(state.range(1)), channels = static_cast<int>(state.range(2));
  Bench b(bits, channels, 256, 0.25f, kernel);
  const long before = AllocationCount();
  for (auto _ : state) {
    b.mix();
    benchmark::DoNotOptimize(b.out.data());
  }
  Report(state, 256, AllocationCount() - before);
  state.SetLabel(MixKernelName(kernel));
}
BENCHMARK(BM_256VoicesOnKernel)
    ->ArgNames({"kernel", "bits", "channels"})
    ->ArgsProduct({{0, 1, 2}, {8, 16}, {1, 2}});

}  // namespace
