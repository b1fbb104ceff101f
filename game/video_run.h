// video_run.h - a replay made into a video file: what `--replay FILE --video OUT` runs.
//
// The replay plays headless on the OpenGL driver (SDL's offscreen video and Mesa: no window, no
// sound card) on the virtual clock, as fast as the machine allows. At every flip of a replayed
// frame the picture is read back and handed to the encoder (video_encoder.h) together with that
// frame's 735 sample frames (44100 / 60) of the game's own mix, pulled from the mixer in lockstep
// (audio/offline_device.h) instead of by a device thread; the sounds asked for during a frame
// start with the next frame's sound, as the picture of what asked for them does. The run's colour
// and stereo modes decide the picture and the file's stereo mode. Nothing of the player's is
// written (game_files.h). Exit codes as for a replay (replay_run.h):
//
//   0    the video is complete
//   2    the replay or the file was refused (extension, folder, disk, encoder): no file is left
//   3    the replay diverged: the video ends at that frame and is kept, said to be cut short
//   128+ an end signal (Ctrl+C, a logout) stopped it: no file is left
//
// Run once per process instead of the game, from the main thread.
#pragma once

#include <string>

#include "game/replay_run.h"

struct VideoJob {
  std::string replay;            // the replay to film
  std::string output;            // the video file; its extension picks the container
  int scale = 1;                 // 1 to 4: each pixel repeated that many times across and down
  bool progress_line = false;    // a progress line on stderr, rewritten in place (a terminal)
  bool progress_report = false;  // "video DONE TOTAL" lines on stdout, for the title's bar
};

struct VideoRunResult {
  ReplayExit exit = ReplayExit::kOk;
  int status = 0;       // the process's exit status
  int frames = 0;       // pictures in the file
  std::string message;  // why it was refused, cut short or stopped; empty when complete
  std::string summary;  // "wrote FILE: SIZE, LENGTH of video in TIME"; empty without a file
};

// Films the replay into the video file.
VideoRunResult RenderReplayVideo(const VideoJob& job);
// Checks a video file name before anything runs: empty when its extension is one of the three,
// else the refusal naming them.
std::string VideoNameProblem(const std::string& path);
