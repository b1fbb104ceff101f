// dsound_device.cpp - the pull-mode device: the card's reader, the feeder and its thread.
#include "audio/dsound_device.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/audio_output.h"

namespace {

class PlatformPullOutput : public PullOutput {
 public:
  ~PlatformPullOutput() override { close(); }
  bool open(Pull pull, void* user) override {
    out_ = OpenAudioOutputPull(dsounddevice::kCardBufferFrames, pull, user);
    return out_ != nullptr;
  }
  void run() override { RunAudioOutput(out_, true); }
  void close() override {
    CloseAudioOutput(out_);
    out_ = nullptr;
  }
  int bufferFrames() override { return AudioOutputBufferFrames(out_); }

 private:
  AudioOutput* out_ = nullptr;
};

constexpr int kValues = dsounddevice::kBufferBytes / 2;

}  // namespace

std::unique_ptr<PullOutput> NewPlatformPullOutput() {
  return std::make_unique<PlatformPullOutput>();
}

dsounddevice::dsounddevice() : dsounddevice(NewPlatformPullOutput(), true) {}

dsounddevice::dsounddevice(std::unique_ptr<PullOutput> card, bool withFeeder,
                           std::chrono::milliseconds wait)
    : card_(std::move(card)), withFeeder_(withFeeder), wait_(wait) {}

dsounddevice::~dsounddevice() { close(); }

int dsounddevice::init() {
  close();
  running.store(true);
  mixer_ = std::make_unique<mixer>(kBlockSize, 44100, 2);
  ring_.assign(kValues, 0);
  consumed_.store(0);
  written_.store(0);
  starvedValues.store(0);
  signalled_.store(false);
  if (!card_->open([](void* self, std::int16_t* dest,
                      int count) { static_cast<dsounddevice*>(self)->play(dest, count); },
                   this)) {
    running.store(false);
    return 1;
  }
  open_ = true;
  if (withFeeder_) {
    thread_ = std::thread([this] { feeder(); });
  } else {
    card_->run();
  }
  return 0;
}

void dsounddevice::close() {
  if (open_ && starvedValues.load() > 0) {
    std::fprintf(stderr, "Sound (DirectSound): %lld values played as silence, the feeder behind\n",
                 static_cast<long long>(starvedValues.load()));
  }
  running.store(false);
  if (thread_.joinable()) {
    signal();
    thread_.join();
  }
  if (open_) {
    card_->close();
    open_ = false;
  }
  // Nothing signals any more: a wake-up nobody took must not carry over into the next init,
  // where the next one would find the semaphore still raised.
  while (event_.try_acquire()) {
  }
  signalled_.store(false);
  if (mixer_) mixer_->releaseAll();
}

// The semaphore is raised only when the flag goes from clear to set, and the flag is cleared
// only by the feeder once it has taken that wake-up (or by close with no card running), so the
// semaphore never holds more than one.
void dsounddevice::signal() {
  if (!signalled_.exchange(true, std::memory_order_acq_rel)) event_.release();
}

void dsounddevice::play(std::int16_t* dest, int count) {
  std::int64_t at = consumed_.load(std::memory_order_relaxed) / 2;
  const std::int64_t ready = written_.load(std::memory_order_acquire) / 2;
  for (int i = 0; i < count; ++i, ++at) {
    dest[i] = at < ready ? ring_[static_cast<std::size_t>(at % kValues)] : 0;
  }
  // Before the first feed and after close began, silence is expected.
  if (at > ready && ready > 0 && running.load(std::memory_order_relaxed)) {
    starvedValues.fetch_add(std::min<std::int64_t>(at - ready, count), std::memory_order_relaxed);
  }
  const std::int64_t before = consumed_.load(std::memory_order_relaxed);
  const std::int64_t after = before + 2 * static_cast<std::int64_t>(count);
  consumed_.store(after, std::memory_order_release);
  if (before / kFragmentBytes != after / kFragmentBytes) signal();
}

int dsounddevice::feed() {
  // The play position is counted from the start rather than within the ring plus counted
  // wraps: a feeder held up for more than a whole ring would miss a wrap and stay a ring behind.
  const std::int64_t play = consumed_.load(std::memory_order_acquire);
  std::int64_t written = written_.load(std::memory_order_relaxed);
  // Held up so long that the card played past everything written: go on from where it is.
  if (written < play) written = play;
  std::int64_t n = (play + 2 * kFragmentBytes - written) / kFragmentBytes;
  if (n <= 0) return 0;
  n = std::min<std::int64_t>(n, 2);
  // The locked span may run past the end of the ring into its start: two regions.
  const std::int64_t bytes = n * kFragmentBytes;
  const std::int64_t at = written % kBufferBytes;
  const std::int64_t first = std::min(bytes, kBufferBytes - at);
  mixer_->mixBlock(ring_.data() + at / 2, static_cast<int>(first / 2));
  if (bytes > first) mixer_->mixBlock(ring_.data(), static_cast<int>((bytes - first) / 2));
  written_.store(written + bytes, std::memory_order_release);
  return static_cast<int>(bytes);
}

int dsounddevice::pendingWakeups() {
  int taken = 0;
  while (event_.try_acquire()) ++taken;
  if (taken > 0) event_.release(taken);
  return taken;
}

void dsounddevice::feeder() {
  // As high as the card's reader, which the feeder must keep ahead of.
  MakeAudioFeederThread("zumbrix-feeder");
  std::fill(ring_.begin(), ring_.end(), 0);
  card_->run();
  threadActive.store(true);
  while (running.load()) {
    feed();
    // A card that says nothing for a while (a suspended machine, a debugger) only delays the
    // next round: the feeder looks at the play position again and carries on from there.
    if (event_.try_acquire_for(wait_)) signalled_.store(false, std::memory_order_release);
  }
  threadActive.store(false);
}
