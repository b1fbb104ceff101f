// dsound_device.h - the pull-mode output device: a feeder thread keeps a 32768-byte ring two
// fragments ahead of the sound card, which reads the ring from its own thread.
//
// The card's reader plays the ring round and round and signals the feeder each time it crosses
// one of the four 8192-byte fragment boundaries; the feeder then mixes whatever brings the ring
// back to two fragments (16384 bytes) ahead of the play position. Where the feeder has fallen
// behind, the reader plays silence rather than stale data. A card that stalls for longer than
// the feeder's wait is fed again from wherever it resumes.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <semaphore>
#include <thread>
#include <vector>

#include "audio/mixer.h"

// What the feeder needs from a pull-mode sound card: 44100 Hz 16-bit stereo. `pull` is called
// on the card's own thread for every `count` values it is about to play.
class PullOutput {
 public:
  using Pull = void (*)(void* user, std::int16_t* dest, int count);
  virtual ~PullOutput() = default;
  virtual bool open(Pull pull, void* user) = 0;
  virtual void run() = 0;
  virtual void close() = 0;
  // Frames the card asks for at a time (its own buffer); 0 when unknown.
  virtual int bufferFrames() { return 0; }
};

// The sound card of the platform layer.
std::unique_ptr<PullOutput> NewPlatformPullOutput();

class dsounddevice : public audiodevice {
 public:
  static constexpr int kFragmentBytes = 8192;
  static constexpr int kBufferBytes = 32768;
  static constexpr int kBlockSize = 12288;
  static constexpr int kWaitMillis = 1000;
  // SDL's own buffer after the ring: it plays after what the ring holds ahead, so its length
  // adds to that lead. 256 frames (5.8 ms) plays without underruns.
  static constexpr int kCardBufferFrames = 256;

  dsounddevice();
  // A device on another card; `withFeeder` false leaves feeding to the caller (tests). The
  // feeder waits at most `wait` for the card before it looks at the play position again.
  dsounddevice(std::unique_ptr<PullOutput> card, bool withFeeder,
               std::chrono::milliseconds wait = std::chrono::milliseconds(kWaitMillis));
  ~dsounddevice() override;

  int init() override;
  void close() override;

  // The card's side: plays `count` values from the ring at the play position.
  void play(std::int16_t* dest, int count);
  // One round of the feeder: mixes up to two fragments ahead. Returns the bytes written.
  int feed();
  // Frames in the open card's own buffer; 0 when closed. Game thread.
  int cardBufferFrames() { return open_ ? card_->bufferFrames() : 0; }
  // Wake-ups the card gave that no feeder has taken yet. Only while no feeder runs (tests).
  int pendingWakeups();

  std::atomic<bool> running{false};
  std::atomic<bool> threadActive{false};
  // Values the card played as silence because the feeder was behind, since init; any thread.
  std::atomic<std::int64_t> starvedValues{0};

 private:
  void feeder();
  void signal();

  std::unique_ptr<PullOutput> card_;
  bool withFeeder_;
  std::chrono::milliseconds wait_;
  bool open_ = false;
  std::vector<std::int16_t> ring_;
  // Play position and written count in bytes since the start; each has one writer.
  std::atomic<std::int64_t> consumed_{0};
  std::atomic<std::int64_t> written_{0};
  std::atomic<bool> signalled_{false};
  std::binary_semaphore event_{0};
  std::thread thread_;
};
