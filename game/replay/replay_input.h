// replay_input.h - one game's input, frame by frame, as the compact bytes a replay keeps.
//
// A frame (one flip of the screen) holds the events the polled-input tables took, each stamped
// with the pump point it reached them at (system/input_seam.h), the joystick reads whose answer
// changed, each stamped with its place among the frame's reads, and every 60th frame a check, the
// game's state hash at its flip. After the last flip comes the tail: the input read before the
// program ended.
//
// The bytes are a stream of items, each a tag and variable-length integers: stamps as the step
// from the frame's previous one, pointer moves as the step from the previous position, keys and
// buttons by their code alone, a joystick change as the fields that differ from that port's
// previous change. A frame with nothing in it is one byte, a frame with a pointer move about five,
// so an hour of play keeps about a megabyte. Pointer moves that reached the tables at the same pump
// point, one after another, are kept as the last of them: no query could see the others.
//
// The writer and the reader are plain values, for the recorder (replay.cpp), the file (which
// checks every game's bytes when it is read) and the player. Any thread, one user at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "game/replay/replay_bytes.h"
#include "system/input_seam.h"

inline constexpr int kReplayCheckEvery = 60;  // frames between state checks
inline constexpr int kReplayPorts = 16;       // joystick ports a replay can hold
// The most events and joystick changes one frame may hold: far more than any player makes, and a
// bound on what a damaged file can make the reader hold at once.
inline constexpr std::size_t kReplayFrameItems = 1 << 20;

struct ReplayEvent {
  std::uint32_t stamp = 0;  // pump points since the frame began when the tables took it
  InputEventRecord event;
  bool operator==(const ReplayEvent&) const = default;
};

// A joystick read whose answer differs from the port's previous read.
struct ReplayJoystickChange {
  std::uint32_t read = 0;  // which of the frame's joystick reads (all ports), from 0
  int port = 0;
  JoystickSample sample;  // as NormalSample gives it
  bool operator==(const ReplayJoystickChange&) const = default;
};

struct ReplayFrame {
  std::vector<ReplayEvent> events;             // stamps never decrease
  std::vector<ReplayJoystickChange> joystick;  // reads strictly increase
  std::optional<std::uint64_t> check;          // the state hash at this frame's flip
  bool operator==(const ReplayFrame&) const = default;
};

class ReplayInputWriter {
 public:
  // An event that reached the tables `stamp` pump points into the current frame.
  void Event(std::uint32_t stamp, const InputEventRecord& event);
  // The `read`th joystick read of the current frame gave `sample` (normalised), which differs
  // from its port's previous read.
  void Joystick(std::uint32_t read, int port, const JoystickSample& sample);
  void Check(std::uint64_t hash);
  // Ends the current frame; what follows belongs to the next.
  void EndFrame();
  // Ends the stream: what came since the last EndFrame is the tail. Nothing may follow.
  void EndTail();
  // A whole decoded frame, as the items above (for tests and tools).
  void Frame(const ReplayFrame& frame);

  std::uint32_t Frames() const { return frames_; }
  std::size_t Size() const { return out_.out.size(); }
  std::vector<std::uint8_t> TakeBytes() { return std::move(out_.out); }

 private:
  void Tag(std::uint8_t tag) { out_.Byte(tag); }
  void Stamp(std::uint32_t stamp);

  ReplayBytesOut out_;
  std::uint32_t frames_ = 0;
  std::uint32_t stamp_ = 0;     // the frame's previous event's stamp
  std::uint32_t nextread_ = 0;  // the frame's previous change's read + 1
  int mousex_ = 0, mousey_ = 0;
  JoystickSample last_[kReplayPorts] = {};
  // The frame's last item, while it is a pointer move: where it starts and what it was relative
  // to, so that a move at the same pump point can take its place.
  bool moved_ = false;
  std::size_t moveat_ = 0;
  std::uint32_t movestamp_ = 0, stampbefore_ = 0;
  int movebasex_ = 0, movebasey_ = 0;
};

class ReplayInputReader {
 public:
  ReplayInputReader(const std::uint8_t* data, std::size_t size) : in_(data, size) {}
  enum class Item { kFrame, kTail, kBad };
  // The next frame, or the tail (after which the stream must be at its end), into `frame`.
  Item Next(ReplayFrame& frame);

 private:
  std::uint32_t Stamp(std::uint32_t previous);
  int Offset(int base);

  ReplayBytesIn in_;
  bool done_ = false;
  int mousex_ = 0, mousey_ = 0;
  JoystickSample last_[kReplayPorts] = {};
};

// Every frame of a stream and its tail; false when the bytes do not make one.
bool DecodeReplayInput(const std::vector<std::uint8_t>& bytes, std::vector<ReplayFrame>& frames,
                       ReplayFrame& tail);
// The bytes of `frames` and `tail` (whose check, if any, is dropped).
std::vector<std::uint8_t> EncodeReplayInput(const std::vector<ReplayFrame>& frames,
                                            const ReplayFrame& tail);
