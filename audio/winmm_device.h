// winmm_device.h - the push-mode output device: our own 5 ms timer keeps the sound card's queue
// a few fragments ahead of its play position.
//
// Every tick the refill reads how far the card has played and mixes whole fragments until
// `latency` fragments lie ahead. When the card has caught up with the mixer (an underrun) the
// output is paused for 250 ticks and restarted with two fragments more of latency, up to 10.
// A play position past 268435456 bytes resets the card, so the counters never overflow.
// Closing says how often the card caught up, when that is worth saying: a few times while the
// program starts up is the machine being busy, not a fault.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "audio/mixer.h"

// What the refill needs from a push-mode sound card: 44100 Hz 16-bit stereo, opened paused.
class PushOutput {
 public:
  virtual ~PushOutput() = default;
  virtual bool open(int fragmentFrames) = 0;
  virtual void close() = 0;
  // False when the card refused the data.
  virtual bool queue(const std::int16_t* values, int count) = 0;
  // Bytes queued and not yet played, or -1 when the card cannot tell.
  virtual std::int64_t queuedBytes() = 0;
  // Drops everything queued and stops playback.
  virtual void reset() = 0;
  // Starts (or restarts) playback.
  virtual void run() = 0;
  // Frames the card holds beyond the queue (its own buffer); 0 when unknown.
  virtual int bufferFrames() { return 0; }
};

// The sound card of the platform layer.
std::unique_ptr<PushOutput> NewPlatformPushOutput();

class winmmdevice : public audiodevice {
 public:
  static constexpr int kFragment = 1024;  // 16-bit values: 512 frames
  static constexpr int kStartLatency = 6;
  static constexpr int kMaxLatency = 10;
  static constexpr int kRestartTicks = 250;
  static constexpr std::int64_t kPositionLimit = 268435456;  // bytes
  static constexpr int kTickMillis = 5;
  // SDL's own buffer under the queue: it plays after everything queued, so its length adds to
  // the latency the refill keeps. 256 frames (5.8 ms) plays without underruns.
  static constexpr int kCardBufferFrames = 256;
  // Underruns before this much sound has played (values) are start-up's; up to kStartUnderruns
  // of them go unreported.
  static constexpr std::int64_t kStartValues = 44100 * 2;
  static constexpr int kStartUnderruns = 3;

  winmmdevice();
  // A device on another card; `withTimer` false leaves the ticking to the caller (tests).
  winmmdevice(std::unique_ptr<PushOutput> card, bool withTimer);
  ~winmmdevice() override;

  int init() override;
  void close() override;

  // One timer tick.
  void refill();
  // Frames in the open card's own buffer; 0 when closed. Game thread.
  int cardBufferFrames() { return open_ ? card_->bufferFrames() : 0; }

  int fragment = kFragment;
  std::atomic<bool> running{false};
  std::int64_t written = 0;  // values handed to the card since its last reset
  int restartCountdown = 0;
  int latency = kStartLatency;
  // Times the card caught up with the mixer since init, and of those the ones after the first
  // second of sound; read by any thread.
  std::atomic<int> underruns{0};
  std::atomic<int> lateUnderruns{0};

 private:
  void fill(std::int64_t played);
  void queue(const std::int16_t* values, int count);
  void tick();

  std::unique_ptr<PushOutput> card_;
  bool withTimer_;
  bool open_ = false;
  std::int64_t playedBeforeReset_ = 0;  // values the card played before its last reset
  std::vector<std::int16_t> scratch_;
  std::thread timer_;
};
