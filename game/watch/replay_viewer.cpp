// replay_viewer.cpp - the film player's loop, its controls and its timeline.
#include "game/watch/replay_viewer.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "core/check.h"
#include "game/config/joystick_buttons.h"
#include "game/play/sound_control.h"
#include "game/replay/replay.h"
#include "game/replay/replay_seek.h"
#include "game/screens/frozen_scene.h"
#include "graphics/draw2d.h"
#include "graphics/font.h"
#include "system/hook.h"
#include "system/key_codes.h"
#include "system/polled_input.h"

namespace {

constexpr int kSeekFrames = 300;                                     // five seconds
constexpr int kRepeatDelay = 20, kSeekRepeat = 15, kStepRepeat = 4;  // passes
constexpr int kHome = Key(KeyCode::kHome), kPeriod = Key(KeyCode::kPeriod);
constexpr int kComma = Key(KeyCode::kComma), kT = 'T';
constexpr int kLeft = Key(KeyCode::kLeft), kRight = Key(KeyCode::kRight);
constexpr int kUp = Key(KeyCode::kUp), kDown = Key(KeyCode::kDown);
// Speeds as quarters of the normal one.
constexpr int kSpeeds[] = {1, 2, 4, 8, 16};
constexpr const char* kSpeedNames[] = {"x1/4", "x1/2", "x1", "x2", "x4"};
constexpr int kNormalSpeed = 2;
// The timeline, in picture pixels.
constexpr float kBarX = 96, kBarW = 448, kBarY = 468, kBarH = 6;
constexpr float kHookPriority = -400;  // after the game's drawing, before the frame overlay's

// Apart from the game's state: how the viewer plays the replay, for the timeline drawn at each
// flip. Set by ViewReplay while it runs.
struct Viewer {
  int speed = kNormalSpeed;
  bool held = false;
  int tick = 0;  // passes, for slow play
} viewer;

// A control held down acts at once, then after a delay again every `every` passes.
struct Repeat {
  int passes = 0;
  bool Due(bool down, int every) {
    if (!down) {
      passes = 0;
      return false;
    }
    const int n = passes++;
    return n == 0 || (n >= kRepeatDelay && (n - kRepeatDelay) % every == 0);
  }
};

std::string Clock(int frame) {
  const int seconds = frame / 60;
  return std::to_string(seconds / 60) + ":" + (seconds % 60 < 10 ? "0" : "") +
         std::to_string(seconds % 60);
}

void Line(const std::string& text, float left, float y) {
  PaintText(text, left + static_cast<float>((80 - MeasureTextWidth(text)) / 2), y);
}

// The frame loop's pass, which plays each frame (UseFilmPass).
ReplayPass film_pass = nullptr;

// What the film on screen offers beside playing, for its keys. Set by ViewReplay.
ViewerOptions shown;

struct KeyHelp {
  const char *keys, *does;
};
constexpr KeyHelp kLeftKeys[] = {
    {"Space A", "hold"}, {"Lt Rt", "seek 5 s"}, {"Up Dn", "speed"}, {"LB RB", "speed"}};
constexpr KeyHelp kRightKeys[] = {{". , LT RT", "frame"},
                                  {"Home Bk", "to start"},
                                  {"T X", "take over"},
                                  {"G Y", "race"},
                                  {"Esc B", "end"}};

// The keys of `count` helps down a side bar, leaving out what this film does not offer.
void DrawKeys(const KeyHelp* keys, int count, float left) {
  float y = 12;
  for (int i = 0; i < count; ++i) {
    const std::string does = keys[i].does;
    if ((!shown.take_over && does == "take over") || (!shown.race && does == "race")) continue;
    SetColor(255, 255, 255);
    Line(keys[i].keys, left, y);
    SetColor(150, 150, 170);
    Line(keys[i].does, left, y + 16);
    y += 40;
  }
}

// The timeline and the keys, over the picture of each flip.
TObject* DrawTimeline(int, TObject* data, TObject*) {
  const int length = std::max(ReplayLength(), 1);
  const int now = std::min(ReplayFramesPlayed(), length);
  SetBlend(BLEND_ALPHA);
  SetAlpha(0.8f);
  SetColor(40, 40, 60);
  DrawRect(kBarX, kBarY, kBarW, kBarH);
  SetColor(80, 150, 255);
  DrawRect(kBarX, kBarY, kBarW * static_cast<float>(now) / static_cast<float>(length), kBarH);
  SetAlpha(1);
  SetColor(255, 220, 60);
  for (const int start : ReplayWaveStarts()) {
    DrawRect(kBarX + kBarW * static_cast<float>(start) / static_cast<float>(length), kBarY - 3, 1,
             kBarH + 6);
  }
  for (const int start : ReplayGameStarts()) {
    SetColor(255, 90, 90);
    DrawRect(kBarX + kBarW * static_cast<float>(start) / static_cast<float>(length), kBarY - 3, 1,
             kBarH + 6);
  }
  SetColor(255, 255, 255);
  DrawRect(kBarX + kBarW * static_cast<float>(now) / static_cast<float>(length) - 1, kBarY - 4, 3,
           kBarH + 8);
  Line("of " + Clock(length), 0, 300);
  Line(viewer.held ? "held" : kSpeedNames[viewer.speed], 0, 320);
  DrawKeys(kLeftKeys, static_cast<int>(std::size(kLeftKeys)), 0);
  DrawKeys(kRightKeys, static_cast<int>(std::size(kRightKeys)), 560);
  SetColor(255, 255, 255);
  SetBlend(BLEND_SOLID);
  return data;
}

bool PadDown(const JoystickSample& pad, int button) {
  return pad.ok && (pad.buttons >> button & 1) != 0;
}

// The sound for how the replay now plays: heard only at the normal speed, not held.
void MatchSound() {
  const bool silent = viewer.held || viewer.speed != kNormalSpeed;
  if (silent == GameSoundSilenced()) return;
  if (silent) {
    SilenceGameSound(true);
  } else {
    ResumeMusicOfState();
  }
}

}  // namespace

void UseFilmPass(ReplayPass pass) { film_pass = pass; }

ReplayPass FilmPass() { return film_pass; }

ViewerEnd ViewReplay(const ViewerOptions& options) {
  ZX_CHECK(film_pass != nullptr, "the frame loop's pass is given at start-up (UseFilmPass)");
  viewer = Viewer{};
  shown = options;
  AttachHook(FlipHookId(), DrawTimeline, nullptr, static_cast<int>(kHookPriority));
  ViewerInput before = ReadReplayViewer();
  Repeat left, right, next, back;
  ViewerEnd end = ViewerEnd::kEnded;
  if (options.from > 0) SeekReplay(options.from, film_pass);
  for (;;) {
    KeepReplayKeyframe();
    const ViewerInput in = ReadReplayViewer();
    const ViewerInput last = std::exchange(before, in);
    if (ReplayHeardClose()) {
      end = ViewerEnd::kClosed;
      break;
    }
    if (CurrentReplayStatus() == ReplayStatus::kStopped) {
      end = ViewerEnd::kStopped;
      break;
    }
    if (CurrentReplayStatus() != ReplayStatus::kPlaying) break;
    if (options.end_at_frames && ReplayFramesDone()) break;
    if (options.keep_on && !options.keep_on()) break;
    const auto pressed = [&](int button) {
      return PadDown(in.pad, button) && !PadDown(last.pad, button);
    };
    const auto key = [&](int code) { return in.keyhits[static_cast<std::size_t>(code)] > 0; };
    // Down now, or pressed and let go since the last pass.
    const auto held = [&](int code) {
      return in.keysdown[static_cast<std::size_t>(code)] || key(code);
    };
    const float stickx = in.pad.ok ? in.pad.values[0] : 0,
                sticky = in.pad.ok ? in.pad.values[1] : 0;
    const float beforey = last.pad.ok ? last.pad.values[1] : 0;
    const bool lt = in.pad.ok && in.pad.values[kPadLeftTriggerAxis] > 0.5f,
               rt = in.pad.ok && in.pad.values[kPadRightTriggerAxis] > 0.5f;
    if (pressed(kPadB)) {
      StopReplayAsViewer();
      end = ViewerEnd::kStopped;
      break;
    }
    if (options.take_over && (key(kT) || pressed(kPadX))) {
      end = ViewerEnd::kTakeOver;
      break;
    }
    if (options.race && (key(kRaceKey) || pressed(kRaceButton))) {
      StopReplayAsViewer();
      end = ViewerEnd::kRace;
      break;
    }
    if (key(' ') || pressed(kPadA)) viewer.held = !viewer.held;
    if (key(kUp) || pressed(kPadRightShoulder) || (sticky < -0.5f && beforey >= -0.5f)) {
      viewer.speed = std::min(viewer.speed + 1, 4);
    }
    if (key(kDown) || pressed(kPadLeftShoulder) || (sticky > 0.5f && beforey <= 0.5f)) {
      viewer.speed = std::max(viewer.speed - 1, 0);
    }
    int target = -1;
    const int now = ReplayFramesPlayed();
    if (key(kHome) || pressed(kPadBack)) target = 0;
    if (left.Due(held(kLeft) || stickx < -0.5f, kSeekRepeat)) target = now - kSeekFrames;
    if (right.Due(held(kRight) || stickx > 0.5f, kSeekRepeat)) target = now + kSeekFrames;
    if (back.Due(held(kComma) || lt, kStepRepeat)) {
      viewer.held = true;
      target = now - 1;
    }
    const bool step = next.Due(held(kPeriod) || rt, kStepRepeat);
    if (step) viewer.held = true;
    if (in.clicks > 0 && in.mousey >= kBarY - 10 && in.mousey <= kBarY + kBarH + 10 &&
        in.mousex >= kBarX - 4 && in.mousex <= kBarX + kBarW + 4) {
      const float at = std::clamp((static_cast<float>(in.mousex) - kBarX) / kBarW, 0.0f, 1.0f);
      target = static_cast<int>(at * static_cast<float>(ReplayLength()) + 0.5f);
    }
    MatchSound();
    ++viewer.tick;
    // How many frames of the game this pass plays: the last one drawn.
    int frames = kSpeeds[viewer.speed] / 4;
    if (kSpeeds[viewer.speed] < 4) frames = viewer.tick % (4 / kSpeeds[viewer.speed]) == 0;
    if (viewer.held) frames = step ? 1 : 0;
    if (target >= 0) {
      // The frame before the target silently, the target itself drawn.
      SeekReplay(std::max(target - 1, 0), film_pass);
      frames = target > 0 ? 1 : 0;
    } else if (frames > 1) {
      SeekReplay(now + frames - 1, film_pass);
      frames = 1;
    }
    if (frames == 0) {
      DrawFrozenScene();
      FlipReplayStill();
      continue;
    }
    if (!film_pass()) {
      end = ReplayHeardClose()                                ? ViewerEnd::kClosed
            : CurrentReplayStatus() == ReplayStatus::kStopped ? ViewerEnd::kStopped
                                                              : ViewerEnd::kClosed;
      break;
    }
  }
  DetachHook(FlipHookId(), DrawTimeline, nullptr);
  if (GameSoundSilenced()) ResumeMusicOfState();
  return end;
}
