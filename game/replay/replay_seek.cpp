// replay_seek.cpp - seeking a replay: a keyframe put back, the frames after it played silently.
#include "game/replay/replay_seek.h"

#include <algorithm>

#include "game/play/sound_control.h"
#include "game/replay/replay.h"
#include "graphics/draw2d.h"

int SeekReplay(int frame, ReplayPass pass) {
  frame = std::clamp(frame, 0, ReplayLength());
  const int now = ReplayFramesPlayed();
  // Forward, a keyframe counts only beyond where the replay stands.
  if (frame < now || ReplayKeyframeAt(frame) > now) {
    if (RestoreReplayKeyframe(frame) < 0) return now;
  }
  const bool silent = GameSoundSilenced();
  SilenceGameSound(true);
  SkipDrawing(true);
  while (ReplayFramesPlayed() < frame && CurrentReplayStatus() == ReplayStatus::kPlaying &&
         !ReplayFramesDone()) {
    KeepReplayKeyframe();
    if (!pass()) break;
  }
  SkipDrawing(false);
  if (!silent) ResumeMusicOfState();
  return ReplayFramesPlayed();
}
