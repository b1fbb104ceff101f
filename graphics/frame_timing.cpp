// frame_timing.cpp - the watchers and the ring of recent frames.
#include "graphics/frame_timing.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "system/clock.h"

namespace {

std::vector<std::pair<FrameWatcher, void*>> watchers;
std::int64_t frames_presented = 0;
std::int64_t last_flip_end = -1;  // -1: no timed flip yet, so the first work time is unknown
std::int64_t flip_start = -1;     // -1: the flip under way began before anyone watched

std::array<FrameTime, kRecentFrames> ring;
int ring_next = 0, ring_count = 0;

}  // namespace

void WatchFrames(FrameWatcher watcher, void* user) {
  const auto pair = std::make_pair(watcher, user);
  if (std::find(watchers.begin(), watchers.end(), pair) != watchers.end()) return;
  if (watchers.empty()) {
    last_flip_end = -1;
    ring_next = ring_count = 0;
  }
  watchers.push_back(pair);
}

void StopWatchingFrames(FrameWatcher watcher, void* user) {
  std::erase(watchers, std::make_pair(watcher, user));
}

bool FramesWatched() { return !watchers.empty(); }

FrameTime RecentFrame(int i) {
  if (i < 0 || i >= ring_count) return FrameTime{};
  return ring[(ring_next - 1 - i + kRecentFrames) % kRecentFrames];
}

int RecentFrameCount() { return ring_count; }

void NoteFlipStart() {
  ++frames_presented;
  flip_start = watchers.empty() ? -1 : Micros();
}

void NoteFlipEnd() {
  if (watchers.empty()) return;
  if (flip_start < 0) {  // watching began during this flip: the next frame is the first timed
    last_flip_end = Micros();
    return;
  }
  FrameTime frame;
  frame.number = frames_presented;
  frame.flip_us = Micros();
  frame.work_us = last_flip_end < 0 ? 0 : static_cast<int>(flip_start - last_flip_end);
  frame.flip_wait_us = static_cast<int>(frame.flip_us - flip_start);
  last_flip_end = frame.flip_us;
  ring[ring_next] = frame;
  ring_next = (ring_next + 1) % kRecentFrames;
  ring_count = std::min(ring_count + 1, kRecentFrames);
  // A watcher may stop watching from inside its call.
  const auto now_watching = watchers;
  for (const auto& [watcher, user] : now_watching) watcher(frame, user);
}
