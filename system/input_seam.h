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
  // Supplies the next read of `port` in place of the device.
  std::function<void(int port, JoystickSample& sample)> joystick;
};

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
