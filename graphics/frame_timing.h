// frame_timing.h - the time of every presented frame, for the frame log and the overlay.
//
// FlipScreen tells each watcher about every frame it presents: its number, when the flip
// finished, how long the program worked on the frame (from the end of the previous flip to the
// call of FlipScreen) and how long the flip took (flip hooks, the pacing sleep and the driver's
// swap). Times are in microseconds on the program's clock (virtual under the harness). With no
// watcher FlipScreen reads no clock, so a log or overlay that is off costs nothing.
//
// The recent-frames ring keeps the last kRecentFrames frames while anyone watches; the overlay
// draws its graph from it. Main thread only, like FlipScreen.
#pragma once

#include <cstdint>

struct FrameTime {
  std::int64_t number = 0;   // frames presented by FlipScreen since the program started, from 1
  std::int64_t flip_us = 0;  // when the driver's flip returned
  int work_us = 0;           // previous flip's end to this FlipScreen call
  int flip_wait_us = 0;      // this FlipScreen call to the driver's flip returning
};

using FrameWatcher = void (*)(const FrameTime& frame, void* user);

// Adds a watcher called after every presented frame; the same pair twice is kept once.
void WatchFrames(FrameWatcher watcher, void* user);
// Removes the pair; when the last goes, FlipScreen stops timing.
void StopWatchingFrames(FrameWatcher watcher, void* user);
// Whether any watcher is set.
bool FramesWatched();

constexpr int kRecentFrames = 256;
// The i-th most recent frame (0 is the latest); a default FrameTime past what was kept.
FrameTime RecentFrame(int i);
// How many of the ring's entries hold frames.
int RecentFrameCount();

// Called by FlipScreen: when it was entered, and when the driver's flip returned.
void NoteFlipStart();
void NoteFlipEnd();
