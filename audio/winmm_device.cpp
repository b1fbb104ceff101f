// winmm_device.cpp - the push-mode device: its refill and the 5 ms timer thread that runs it.
#include "audio/winmm_device.h"

#include <chrono>
#include <cstdio>

#include "platform/audio_output.h"

namespace {

class PlatformPushOutput : public PushOutput {
 public:
  ~PlatformPushOutput() override { close(); }
  bool open(int fragmentFrames) override {
    out_ = OpenAudioOutputPush(fragmentFrames);
    return out_ != nullptr;
  }
  void close() override {
    CloseAudioOutput(out_);
    out_ = nullptr;
  }
  bool queue(const std::int16_t* values, int count) override {
    return QueueAudioOutput(out_, values, count);
  }
  std::int64_t queuedBytes() override { return AudioOutputQueuedBytes(out_); }
  void reset() override {
    RunAudioOutput(out_, false);
    ClearAudioOutput(out_);
  }
  void run() override { RunAudioOutput(out_, true); }
  int bufferFrames() override { return AudioOutputBufferFrames(out_); }

 private:
  AudioOutput* out_ = nullptr;
};

}  // namespace

std::unique_ptr<PushOutput> NewPlatformPushOutput() {
  return std::make_unique<PlatformPushOutput>();
}

winmmdevice::winmmdevice() : winmmdevice(NewPlatformPushOutput(), true) {}

winmmdevice::winmmdevice(std::unique_ptr<PushOutput> card, bool withTimer)
    : card_(std::move(card)), withTimer_(withTimer) {}

winmmdevice::~winmmdevice() { close(); }

int winmmdevice::init() {
  close();
  mixer_ = std::make_unique<mixer>(fragment, 44100, 2);
  scratch_.assign(static_cast<std::size_t>(fragment) * kMaxLatency * 2, 0);
  if (!card_->open(kCardBufferFrames)) return 1;
  open_ = true;
  restartCountdown = 0;
  written = 0;
  latency = kStartLatency;
  underruns.store(0);
  lateUnderruns.store(0);
  playedBeforeReset_ = 0;
  running.store(true);
  fill(0);
  card_->run();
  if (withTimer_) timer_ = std::thread([this] { tick(); });
  return 0;
}

void winmmdevice::close() {
  running.store(false);
  if (timer_.joinable()) timer_.join();
  const int all = underruns.load(), late = lateUnderruns.load();
  if (open_ && (late > 0 || all > kStartUnderruns)) {
    std::fprintf(stderr,
                 "Sound (wave-out): the card caught up with the mixer %d times (%d after the "
                 "first second)\n",
                 all, late);
  }
  if (mixer_) mixer_->releaseAll();
  if (open_) {
    card_->reset();
    card_->close();
    open_ = false;
  }
}

void winmmdevice::tick() {
  // As high as the card's reader, which the refill must keep ahead of.
  MakeAudioFeederThread("zumbrix-refill");
  using clock = std::chrono::steady_clock;
  auto next = clock::now();
  while (running.load()) {
    next += std::chrono::milliseconds(kTickMillis);
    // A late tick is not made up for with a burst of ticks.
    if (next < clock::now()) next = clock::now();
    std::this_thread::sleep_until(next);
    if (!running.load()) break;
    refill();
  }
}

void winmmdevice::queue(const std::int16_t* values, int count) {
  if (!card_->queue(values, count)) std::printf("waveOutWrite error\n");
}

void winmmdevice::fill(std::int64_t played) {
  while (written < played + static_cast<std::int64_t>(fragment) * latency) {
    mixer_->mixBlock(scratch_.data(), fragment);
    queue(scratch_.data(), fragment);
    written += fragment;
  }
}

void winmmdevice::refill() {
  if (restartCountdown != 0) {
    if (--restartCountdown != 0) return;
    card_->run();
  }
  const std::int64_t queued = card_->queuedBytes();
  const std::int64_t played = written - queued / 2;
  if (queued < 0 || played < 0 || played * 2 > kPositionLimit) {
    if (played > 0) playedBeforeReset_ += played;
    card_->reset();
    written = 0;
    card_->run();
    return;
  }
  if (played == 0 || played + 2 * fragment <= written) {
    fill(played);
    return;
  }
  // The card caught up with the mixer: pause, and come back with more queued ahead.
  restartCountdown = kRestartTicks;
  underruns.fetch_add(1);
  playedBeforeReset_ += played;
  if (playedBeforeReset_ >= kStartValues) lateUnderruns.fetch_add(1);
  card_->reset();
  if (latency < kMaxLatency) latency += 2;
  written = static_cast<std::int64_t>(latency) * fragment * 2;
  std::fill(scratch_.begin(), scratch_.end(), 0);
  queue(scratch_.data(), static_cast<int>(written));
}
