// mixer.h - the software mixer: any number of voices mixed into one 44100 Hz 16-bit stereo stream.
//
// The arithmetic is integer only: rates are 16.16 (65536 plays a sample at its own speed),
// volumes, pans and depths 4.12 (4096 is full level, -4096..4096 pans left to right, a negative
// depth inverts the right output), read positions 32.32 in samples (a stereo frame is two).
// Samples are read with linear interpolation; volume and rate changes ramp linearly over one
// block so that they never click.
//
// Two threads meet here. The game thread makes voices, sets their targets and status words, and
// queues them on the start queue; the output device's thread takes them from there into the
// active list, mixes them (mixBlock) and hands finished ones back on the pool ring. Every word
// both threads touch is atomic; the active list and the accumulation buffer belong to the device
// thread alone. The entry points the game uses are in mix_api.h.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/mix_kernel.h"
#include "audio/mix_sample.h"
#include "audio/spsc_ring.h"

class mixer;

// What a voice and the mixer have in common: settings with a current and a target value
// (`which` 0 asks for the current one, 1 for the target).
class output {
 public:
  virtual ~output() = default;
  virtual void setRate(int rate) = 0;
  virtual void setVolume(short volume) = 0;
  virtual void setPan(short pan) = 0;
  virtual void setDepth(short depth) = 0;
  virtual int getRate(int which) const = 0;
  virtual short getVolume(int which) const = 0;
  virtual short getPan(int which) const = 0;
  virtual short getDepth(int which) const = 0;
  // Frames played since the start, loops included.
  virtual std::int64_t position() const = 0;
};

// What one mixing pass tells the mixer about a voice.
enum class MixResult : int {
  kPaused = -2,    // nothing mixed; the voice waits
  kReleased = -1,  // the game let go of the voice: back to the pool
  kMixing = 0,     // more to come
  kFinished = 1,   // a one-shot reached its end, or the voice was stopped
};

// One playing instance of a sample.
class sound : public output {
 public:
  enum Status { kReleased = 0, kIdle = 1, kOnce = 2, kLooped = 4, kPaused = 16 };

  explicit sound(mixer* owner) : owner(owner) {}

  // Rate, volume and pan move the current value too while the voice is paused, so that it
  // resumes at the new setting instead of ramping to it. Pan is kept within -4096 .. 4096.
  void setRate(int rate) override;
  void setVolume(short volume) override;
  void setPan(short pan) override;
  void setDepth(short depth) override;
  int getRate(int which) const override;
  short getVolume(int which) const override;
  short getPan(int which) const override;
  short getDepth(int which) const override;
  std::int64_t position() const override;

  // Device thread: adds `frames` frames of this voice to `acc` (interleaved left/right) with the
  // inner loops of `loops`.
  MixResult mix(int* acc, int frames, const MixLoops& loops);

  mixer* const owner;
  std::atomic<int> status{kIdle};
  int handle = 0;  // game thread only
  std::atomic<int> releaseWhenDone{0};
  sound* next = nullptr;             // device thread only: link in the active list
  mix_sample* sample = nullptr;      // set before the voice is queued, dropped when it is back
  int sampleChannels = 1;            // game thread: kept after the sample, for position()
  std::atomic<std::int64_t> pos{0};  // 32.32 samples
  std::atomic<std::int64_t> played{0};
  std::atomic<int> currentRate{65536}, targetRate{65536};
  std::atomic<short> currentVolume{4096}, targetVolume{4096};
  std::atomic<short> currentPan{0}, targetPan{0};
  std::atomic<short> currentDepth{0}, targetDepth{0};
  std::uint32_t startTime = 0;  // written before the voice is queued
  int startDelay = 0;           // device thread only: output frames still to wait
  bool started = false;         // game thread only: the device has been handed this voice
};

// Owns the voices and the accumulation buffer. As an `output` it is neutral: its settings are
// the defaults of a new voice, so it stands in for "no template".
class mixer : public output {
 public:
  static constexpr int kRingSize = 4096;
  static constexpr int kStartDelayMillis = 20;

  // `blockSize` ints of accumulation (blockSize / 2 frames per pass at most).
  mixer(int blockSize, int outputRate, int outputChannels);
  ~mixer() override;

  void setRate(int) override {}
  void setVolume(short) override {}
  void setPan(short) override {}
  void setDepth(short) override {}
  int getRate(int) const override { return 65536; }
  short getVolume(int) const override { return 4096; }
  short getPan(int) const override { return 0; }
  short getDepth(int) const override { return 0; }
  std::int64_t position() const override { return 0; }

  // Device thread: fills `dest` with `n` 16-bit values (n even, left/right interleaved). Larger
  // requests than the block size are mixed in several passes. Allocates nothing.
  void mixBlock(std::int16_t* dest, int n);

  // Game thread: a voice from the spare ones (or a new one), idle, with the template's target
  // settings as both its current and target values.
  sound* allocVoice(const output& tmpl);
  // Game thread: a voice that the device never saw becomes spare again.
  void spareVoice(sound* voice) { spare.push_back(voice); }
  // Game thread, with the device stopped: every voice is released and spare, every sample
  // reference dropped.
  void releaseAll();

  // Voices in the active list; device thread (or with the device stopped).
  int activeVoices() const;

  // Any thread: the inner loops' instruction set from the next pass on (a set the processor
  // cannot run falls back to the scalar one). A new mixer runs the widest the processor has.
  void SetKernel(MixKernel kernel) {
    loops_.store(&MixLoopsFor(kernel), std::memory_order_release);
  }
  // Any thread: the instruction set the next pass runs.
  MixKernel Kernel() const { return loops_.load(std::memory_order_acquire)->kernel; }

  std::vector<int> buffer;
  const int blockSize;
  const int outputRate;
  const int outputChannels;
  sound* active = nullptr;
  SpscRing<sound*, kRingSize> startQueue;  // game thread -> device thread
  SpscRing<sound*, kRingSize> pool;        // device thread -> game thread

 private:
  void pass(std::int16_t* dest, int n);
  bool recycle(sound* voice);

  std::vector<std::unique_ptr<sound>> voices_;  // every voice ever made; game thread
  std::vector<sound*> spare;                    // game thread
  std::atomic<const MixLoops*> loops_;
};

// The output device a mixer runs on. `init` opens the hardware, creates the mixer and starts
// feeding it from a thread of the device's own (0 on success); `close` stops that thread, hands
// every voice back and closes the hardware.
class audiodevice {
 public:
  virtual ~audiodevice() = default;
  virtual int init() = 0;
  virtual void close() = 0;
  mixer* getMixer() const { return mixer_.get(); }

 protected:
  std::unique_ptr<mixer> mixer_;
};
