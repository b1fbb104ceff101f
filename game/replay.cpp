// replay.cpp - the recorder and the player at the input seam and the flip hook.
#include "game/replay.h"

#include <cstdio>
#include <utility>

#include "core/main_thread.h"
#include "game/state_hash.h"
#include "graphics/graphics.h"
#include "system/event.h"
#include "system/hook.h"
#include "system/input_seam.h"

namespace {

// The recorder and the player close a frame last among the flip's hooks, whatever was attached
// before or after them: another hook that reads input at the flip (the screenshot key) then
// always counts in the frame it belongs to, in the recording and in the replay alike.
constexpr int kEndOfFrameHook = -1000;

// --- recording -------------------------------------------------------------------------------

struct Recorder {
  bool on = false;
  ReplayJournal journal;
  ReplayFrame frame;
  std::uint64_t base = 0;  // pump points when the current frame began
} rec;

TObject* RecordFlip(int, TObject* data, TObject*) {
  if (!rec.on) return data;
  const int number = static_cast<int>(rec.journal.frames.size()) + 1;
  if (number % kReplayCheckEvery == 0) rec.frame.check = GameStateHash();
  rec.journal.frames.push_back(std::move(rec.frame));
  rec.frame = ReplayFrame{};
  rec.base = InputPumpPoints();
  return data;
}

// --- playing ---------------------------------------------------------------------------------

struct Player {
  ReplayStatus status = ReplayStatus::kIdle;
  ReplayJournal journal;
  std::size_t index = 0;     // the frame being played; frames.size() is the tail
  std::size_t event = 0;     // next event of that frame
  std::size_t joystick = 0;  // next joystick read of that frame
  std::uint64_t base = 0;
  bool applying = false;
  bool finishing = false;  // the recording was cut short in a frame the game now finishes
  bool desync = false;     // a read the recording does not have, or one it has left unread
  std::string divergence;
  bool hooked = false;
} play;

const ReplayFrame& CurrentFrame() {
  return play.index < play.journal.frames.size() ? play.journal.frames[play.index]
                                                 : play.journal.tail;
}

void RequestClose() {
  InputEventRecord close;
  close.id = EVENT_APPTERMINATE;
  ApplyInputEvent(close);
}

void Diverge(const std::string& why) {
  if (play.status != ReplayStatus::kPlaying) return;
  const int frame = static_cast<int>(play.index) + 1;
  play.divergence = "replay diverged at frame " + std::to_string(frame) + " (" +
                    GameTimeText(frame) + " into the game): " + why;
  play.status = ReplayStatus::kDiverged;
}

void ApplyDueEvents(const ReplayFrame& frame);

// At each pump point: the events due by now (a nested pump point, from a suspension's
// ClearKeys, makes more of them due while they are applied).
void PumpReplay(std::uint64_t) {
  if (play.applying) return;
  play.applying = true;
  if (play.status == ReplayStatus::kPlaying && !play.finishing) {
    ApplyDueEvents(CurrentFrame());
  } else {
    RequestClose();
  }
  play.applying = false;
}

void ReplayJoystick(int port, JoystickSample& sample) {
  if (play.status != ReplayStatus::kPlaying) return;  // the port keeps its values
  const ReplayFrame& frame = CurrentFrame();
  if (play.joystick >= frame.joystick.size() || frame.joystick[play.joystick].port != port) {
    play.desync = true;  // told at the next check
    return;
  }
  sample = frame.joystick[play.joystick++].sample;
}

// Events that reached the tables after the frame's last query but before its flip are due too.
void ApplyDueEvents(const ReplayFrame& frame) {
  while (play.event < frame.events.size() &&
         play.base + frame.events[play.event].stamp <= InputPumpPoints()) {
    ApplyInputEvent(frame.events[play.event++].event);
  }
}

// Whether the whole tail has been applied and ended with a close request: the recording stopped
// there, in the middle of a frame (the display was lost under the recorded game).
bool CutShortByAClose() {
  const std::vector<ReplayEvent>& events = play.journal.tail.events;
  return !events.empty() && play.event >= events.size() &&
         events.back().event.id == EVENT_APPTERMINATE;
}

TObject* ReplayFlip(int, TObject* data, TObject*) {
  if (play.status != ReplayStatus::kPlaying || play.finishing) return data;
  if (play.index >= play.journal.frames.size()) {
    // A flip the recording never saw: the recorded game had ended here, unless the recording was
    // cut short by a close request before the flips with which the game finishes its frame.
    play.applying = true;
    ApplyDueEvents(play.journal.tail);
    play.applying = false;
    if (CutShortByAClose()) {
      play.finishing = true;
    } else {
      play.status = ReplayStatus::kEnded;
    }
    return data;
  }
  const ReplayFrame& frame = play.journal.frames[play.index];
  play.applying = true;
  ApplyDueEvents(frame);
  play.applying = false;
  if (play.event < frame.events.size() || play.joystick < frame.joystick.size()) {
    play.desync = true;  // the game read less input in this frame than the recording did
    play.event = frame.events.size();
  }
  // Any difference shows at the next check: the state, or reads that no longer match.
  if (frame.check && (play.desync || *frame.check != GameStateHash())) {
    Diverge(play.desync ? "the game no longer reads its input as recorded"
                        : "the game's state differs from the recorded one");
    return data;
  }
  ++play.index;
  play.event = play.joystick = 0;
  play.base = InputPumpPoints();
  return data;
}

}  // namespace

std::string GameTimeText(int frame) {
  const int hundredths = static_cast<int>(static_cast<long long>(frame) * 100 / 60);
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d.%02d", hundredths / 6000, hundredths / 100 % 60,
                hundredths % 100);
  return text;
}

void StartRecording(std::int32_t seed) {
  ZX_CHECK_MAIN_THREAD();
  StopReplay();
  rec = Recorder{};
  rec.on = true;
  rec.journal.seed = seed;
  rec.base = InputPumpPoints();
  InputRecorder recorder;
  recorder.event = [](std::uint64_t stamp, const InputEventRecord& event) {
    rec.frame.events.push_back({static_cast<std::uint32_t>(stamp - rec.base), event});
  };
  recorder.joystick = [](int port, const JoystickSample& sample) {
    rec.frame.joystick.push_back({port, sample});
  };
  SetInputRecorder(std::move(recorder));
  AttachHook(FlipHookId(), RecordFlip, nullptr, kEndOfFrameHook);
}

bool Recording() { return rec.on; }
void RecordStartingBest(std::int32_t best) { rec.journal.best = best; }

int RecordedFrames() { return static_cast<int>(rec.journal.frames.size()); }

ReplayJournal StopRecording() {
  ZX_CHECK_MAIN_THREAD();
  if (!rec.on) return {};
  DetachHook(FlipHookId(), RecordFlip);
  ClearInputSeam();
  rec.on = false;
  rec.journal.tail = std::move(rec.frame);
  rec.journal.tail.check.reset();
  ReplayJournal journal = std::move(rec.journal);
  rec = Recorder{};
  return journal;
}

void StartReplay(const ReplayJournal& journal) {
  ZX_CHECK_MAIN_THREAD();
  if (rec.on) StopRecording();
  StopReplay();
  play = Player{};
  play.journal = journal;
  play.status = ReplayStatus::kPlaying;
  play.base = InputPumpPoints();
  InputReplayer replayer;
  replayer.pump = PumpReplay;
  replayer.joystick = ReplayJoystick;
  SetInputReplayer(std::move(replayer));
  AttachHook(FlipHookId(), ReplayFlip, nullptr, kEndOfFrameHook);
  play.hooked = true;
}

ReplayStatus CurrentReplayStatus() { return play.status; }
int ReplayFramesPlayed() { return static_cast<int>(play.index); }
bool ReplayFramesDone() { return play.index >= play.journal.frames.size(); }
std::string ReplayDivergence() { return play.divergence; }

void StopReplay() {
  ZX_CHECK_MAIN_THREAD();
  if (play.hooked) DetachHook(FlipHookId(), ReplayFlip);
  if (InputReplaying()) ClearInputSeam();
  play.hooked = false;
  play.status = ReplayStatus::kIdle;
}
