// encoding_thread.cpp - the queue between the game's thread and the encoder's.
#include "game/video/encoding_thread.h"

#include <cstring>
#include <utility>

EncodingThread::EncodingThread(VideoEncoder& encoder, int depth)
    : encoder_(encoder), depth_(depth < 1 ? 1 : static_cast<std::size_t>(depth)) {
  thread_ = std::thread([this] { Run(); });
}

EncodingThread::~EncodingThread() { Stop(true); }

bool EncodingThread::Add(const std::uint8_t* rgba, int pitch, int row_bytes, int height,
                         const std::int16_t* sound, int sound_frames) {
  std::unique_lock<std::mutex> hold(lock_);
  changed_.wait(hold, [this] { return queue_.size() < depth_ || failed_ || stopping_; });
  if (failed_ || stopping_) return false;
  Frame frame;
  if (!spare_.empty()) {
    frame = std::move(spare_.back());
    spare_.pop_back();
  }
  hold.unlock();
  // Copied outside the lock: the encoder's thread goes on meanwhile.
  frame.pitch = row_bytes;
  frame.picture.resize(static_cast<std::size_t>(row_bytes) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    std::memcpy(frame.picture.data() + static_cast<std::size_t>(y) * row_bytes,
                rgba + static_cast<std::size_t>(y) * pitch, static_cast<std::size_t>(row_bytes));
  }
  frame.sound.assign(sound, sound + 2 * sound_frames);
  hold.lock();
  queue_.push_back(std::move(frame));
  changed_.notify_all();
  return true;
}

void EncodingThread::Run() {
  std::unique_lock<std::mutex> hold(lock_);
  for (;;) {
    changed_.wait(hold, [this] { return !queue_.empty() || stopping_; });
    if (queue_.empty()) return;  // stopping, and nothing left to encode
    Frame frame = std::move(queue_.front());
    queue_.pop_front();
    hold.unlock();
    const int sound_frames = static_cast<int>(frame.sound.size() / 2);
    const bool ok = encoder_.AddFrame(frame.picture.data(), frame.pitch) &&
                    encoder_.AddSamples(frame.sound.data(), sound_frames);
    hold.lock();
    spare_.push_back(std::move(frame));
    if (!ok) {
      failed_ = true;
      queue_.clear();
    }
    changed_.notify_all();
  }
}

void EncodingThread::Stop(bool drop) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (drop) queue_.clear();
    stopping_ = true;
    changed_.notify_all();
  }
  if (thread_.joinable()) thread_.join();
}

bool EncodingThread::Finish() {
  Stop(false);
  std::lock_guard<std::mutex> hold(lock_);
  return !failed_;
}

void EncodingThread::Abandon() { Stop(true); }
