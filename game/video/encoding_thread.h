// encoding_thread.h - a video encoder (video_encoder.h) run on a thread of its own, fed from the
// game's thread through a short queue, so that the game draws and reads back the next frame while
// the last one is converted and encoded: drawing (Mesa's rasteriser) and encoding then share both
// cores instead of taking turns.
//
// Each picture and its sound are copied into the queue, which holds a few frames at most: a
// game faster than the encoder waits for room. The encoder is used by the thread alone from the
// start to Finish() or Abandon(), after which the caller may ask it anything. Game thread only.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "game/video/video_encoder.h"

class EncodingThread {
 public:
  // Starts the thread that feeds `encoder` (which outlives this), with room for `depth` frames.
  explicit EncodingThread(VideoEncoder& encoder, int depth = 3);
  // Stops the thread; frames still queued are dropped (Finish() waits for them instead).
  ~EncodingThread();
  EncodingThread(const EncodingThread&) = delete;
  EncodingThread& operator=(const EncodingThread&) = delete;

  // Queues the next frame: `height` rows of `row_bytes` RGBA bytes, `pitch` bytes apart, and
  // `sound_frames` stereo sample frames. False once the encoder has failed (its Problem() says
  // why after Finish() or Abandon()).
  bool Add(const std::uint8_t* rgba, int pitch, int row_bytes, int height,
           const std::int16_t* sound, int sound_frames);
  // Waits until every queued frame is encoded and stops the thread; false when the encoder
  // failed on the way.
  bool Finish();
  // Drops what is queued and stops the thread, leaving the encoder as it stands.
  void Abandon();

 private:
  struct Frame {
    std::vector<std::uint8_t> picture;
    std::vector<std::int16_t> sound;
    int pitch = 0;
  };
  void Run();
  void Stop(bool drop);

  VideoEncoder& encoder_;
  const std::size_t depth_;
  std::mutex lock_;
  std::condition_variable changed_;
  std::deque<Frame> queue_;   // under lock_
  std::vector<Frame> spare_;  // under lock_: emptied frames, kept to be filled again
  bool stopping_ = false;     // under lock_
  bool failed_ = false;       // under lock_
  std::thread thread_;
};
