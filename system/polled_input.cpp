// polled_input.cpp - the tables the input hook fills and the queries read.
#include "system/polled_input.h"

#include <deque>

#include "core/app.h"
#include "core/main_thread.h"
#include "system/event.h"
#include "system/hook.h"
#include "system/input_seam.h"
#include "system/system_driver.h"

namespace {

constexpr int kKeys = 256;
constexpr int kButtons = 4;
constexpr int kCharRing = 256;

int key_states[kKeys];
int key_hits[kKeys];
int char_ring[kCharRing];
unsigned char_put = 0;
unsigned char_get = 0;
int mouse_states[kButtons];
int mouse_hits[kButtons];
int mouse_location[4];  // x, y, wheel total
int suspended = 0;
int suspend_hits = 0;  // times the program went to the background, until AppSuspendHits reads them
int close_requested = 0;
const int pollOnQuery = 1;
Ref<TObject> source_filter;
bool enabled = false;
std::uint64_t pump_points = 0;
bool end_signal_taken = false;
std::deque<std::string> dropped_files;

bool IsKey(int key) { return key >= 0 && key < kKeys; }
bool IsButton(int button) { return button >= 0 && button < kButtons; }

void Press(int* states, int* hits, int index) {
  if (states[index]) return;
  states[index] = 1;
  ++hits[index];
}

bool Apply(const InputEventRecord& event);

// An end signal (Ctrl+C, a logout) is a close request. The first pump point after it puts one in
// the tables as the window's close button would, so that a recording holds it where it came and
// its replay ends where the game did; AppCloseRequested answers 1 from then on as well.
void TakeCloseRequest() {
  if (InputReplaying()) return;
  const InputEventRecord record{EVENT_APPTERMINATE, 0, 0, 0};
  if (Apply(record) && CurrentInputRecorder().event) {
    CurrentInputRecorder().event(pump_points, record);
  }
}

void TakeEndSignal() {
  if (end_signal_taken || EndSignalCaught() == 0) return;
  end_signal_taken = true;
  TakeCloseRequest();
}

// Every query is a pump point: it pumps (or takes the replay's events due by now), reads the
// tables, and is counted when it is done, so that each event's stamp says which queries saw it.
class PumpPoint {
 public:
  explicit PumpPoint(bool pump = pollOnQuery != 0) {
    if (pump) PumpEvents();
    if (CurrentInputReplayer().pump) CurrentInputReplayer().pump(pump_points);
    TakeEndSignal();
  }
  ~PumpPoint() { ++pump_points; }
  PumpPoint(const PumpPoint&) = delete;
  PumpPoint& operator=(const PumpPoint&) = delete;
};

// Puts one event into the tables; false for events the tables do not take.
bool Apply(const InputEventRecord& event) {
  switch (event.id) {
    case EVENT_APPSUSPEND:
    case EVENT_APPRESUME:
      ClearKeys();
      ClearMouse();
      suspended = event.id == EVENT_APPSUSPEND;
      if (suspended) ++suspend_hits;
      return true;
    case EVENT_APPTERMINATE:
      close_requested = 1;
      return true;
    case EVENT_KEYDOWN:
      if (IsKey(event.data)) Press(key_states, key_hits, event.data);
      return true;
    case EVENT_KEYUP:
      if (IsKey(event.data)) key_states[event.data] = 0;
      return true;
    case kKeyHitsTakenBack:
      if (IsKey(event.data)) key_hits[event.data] = 0;
      return true;
    case EVENT_KEYCHAR:
      if (char_put - char_get < kCharRing) char_ring[char_put++ % kCharRing] = event.data;
      return true;
    case EVENT_MOUSEDOWN:
      if (IsButton(event.data)) Press(mouse_states, mouse_hits, event.data);
      return true;
    case EVENT_MOUSEUP:
      if (IsButton(event.data)) mouse_states[event.data] = 0;
      return true;
    case EVENT_MOUSEMOVE:
      mouse_location[0] = event.x;
      mouse_location[1] = event.y;
      return true;
    case EVENT_MOUSEWHEEL:
      mouse_location[2] += event.data;
      return true;
    default:
      return false;
  }
}

TObject* Listen(int, TObject* data, TObject*) {
  auto* event = dynamic_cast<TEvent*>(data);
  if (!event || (source_filter && source_filter != event->source)) return data;
  if (event->id == EVENT_APPOPENFILE) {
    constexpr std::size_t kMaxDropped = 16;
    if (event->extra && dropped_files.size() < kMaxDropped) {
      dropped_files.push_back(event->extra->ToString());
    }
    return data;
  }
  const InputEventRecord record{event->id, event->data, event->x, event->y};
  // A replay supplies the events itself; the platform's would be a second, different input.
  // The replay hears of them all the same (the viewer may end it).
  if (InputReplaying()) {
    if (CurrentInputReplayer().platform) CurrentInputReplayer().platform(record);
    return data;
  }
  const std::uint64_t stamp = pump_points;
  if (Apply(record) && CurrentInputRecorder().event) CurrentInputRecorder().event(stamp, record);
  return data;
}

int TakeHits(int* hits, int index) {
  int n = hits[index];
  hits[index] = 0;
  return n;
}

}  // namespace

std::uint64_t InputPumpPoints() { return pump_points; }

std::string TakeDroppedFile() {
  // No pump point: a recording's stamps count the queries of the game's own input.
  if (dropped_files.empty()) return {};
  std::string file = std::move(dropped_files.front());
  dropped_files.pop_front();
  return file;
}
void OpenFileLater(const std::string& path) { dropped_files.push_back(path); }

void ApplyInputEvent(const InputEventRecord& event) { Apply(event); }

static_assert(PolledInputState::kKeys == kKeys && PolledInputState::kButtons == kButtons &&
              PolledInputState::kChars == kCharRing);

PolledInputState SavePolledInput() {
  ZX_CHECK_MAIN_THREAD();
  PolledInputState state;
  for (int k = 0; k < kKeys; ++k) {
    state.keys[k] = key_states[k];
    state.keyhits[k] = key_hits[k];
  }
  for (unsigned i = char_get; i != char_put; ++i) {
    state.chars[state.charcount++] = char_ring[i % kCharRing];
  }
  for (int b = 0; b < kButtons; ++b) {
    state.buttons[b] = mouse_states[b];
    state.buttonhits[b] = mouse_hits[b];
  }
  state.mousex = mouse_location[0];
  state.mousey = mouse_location[1];
  state.wheel = mouse_location[2];
  state.suspended = suspended;
  state.closerequested = close_requested;
  return state;
}

void RestorePolledInput(const PolledInputState& state) {
  ZX_CHECK_MAIN_THREAD();
  for (int k = 0; k < kKeys; ++k) {
    key_states[k] = state.keys[k];
    key_hits[k] = state.keyhits[k];
  }
  char_get = 0;
  char_put = 0;
  for (int i = 0; i < state.charcount && i < kCharRing; ++i) char_ring[char_put++] = state.chars[i];
  for (int b = 0; b < kButtons; ++b) {
    mouse_states[b] = state.buttons[b];
    mouse_hits[b] = state.buttonhits[b];
  }
  mouse_location[0] = state.mousex;
  mouse_location[1] = state.mousey;
  mouse_location[2] = state.wheel;
  suspended = state.suspended;
  close_requested = state.closerequested;
}

void StartPolledInput(TObject* source) {
  ZX_CHECK_MAIN_THREAD();
  if (enabled) return;
  StartSystem();
  source_filter = source;
  ClearKeys();
  ClearMouse();
  suspend_hits = 0;
  AttachHook(eventEmitHook, Listen, nullptr, 0);
  enabled = true;
}

void StopPolledInput() {
  ZX_CHECK_MAIN_THREAD();
  if (!enabled) return;
  DetachHook(eventEmitHook, Listen, nullptr);
  ClearKeys();
  ClearMouse();
  source_filter = nullptr;
  enabled = false;
}

int KeyHits(int key) {
  ZX_CHECK_MAIN_THREAD();
  PumpPoint point;
  return IsKey(key) ? TakeHits(key_hits, key) : 0;
}

int IsKeyDown(int key) {
  ZX_CHECK_MAIN_THREAD();
  PumpPoint point;
  return IsKey(key) ? key_states[key] : 0;
}

int NextChar() {
  PumpPoint point;
  if (char_put == char_get) return 0;
  return char_ring[char_get++ % kCharRing];
}

void ClearKeys() {
  ZX_CHECK_MAIN_THREAD();
  PumpPoint point(true);
  for (int k = 0; k < kKeys; ++k) key_states[k] = key_hits[k] = 0;
  char_put = char_get = 0;
}

void TakeBackKeyHits(int key) {
  ZX_CHECK_MAIN_THREAD();
  // While replaying, the record of the taking back comes with the replay's events.
  if (!enabled || InputReplaying() || !IsKey(key) || key_hits[key] == 0) return;
  const InputEventRecord record{kKeyHitsTakenBack, key, 0, 0};
  if (Apply(record) && CurrentInputRecorder().event) {
    CurrentInputRecorder().event(pump_points, record);
  }
}

int MousePosX() {
  ZX_CHECK_MAIN_THREAD();
  PumpPoint point;
  return mouse_location[0];
}

int MousePosY() {
  ZX_CHECK_MAIN_THREAD();
  PumpPoint point;
  return mouse_location[1];
}

int WheelTotal() {
  PumpPoint point;
  return mouse_location[2];
}

int MouseHits(int button) {
  ZX_CHECK_MAIN_THREAD();
  PumpPoint point;
  return IsButton(button) ? TakeHits(mouse_hits, button) : 0;
}

int IsMouseDown(int button) {
  ZX_CHECK_MAIN_THREAD();
  PumpPoint point;
  return IsButton(button) ? mouse_states[button] : 0;
}

void ClearMouse() {
  PumpPoint point(true);
  for (int b = 0; b < kButtons; ++b) mouse_states[b] = mouse_hits[b] = 0;
  mouse_location[2] = 0;
}

int IsAppSuspended() {
  PumpPoint point;
  return suspended;
}

int AppSuspendHits() {
  ZX_CHECK_MAIN_THREAD();
  const int hits = suspend_hits;
  suspend_hits = 0;
  return hits;
}

void NoteCloseRequest() {
  ZX_CHECK_MAIN_THREAD();
  TakeCloseRequest();
}

int AppCloseRequested() {
  PumpPoint point;
  int requested = close_requested;
  close_requested = 0;
  return requested || EndSignalCaught() != 0 ? 1 : 0;
}

int AwaitKey() {
  ClearKeys();
  while (!InsidePump()) {
    for (int key = 1; key < kKeys; ++key) {
      if (TakeHits(key_hits, key)) return key;
    }
    AwaitEvents();
  }
  return 0;
}

int AwaitChar() {
  ClearKeys();
  while (!InsidePump()) {
    if (char_put != char_get) return char_ring[char_get++ % kCharRing];
    AwaitEvents();
  }
  return 0;
}

int AwaitMouse() {
  ClearMouse();
  while (!InsidePump()) {
    for (int button = 1; button < kButtons; ++button) {
      if (TakeHits(mouse_hits, button)) return button;
    }
    AwaitEvents();
  }
  return 0;
}
