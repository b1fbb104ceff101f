// replay.cpp - the recorder and the player at the input seam and the flip hook.
#include "game/replay/replay.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>
#include <set>
#include <utility>

#include "core/main_thread.h"
#include "game/config/key_bindings.h"
#include "game/config/player_name.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/practice_game.h"
#include "game/play/screen_name.h"
#include "game/play/sound_control.h"
#include "game/replay/replay_snapshot.h"
#include "game/replay/ship_track.h"
#include "game/replay/state_hash.h"
#include "graphics/graphics.h"
#include "system/event.h"
#include "system/hook.h"
#include "system/input_seam.h"
#include "system/joystick.h"
#include "system/key_codes.h"
#include "system/system_driver.h"

namespace {

// The recorder and the player close a frame last among the flip's hooks, whatever was attached
// before or after them: another hook that reads input at the flip (the screenshot key) then
// always counts in the frame it belongs to, in the recording and in the replay alike.
constexpr int kEndOfFrameHook = -1000;

// How long a replayed game's title card shows: two seconds from its start.
constexpr int kReplayCardFrames = 120;

// --- recording -------------------------------------------------------------------------------

struct Recorder {
  bool on = false;
  bool paused = false;  // listening to nothing until resumed (while the best game is watched)
  RecordingKeeps keeps = RecordingKeeps::kEveryGame;
  // The frame loop's last flip showed the title. Before its first flip the start-up has just
  // entered the title, so a game started in the very first frame counts from its start too.
  bool title_seen = true;
  bool ingame = false;
  RecordedGame game;  // the game under way: its snapshot
  ReplayInputWriter writer;
  ShipTrackWriter track;
  int start_best = 0;
  std::uint64_t base = 0;   // pump points when the current frame began
  std::uint32_t reads = 0;  // joystick reads in the current frame
  JoystickSample last[kReplayPorts];
  RecordedRun run;
  std::size_t kept = 0;  // bytes of the finished games kept
  int bestgames = 0;     // games kept as the best so far
};
// The recorder and the player live apart from the game's state they record and check: they sit
// between the game and its input. Each is set up by the start of a recording or a replay.
Recorder rec;
// Told of each finished game: set by the run for its whole length.
RecordedGameHook game_recorded = nullptr;

void BeginGame() {
  rec.game = RecordedGame{};
  rec.game.snapshot = TakeGameSnapshot();
  rec.game.choices = ActiveInputChoices();
  rec.game.played = static_cast<std::int64_t>(std::time(nullptr));
  rec.game.practice = PracticeGame();
  rec.writer = ReplayInputWriter{};
  rec.track = ShipTrackWriter{};
  rec.track.Add(ShipPointNow());
  rec.start_best = playfield.player->hscore;
  rec.base = InputPumpPoints();
  rec.reads = 0;
  for (int p = 0; p < kReplayPorts; ++p) rec.last[p] = SampleOfPort(SaveJoystickPort(p));
  rec.ingame = true;
}

void FinishGame(GameEnd end) {
  rec.ingame = false;
  rec.writer.EndTail();
  rec.game.frames = rec.writer.Frames();
  rec.game.end = end;
  rec.game.input = rec.writer.TakeBytes();
  rec.game.track = rec.track.TakeBytes();
  rec.game.score = playfield.player->score;
  rec.game.wave = playfield.player->wave;
  rec.run.journal.player = PlayerName();
  // Started and abandoned in one frame, the game began at the flip inside the abandoning, which
  // no replay could restore at: there was nothing to play anyway.
  if (end == GameEnd::kTitle && rec.game.frames <= 1) return;
  // A practice game is kept only by a recording of every game: no score table or best takes it.
  if (game_recorded && !rec.game.practice) game_recorded(rec.game, rec.run.journal.player);
  const bool raised = !rec.game.practice && playfield.player->hscore > rec.start_best;
  std::vector<RecordedGame>& games = rec.run.journal.games;
  if (rec.keeps == RecordingKeeps::kBestGame) {
    if (!raised) return;
    games.clear();
    rec.kept = 0;
  }
  rec.kept += rec.game.snapshot.size() + rec.game.input.size() + rec.game.track.size();
  games.push_back(std::move(rec.game));
  if (raised) {
    rec.run.bestgame = static_cast<int>(games.size()) - 1;
    ++rec.bestgames;
  }
}

TObject* RecordFlip(int, TObject* data, TObject*) {
  if (!rec.on || !playfield.player) return data;
  const bool loop = FrameLoopFlip();
  if (rec.ingame) {
    const bool ends = loop && game_mode.titlemode == 1;
    const std::uint32_t number = rec.writer.Frames() + 1;
    if (ends || number % kReplayCheckEvery == 0) rec.writer.Check(GameStateHash());
    rec.writer.EndFrame();
    if (loop) rec.track.Add(ShipPointNow());
    rec.base = InputPumpPoints();
    rec.reads = 0;
    if (ends) FinishGame(GameEnd::kTitle);
  } else if (loop && game_mode.titlemode == 0 && rec.title_seen) {
    BeginGame();
  }
  if (loop) rec.title_seen = game_mode.titlemode == 1;
  return data;
}

// --- playing ---------------------------------------------------------------------------------

// What a keyframe holds besides the game's snapshot: where the player stood in the journal at the
// top of a pass of the frame loop.
struct ReplayKeyframe {
  int total = 0;  // frames played over all games
  std::size_t game = 0;
  int played = 0;
  bool tail = false;
  std::vector<std::uint8_t> snapshot;
  ReplayInputReader reader;
  ReplayFrame frame;
  std::size_t event = 0, change = 0;
  std::uint32_t reads = 0;
  std::uint64_t pumped = 0;  // pump points since the frame's flip
  JoystickSample last[kReplayPorts];
};

struct Player {
  ReplayStatus status = ReplayStatus::kIdle;
  ReplayUse use = ReplayUse::kRun;
  ReplayJournal journal;
  bool started = false;  // the first game has been restored
  bool clicked = false;  // the splash has been clicked away
  std::size_t game = 0;  // the game being played
  std::optional<ReplayInputReader> reader;
  ReplayFrame frame;  // the frame being played, or the tail
  bool tail = false;
  int played = 0;           // frames of this game played
  int total = 0;            // frames of every game played
  std::size_t event = 0;    // next event of the frame
  std::size_t change = 0;   // next joystick change of the frame
  std::uint32_t reads = 0;  // joystick reads in the frame
  JoystickSample last[kReplayPorts];
  std::uint64_t base = 0;
  bool applying = false;
  bool finishing = false;  // the recording was cut short in a frame the game now finishes
  bool desync = false;     // a read the recording does not have, or one it has left unread
  std::string divergence;
  bool hooked = false;
  bool closed = false;  // the platform asked the program to end while the replay played
  int score = 0;        // watching: the score the caption shows
  std::string title;    // watching: the caption's title
  std::vector<ReplayKeyframe> keyframes;  // in the order of their frames, one per frame at most
  bool viewer_reads = false;              // a joystick read for the viewer, not the game
  ViewerInput heard;                      // the viewer's input since it was last taken
  bool still = false;                     // a flip of the held picture, no frame of the game
  std::set<int> wave_starts;              // frames at which a wave's get-ready was seen to begin
};
Player play;

void RequestClose() {
  InputEventRecord close;
  close.id = EVENT_APPTERMINATE;
  ApplyInputEvent(close);
}

// "at frame F (M:SS.ss into the game)", or "in game G at frame F (...)" when there are several.
// Frame 0 is the game's start, where its snapshot is put back.
std::string Where(int frame) {
  const std::string game =
      play.journal.games.size() > 1 ? "in game " + std::to_string(play.game + 1) + " " : "";
  if (frame == 0) return game + "at the game's start";
  return game + "at frame " + std::to_string(frame) + " (" + GameTimeText(frame) +
         " into the game)";
}

// Stops the replay at `frame` of the current game (counted from 1).
void Diverge(int frame, const std::string& why, ReplayStatus status = ReplayStatus::kDiverged) {
  if (play.status != ReplayStatus::kPlaying) return;
  play.divergence = "replay diverged " + Where(frame) + ": " + why;
  play.status = status;
}

void NextFrame();

// Restores game `index` at this flip and takes its first frame.
void BeginReplayedGame(std::size_t index) {
  play.game = index;
  play.played = 0;
  play.tail = false;
  const RecordedGame& game = play.journal.games[index];
  play.reader.emplace(game.input.data(), game.input.size());
  switch (RestoreGameSnapshot(game.snapshot)) {
    case SnapshotRestore::kRestored:
      break;
    case SnapshotRestore::kOtherState:
      Diverge(0, "the game's state at its start differs from the recorded one");
      return;
    case SnapshotRestore::kNotSnapshot:
      Diverge(0, "the game's start cannot be put back");
      return;
  }
  for (int p = 0; p < kReplayPorts; ++p) play.last[p] = SampleOfPort(SaveJoystickPort(p));
  // The recorded keys act as they did; a change made in the game's controls screen is made
  // again by its replayed input.
  UseInputChoices(game.choices);
  SetPracticeGame(game.practice);
  // The track the recorded game started at its first get-ready frame, which the title's
  // replayed frame never reached.
  if (game_mode.getready == 1 && game_mode.seqctr >= 1) StartPhaseMusic();
  play.started = true;
  NextFrame();
}

// Takes the game's next frame; after its last, the tail, the next game, or the end.
void NextFrame() {
  play.base = InputPumpPoints();
  play.event = play.change = 0;
  play.reads = 0;
  switch (play.reader->Next(play.frame)) {
    case ReplayInputReader::Item::kFrame:
      return;
    case ReplayInputReader::Item::kTail:
      if (play.journal.games[play.game].end == GameEnd::kProgramEnd) {
        play.tail = true;  // the input that ended the program
      } else if (play.game + 1 < play.journal.games.size()) {
        BeginReplayedGame(play.game + 1);
      } else {
        play.status = ReplayStatus::kDone;
      }
      return;
    case ReplayInputReader::Item::kBad:
      Diverge(play.played + 1, "the replay's input is damaged");
      return;
  }
}

// Events that reached the tables after the frame's last query but before its flip are due too.
void ApplyDueEvents() {
  const std::vector<ReplayEvent>& events = play.frame.events;
  while (play.event < events.size() && play.base + events[play.event].stamp <= InputPumpPoints()) {
    ApplyInputEvent(events[play.event++].event);
  }
}

// At each pump point: the events due by now (a nested pump point, from a suspension's
// ClearKeys, makes more of them due while they are applied).
void PumpReplay(std::uint64_t) {
  if (play.applying || play.still) return;
  play.applying = true;
  if (play.status != ReplayStatus::kPlaying || play.finishing) {
    // A watched game hands back to the game that watches it, which asks for nothing to close.
    if (play.use == ReplayUse::kRun) RequestClose();
  } else if (play.started) {
    ApplyDueEvents();
  } else if (!play.clicked && CurrentModalScreen() == ModalScreen::Splash) {
    // The splash is clicked away: the games start from their snapshots, whatever came before.
    ApplyInputEvent({EVENT_MOUSEDOWN, 1, 0, 0});
    play.clicked = true;
  }
  play.applying = false;
}

// Reads give the port's previous answer but where the recording has a change.
void ReplayJoystick(int port, JoystickSample& sample) {
  if (port < 0 || port >= kReplayPorts) return;
  if (play.viewer_reads) {
    // The viewer's pad; the port reads on as the game last read it, so nothing of it changes.
    if (port == 0) play.heard.pad = sample.ok ? sample : JoystickSample{};
  } else if (play.status == ReplayStatus::kPlaying && play.started) {
    const std::uint32_t read = play.reads++;
    const std::vector<ReplayJoystickChange>& changes = play.frame.joystick;
    if (play.change < changes.size() && changes[play.change].read == read) {
      if (changes[play.change].port == port) {
        play.last[port] = changes[play.change].sample;
      } else {
        play.desync = true;  // told at the next check
      }
      ++play.change;
    }
  }
  sample = play.last[port];
}

// The viewer's own keys: ESC, or closing the window, ends the replay; the others are kept for
// the viewer's controls (replay_viewer.h).
void HearPlatform(const InputEventRecord& event) {
  if (event.id == EVENT_APPTERMINATE) play.closed = true;
  const bool ends = event.id == EVENT_APPTERMINATE ||
                    (event.id == EVENT_KEYDOWN && event.data == Key(KeyCode::kEscape));
  if (play.status == ReplayStatus::kPlaying && ends) play.status = ReplayStatus::kStopped;
  ViewerInput& heard = play.heard;
  switch (event.id) {
    case EVENT_KEYDOWN:
      if (event.data >= 0 && event.data < ViewerInput::kKeys) {
        heard.keysdown[static_cast<std::size_t>(event.data)] = true;
        ++heard.keyhits[static_cast<std::size_t>(event.data)];
      }
      break;
    case EVENT_KEYUP:
      if (event.data >= 0 && event.data < ViewerInput::kKeys) {
        heard.keysdown[static_cast<std::size_t>(event.data)] = false;
      }
      break;
    case EVENT_MOUSEMOVE:
      heard.mousex = event.x;
      heard.mousey = event.y;
      break;
    case EVENT_MOUSEDOWN:
      if (event.data == 1) ++heard.clicks;
      break;
    default:
      break;
  }
}

// Whether the whole tail has been applied and ended with a close request: the recording stopped
// there, in the middle of a frame (the display was lost under the recorded game).
bool CutShortByAClose() {
  const std::vector<ReplayEvent>& events = play.frame.events;
  return !events.empty() && play.event >= events.size() &&
         events.back().event.id == EVENT_APPTERMINATE;
}

TObject* ReplayFlip(int, TObject* data, TObject*) {
  if (play.still) return data;
  if (play.status != ReplayStatus::kPlaying || play.finishing) return data;
  if (!play.started) {
    if (FrameLoopFlip() && playfield.player) BeginReplayedGame(0);
    return data;
  }
  if (play.tail) {
    // A flip the recording never saw: the recorded game had ended here, unless the recording was
    // cut short by a close request before the flips with which the game finishes its frame.
    play.applying = true;
    ApplyDueEvents();
    play.applying = false;
    if (CutShortByAClose()) {
      play.finishing = true;
      return data;
    }
    Diverge(play.played + 1, "the game went on after the recording ended", ReplayStatus::kEnded);
    return data;
  }
  play.applying = true;
  ApplyDueEvents();
  play.applying = false;
  if (play.event < play.frame.events.size() || play.change < play.frame.joystick.size()) {
    play.desync = true;  // the game read less input in this frame than the recording did
  }
  ++play.played;
  ++play.total;
  // Any difference shows at the next check: the state, or reads that no longer match.
  if (play.frame.check && (play.desync || *play.frame.check != GameStateHash())) {
    Diverge(play.played, play.desync ? "the game no longer reads its input as recorded"
                                     : "the game's state differs from the recorded one");
    return data;
  }
  NextFrame();
  return data;
}

// The player at the input seam; `readsdevice` for the viewer's read of their pad alone, since a
// read of the device costs more than the game's whole frame.
void InstallReplayer(bool readsdevice) {
  InputReplayer replayer;
  replayer.pump = PumpReplay;
  replayer.joystick = ReplayJoystick;
  replayer.platform = HearPlatform;
  replayer.readsdevice = readsdevice;
  SetInputReplayer(std::move(replayer));
}

// The recorder at the input seam and the flip.
void ListenForRecording() {
  InputRecorder recorder;
  recorder.event = [](std::uint64_t stamp, const InputEventRecord& event) {
    if (rec.ingame) rec.writer.Event(static_cast<std::uint32_t>(stamp - rec.base), event);
  };
  recorder.joystick = [](int port, const JoystickSample& sample) {
    if (!rec.ingame || port < 0 || port >= kReplayPorts) return;
    const std::uint32_t read = rec.reads++;
    const JoystickSample normal = NormalSample(sample);
    if (normal == rec.last[port]) return;
    rec.writer.Joystick(read, port, normal);
    rec.last[port] = normal;
  };
  SetInputRecorder(std::move(recorder));
  AttachHook(FlipHookId(), RecordFlip, nullptr, kEndOfFrameHook);
}

}  // namespace

// A game starts and ends only at a flip of the frame loop itself: one inside the pause screen,
// the splash or the abandoning of a game is no place to take or restore a snapshot. The frame
// loop run by the watching of the best game is the frame loop too.
bool FrameLoopFlip() { return CurrentModalScreen() == ModalScreen::None || WatchingRecordedGame(); }

ReplayJournal RecordedRun::BestGame() const {
  ReplayJournal best;
  best.version = journal.version;
  best.player = journal.player;
  if (bestgame >= 0) best.games.push_back(journal.games[static_cast<std::size_t>(bestgame)]);
  return best;
}

std::string GameTimeText(int frame) {
  const int hundredths = static_cast<int>(static_cast<long long>(frame) * 100 / 60);
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d.%02d", hundredths / 6000, hundredths / 100 % 60,
                hundredths % 100);
  return text;
}

void OnGameRecorded(RecordedGameHook hook) { game_recorded = hook; }

void StartRecording(RecordingKeeps keeps) {
  ZX_CHECK_MAIN_THREAD();
  StopReplay();
  if (rec.on) StopRecording();
  rec = Recorder{};
  rec.on = true;
  rec.keeps = keeps;
  ListenForRecording();
}

bool Recording() { return rec.on; }

bool PauseRecording() {
  ZX_CHECK_MAIN_THREAD();
  if (!rec.on || rec.paused || rec.ingame) return false;
  DetachHook(FlipHookId(), RecordFlip);
  ClearInputSeam();
  rec.paused = true;
  return true;
}

void ResumeRecording() {
  ZX_CHECK_MAIN_THREAD();
  if (!rec.on || !rec.paused) return;
  rec.paused = false;
  // A practice game under way is kept from the next flip, as a game the title gave way to.
  rec.title_seen = game_mode.titlemode == 1 || PracticeGame();
  ListenForRecording();
}

const RecordedGame* RecordedBestGame(int* number) {
  if (number) *number = rec.bestgames;
  if (!rec.on || rec.run.bestgame < 0) return nullptr;
  return &rec.run.journal.games[static_cast<std::size_t>(rec.run.bestgame)];
}

int RecordedFrames() {
  long frames = rec.ingame ? rec.writer.Frames() : 0;
  for (const RecordedGame& game : rec.run.journal.games) frames += game.frames;
  return static_cast<int>(frames);
}

std::size_t RecordedBytes() {
  return rec.kept +
         (rec.ingame ? rec.game.snapshot.size() + rec.writer.Size() + rec.track.Size() : 0);
}

RecordedRun StopRecording() {
  ZX_CHECK_MAIN_THREAD();
  if (!rec.on) return {};
  if (!rec.paused) {
    DetachHook(FlipHookId(), RecordFlip);
    ClearInputSeam();
  }
  if (rec.ingame) FinishGame(GameEnd::kProgramEnd);
  RecordedRun run = std::move(rec.run);
  rec = Recorder{};
  return run;
}

void StartReplay(ReplayJournal journal, ReplayUse use) {
  ZX_CHECK_MAIN_THREAD();
  if (rec.on && !rec.paused) StopRecording();
  StopReplay();
  play = Player{};
  play.use = use;
  // Watched from the running game, there is no splash to click away.
  play.clicked = use == ReplayUse::kWatch;
  play.journal = std::move(journal);
  play.status = play.journal.games.empty() ? ReplayStatus::kDone : ReplayStatus::kPlaying;
  InstallReplayer(false);
  AttachHook(FlipHookId(), ReplayFlip, nullptr, kEndOfFrameHook);
  play.hooked = true;
}

ReplayStatus CurrentReplayStatus() { return play.status; }
bool ReplayUnderWay() { return play.hooked; }
bool ReplayRunsProgram() { return play.hooked && play.started && play.use == ReplayUse::kRun; }
int ReplayFramesPlayed() { return play.total; }

bool ReplayFramesDone() {
  return play.status == ReplayStatus::kDone ||
         (play.started && play.tail && play.game + 1 == play.journal.games.size());
}

std::string ReplayDivergence() { return play.divergence; }
std::string ReplayPlace() { return Where(play.played + 1); }

void StopReplay() {
  ZX_CHECK_MAIN_THREAD();
  if (play.hooked) DetachHook(FlipHookId(), ReplayFlip);
  if (play.hooked && play.started) SetPracticeGame(false);
  if (InputReplaying()) ClearInputSeam();
  play.hooked = false;
  play.status = ReplayStatus::kIdle;
  play.journal = ReplayJournal{};
  play.reader.reset();
}

bool ReplayHeardClose() { return play.closed; }

void StopReplayAsViewer() {
  if (play.status == ReplayStatus::kPlaying) play.status = ReplayStatus::kStopped;
}

ReplayCaptionText ReplayCaption() {
  if (!play.hooked || play.journal.games.empty()) return {};
  ReplayCaptionText text;
  const RecordedGame& game = play.journal.games[std::min(play.game, play.journal.games.size() - 1)];
  const int score = play.use == ReplayUse::kWatch ? play.score : game.score;
  if (play.use == ReplayUse::kWatch) {
    text.title = play.title;
    text.score = std::to_string(score);
  } else {
    text.title = "Replay";
  }
  text.time = GameTimeText(play.total);
  if (game.practice) text.practice = "Practice";
  text.player = play.journal.player;
  const std::string when = PlayedText(game.played);
  text.day = when.substr(0, when.find(' '));
  const std::string& version = play.journal.version;
  text.version = "v" + version.substr(version.find_last_of(' ') + 1);
  // The card stays for the get-ready's first two seconds of each game.
  if (play.played < kReplayCardFrames) {
    text.card =
        (play.journal.player.empty() ? std::string("Unknown player") : play.journal.player) +
        " - " + when + " - version " + text.version.substr(1) + " - score " + std::to_string(score);
  }
  return text;
}

void SetReplayCaption(const std::string& title, int score) {
  play.title = title;
  play.score = score;
}
int ReplayLength() {
  long frames = 0;
  for (const RecordedGame& game : play.journal.games) frames += game.frames;
  return static_cast<int>(frames);
}

std::vector<int> ReplayGameStarts() {
  std::vector<int> starts;
  int frame = 0;
  for (const RecordedGame& game : play.journal.games) {
    starts.push_back(frame);
    frame += static_cast<int>(game.frames);
  }
  return starts;
}

void KeepReplayKeyframe() {
  if (play.status != ReplayStatus::kPlaying || !play.started || play.tail || play.finishing) return;
  if (game_mode.getready == 1 && game_mode.seqctr == 1) play.wave_starts.insert(play.total);
  std::vector<ReplayKeyframe>& keys = play.keyframes;
  // Ahead of the last one only: played again after a seek, the frames come out the same.
  if (!keys.empty() && play.total < keys.back().total + kReplayKeyframeEvery) return;
  ReplayKeyframe key{play.total,
                     play.game,
                     play.played,
                     play.tail,
                     TakeGameSnapshot(),
                     *play.reader,
                     play.frame,
                     play.event,
                     play.change,
                     play.reads,
                     InputPumpPoints() - play.base,
                     {}};
  for (int p = 0; p < kReplayPorts; ++p) key.last[p] = play.last[p];
  keys.push_back(std::move(key));
}

namespace {

// The latest keyframe at or before `frame`; null when there is none.
const ReplayKeyframe* KeyframeAt(int frame) {
  const std::vector<ReplayKeyframe>& keys = play.keyframes;
  auto after = std::upper_bound(keys.begin(), keys.end(), frame,
                                [](int f, const ReplayKeyframe& key) { return f < key.total; });
  return after == keys.begin() || !play.hooked ? nullptr : &*(after - 1);
}

}  // namespace

int ReplayKeyframeAt(int frame) {
  const ReplayKeyframe* key = KeyframeAt(frame);
  return key ? key->total : -1;
}

int RestoreReplayKeyframe(int frame) {
  ZX_CHECK_MAIN_THREAD();
  const ReplayKeyframe* found = KeyframeAt(frame);
  if (!found) return -1;
  const ReplayKeyframe& key = *found;
  if (RestoreGameSnapshot(key.snapshot) != SnapshotRestore::kRestored) return -1;
  // Back on the track even from a replay that had stopped: what was played again held.
  if (play.status == ReplayStatus::kDone || play.status == ReplayStatus::kEnded) {
    play.status = ReplayStatus::kPlaying;
  }
  UseInputChoices(play.journal.games[key.game].choices);
  play.total = key.total;
  play.game = key.game;
  play.played = key.played;
  play.tail = key.tail;
  play.reader = key.reader;
  play.frame = key.frame;
  play.event = key.event;
  play.change = key.change;
  play.reads = key.reads;
  play.base = InputPumpPoints() - key.pumped;
  for (int p = 0; p < kReplayPorts; ++p) play.last[p] = key.last[p];
  play.desync = false;
  return key.total;
}

std::size_t ReplayKeyframeBytes() {
  std::size_t bytes = 0;
  for (const ReplayKeyframe& key : play.keyframes) {
    bytes += sizeof key + key.snapshot.capacity() +
             (key.frame.events.capacity() * sizeof(ReplayEvent)) +
             key.frame.joystick.capacity() * sizeof(ReplayJoystickChange);
  }
  return bytes;
}

ViewerInput ReadReplayViewer() {
  ZX_CHECK_MAIN_THREAD();
  PumpEvents();
  if (play.hooked) {
    InstallReplayer(true);
    play.viewer_reads = true;
    JoyHat(0);
    play.viewer_reads = false;
    InstallReplayer(false);
  }
  ViewerInput heard = play.heard;
  play.heard.keyhits = {};
  play.heard.clicks = 0;
  return heard;
}

std::vector<int> ReplayWaveStarts() { return {play.wave_starts.begin(), play.wave_starts.end()}; }

void FlipReplayStill() {
  ZX_CHECK_MAIN_THREAD();
  // The flip's hooks may read input (the screenshot key): those reads are the viewer's, and the
  // replay's next frame counts its pump points from after them.
  const std::uint64_t before = InputPumpPoints();
  play.still = true;
  FlipScreen(-1);
  play.still = false;
  play.base += InputPumpPoints() - before;
}
