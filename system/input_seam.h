// input_seam.h - where recording and replaying meet the polled input.
//
// Polled input (polled_input.h) and the joystick (joystick.h) are everything the game reads of
// its input. This seam lets a recorder see, and a replayer supply, exactly what they read:
//
// - Events. Every query of polled input (and ClearKeys, ClearMouse) is a "pump point": it pumps
//   the messages, reads the tables, and then adds one to a counter. An event reaching the tables
//   is stamped with the counter's value at that moment, so it is known which queries saw it. A
//   replayer switches the platform's events off and, at each pump point, applies the events due
//   by then (ApplyInputEvent): every query answers as it did when recorded.
// - Joystick reads. Each read of a port's device goes to the recorder as a sample; a replayer
//   supplies the samples instead of the device, read for read.
// - The tables themselves. A recording that starts in the middle of a run (at a game's start)
//   saves what the tables hold then, and its replay puts that back before the first frame.
//
// Nothing here reads a clock. Main thread only.
#pragma once

#include <cstdint>
#include <functional>

// An input event as the polled-input tables take it.
struct InputEventRecord {
  int id = 0;
  int data = 0;
  int x = 0, y = 0;
  bool operator==(const InputEventRecord&) const = default;
};

// The id of a record no event carries: the presses of key `data` not yet counted were taken
// back (TakeBackKeyHits). Outside every event id, so a replay tells it from the events.
inline constexpr int kKeyHitsTakenBack = 0x7F000001;

// What one read of a joystick port gave: whether the device answered, its buttons (bit b is
// button b), axes X, Y, Z, R, U, V and the hat, as the queries report them.
struct JoystickSample {
  static constexpr int kValues = 7;
  bool ok = false;
  unsigned buttons = 0;
  float values[kValues] = {};
  bool operator==(const JoystickSample&) const = default;
};

struct InputRecorder {
  std::function<void(std::uint64_t stamp, const InputEventRecord&)> event;
  std::function<void(int port, const JoystickSample&)> joystick;
};

struct InputReplayer {
  // Called at every pump point before the tables are read; applies the events due by `stamp`.
  std::function<void(std::uint64_t stamp)> pump;
  // Supplies the next read of `port` in place of the device; with `readsdevice` (below) it is
  // given what the device answered (else an empty sample), to hear the viewer's buttons.
  std::function<void(int port, JoystickSample& sample)> joystick;
  // Hears of each event the platform sends while the replay plays (the tables never take
  // them): the viewer's own keys, a closed window.
  std::function<void(const InputEventRecord&)> platform;
  bool readsdevice = false;
};

// What the polled-input tables hold: keys and buttons down, presses not yet counted, queued
// characters, the pointer and wheel, the suspended and close-requested flags.
struct PolledInputState {
  static constexpr int kKeys = 256, kButtons = 4, kChars = 256;
  int keys[kKeys] = {};
  int keyhits[kKeys] = {};
  int chars[kChars] = {};  // the queued characters, oldest first
  int charcount = 0;
  int buttons[kButtons] = {};
  int buttonhits[kButtons] = {};
  int mousex = 0, mousey = 0, wheel = 0;
  int suspended = 0;
  int closerequested = 0;
  bool operator==(const PolledInputState&) const = default;
};

// What the joystick layer keeps of one port between reads.
struct JoystickPortState {
  static constexpr int kAxes = 16, kButtons = 16, kHat = 9;
  bool present = false;  // the last read found a device
  unsigned buttons = 0;
  float axes[kAxes] = {};  // slots 0-5 the axes X to V, slot 9 the hat
  int hits[kButtons] = {};
  int unplugs = 0;
  bool operator==(const JoystickPortState&) const = default;
};

// The sample whose read leaves a port as `state` has it (an absent device's reads all count
// as the same sample, the empty one).
JoystickSample SampleOfPort(const JoystickPortState& state);
// A sample as a change is judged: every read of an absent device is the empty sample.
JoystickSample NormalSample(const JoystickSample& sample);

// The polled-input tables as they are, and put back (polled_input.cpp). Main thread.
PolledInputState SavePolledInput();
void RestorePolledInput(const PolledInputState& state);
// A joystick port's state (ports 0-15; others read as absent and restore nothing) (joystick.cpp).
JoystickPortState SaveJoystickPort(int port);
void RestoreJoystickPort(int port, const JoystickPortState& state);

// Installs a recorder (empty functions: none). Recording and replaying exclude each other:
// installing one removes the other.
void SetInputRecorder(InputRecorder recorder);
void SetInputReplayer(InputReplayer replayer);
void ClearInputSeam();
bool InputReplaying();

// Pump points completed so far (the stamp of an event arriving now).
std::uint64_t InputPumpPoints();
// Puts an event into the polled-input tables as if the platform had sent it.
void ApplyInputEvent(const InputEventRecord& event);

// For polled_input.cpp and joystick.cpp: the seam's two sides.
const InputRecorder& CurrentInputRecorder();
const InputReplayer& CurrentInputReplayer();
