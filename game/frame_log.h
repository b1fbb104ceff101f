// frame_log.h - --frame-log FILE: one line per presented frame, for finding slow frames.
//
// The file has one line per frame presented by FlipScreen, with the start-up's steps among them
// where they happened ("# startup <step> <ms>", in milliseconds since launch):
//
//   <frame> <flip_us> <work_us> <flip_wait_us> <screen> [<replay frame>]
//
// frame counts FlipScreen's frames from 1; flip_us is when the flip returned, in microseconds on
// the program's clock (since launch in a real run); work_us is the time from the previous flip to
// this frame's FlipScreen; flip_wait_us the time in FlipScreen (flip hooks, pacing, the swap);
// screen is the screen's name (screen_name.h), or "replay" for the frame loop playing a replay
// file (--replay); while a replay plays ("replay", "bestgame"), the
// replay's frame follows it, as ReplayFramesPlayed counts it (it jumps at a seek). Each line
// reaches the file as it is written, so the log can be followed while the game runs. Needs the
// frame timing of the graphics layer. Main thread only.
#pragma once

#include <string>

// Opens `path` (replacing it) and logs from the next frame on. False, with the reason in
// `problem`, when the file cannot be made.
bool StartFrameLog(const std::string& path, std::string* problem);
// Writes what is buffered and closes the file; also runs at exit.
void StopFrameLog();
