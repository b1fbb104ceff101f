// replay_input.cpp - the items of a game's input stream, written and read.
#include "game/replay/replay_input.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "system/event.h"

namespace {

enum class InputTag : std::uint8_t {
  kEndFrame = 0,
  kEvent = 1,      // stamp, id, data, x, y: any event
  kMouseMove = 2,  // stamp, x and y as steps from the previous move
  kKeyDown = 3,    // stamp, key (an event with x and y 0)
  kKeyUp = 4,
  kMouseDown = 5,  // stamp, button, x and y as steps from the pointer
  kMouseUp = 6,
  kJoystick = 7,  // read, port, the fields that changed (bit 0 ok, 1 buttons, 2.. each value)
  kCheck = 8,     // the state hash, eight bytes
  kEndTail = 9,
};

constexpr unsigned kAllFields = (1u << (2 + JoystickSample::kValues)) - 1;

std::uint32_t FloatBits(float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

}  // namespace

// --- writing ---------------------------------------------------------------------------------

void ReplayInputWriter::Stamp(std::uint32_t stamp) {
  // Stamps come in order; one out of order would be written as a step of 0.
  out_.Unsigned(stamp >= stamp_ ? stamp - stamp_ : 0);
  if (stamp > stamp_) stamp_ = stamp;
}

void ReplayInputWriter::Event(std::uint32_t stamp, const InputEventRecord& event) {
  if (event.id == EVENT_MOUSEMOVE) {
    if (moved_ && stamp == movestamp_) {
      // Taken at the same pump point as the move before it: only this one was ever seen.
      out_.out.resize(moveat_);
      stamp_ = stampbefore_;
      mousex_ = movebasex_;
      mousey_ = movebasey_;
    }
    moved_ = true;
    moveat_ = out_.out.size();
    movestamp_ = stamp;
    stampbefore_ = stamp_;
    movebasex_ = mousex_;
    movebasey_ = mousey_;
    Tag(static_cast<std::uint8_t>(InputTag::kMouseMove));
    Stamp(stamp);
    out_.Signed(static_cast<std::int64_t>(event.x) - mousex_);
    out_.Signed(static_cast<std::int64_t>(event.y) - mousey_);
    mousex_ = event.x;
    mousey_ = event.y;
    return;
  }
  moved_ = false;
  const bool key = event.id == EVENT_KEYDOWN || event.id == EVENT_KEYUP;
  const bool button = event.id == EVENT_MOUSEDOWN || event.id == EVENT_MOUSEUP;
  if ((key && event.data >= 0 && event.x == 0 && event.y == 0) || (button && event.data >= 0)) {
    const InputTag tag = event.id == EVENT_KEYDOWN   ? InputTag::kKeyDown
                         : event.id == EVENT_KEYUP   ? InputTag::kKeyUp
                         : event.id == EVENT_MOUSEUP ? InputTag::kMouseUp
                                                     : InputTag::kMouseDown;
    Tag(static_cast<std::uint8_t>(tag));
    Stamp(stamp);
    out_.Unsigned(static_cast<std::uint64_t>(event.data));
    if (button) {
      out_.Signed(static_cast<std::int64_t>(event.x) - mousex_);
      out_.Signed(static_cast<std::int64_t>(event.y) - mousey_);
    }
    return;
  }
  Tag(static_cast<std::uint8_t>(InputTag::kEvent));
  Stamp(stamp);
  out_.Signed(event.id);
  out_.Signed(event.data);
  out_.Signed(event.x);
  out_.Signed(event.y);
}

void ReplayInputWriter::Joystick(std::uint32_t read, int port, const JoystickSample& raw) {
  if (port < 0 || port >= kReplayPorts) return;
  moved_ = false;
  const JoystickSample sample = NormalSample(raw);
  JoystickSample& last = last_[port];
  unsigned mask = 0;
  if (sample.ok != last.ok) mask |= 1;
  if (sample.buttons != last.buttons) mask |= 2;
  for (int v = 0; v < JoystickSample::kValues; ++v) {
    if (FloatBits(sample.values[v]) != FloatBits(last.values[v])) mask |= 4u << v;
  }
  Tag(static_cast<std::uint8_t>(InputTag::kJoystick));
  out_.Unsigned(read >= nextread_ ? read - nextread_ : 0);
  nextread_ = (read >= nextread_ ? read : nextread_) + 1;
  out_.Byte(static_cast<std::uint8_t>(port));
  out_.Unsigned(mask);
  if (mask & 1) out_.Byte(sample.ok ? 1 : 0);
  if (mask & 2) out_.Unsigned(sample.buttons);
  for (int v = 0; v < JoystickSample::kValues; ++v) {
    if (!(mask & (4u << v))) continue;
    const std::uint32_t bits = FloatBits(sample.values[v]);
    for (int i = 0; i < 4; ++i) out_.Byte(static_cast<std::uint8_t>(bits >> (8 * i)));
  }
  last = sample;
}

void ReplayInputWriter::Check(std::uint64_t hash) {
  moved_ = false;
  Tag(static_cast<std::uint8_t>(InputTag::kCheck));
  for (int i = 0; i < 8; ++i) out_.Byte(static_cast<std::uint8_t>(hash >> (8 * i)));
}

void ReplayInputWriter::EndFrame() {
  Tag(static_cast<std::uint8_t>(InputTag::kEndFrame));
  ++frames_;
  moved_ = false;
  stamp_ = 0;
  nextread_ = 0;
}

void ReplayInputWriter::EndTail() {
  Tag(static_cast<std::uint8_t>(InputTag::kEndTail));
  moved_ = false;
}

void ReplayInputWriter::Frame(const ReplayFrame& frame) {
  for (const ReplayEvent& e : frame.events) Event(e.stamp, e.event);
  for (const ReplayJoystickChange& j : frame.joystick) Joystick(j.read, j.port, j.sample);
  if (frame.check) Check(*frame.check);
}

// --- reading ---------------------------------------------------------------------------------

std::uint32_t ReplayInputReader::Stamp(std::uint32_t previous) {
  return previous + static_cast<std::uint32_t>(in_.Unsigned(UINT32_MAX - previous));
}

int ReplayInputReader::Offset(int base) {
  const std::int64_t v = static_cast<std::int64_t>(base) + in_.Signed();
  if (v < INT_MIN || v > INT_MAX) in_.bad = true;
  return in_.bad ? 0 : static_cast<int>(v);
}

ReplayInputReader::Item ReplayInputReader::Next(ReplayFrame& frame) {
  frame = ReplayFrame{};
  if (done_) return Item::kBad;
  std::uint32_t stamp = 0, nextread = 0;
  while (!in_.bad) {
    if (frame.events.size() + frame.joystick.size() > kReplayFrameItems) in_.bad = true;
    const auto tag = static_cast<InputTag>(in_.Byte());
    if (in_.bad) break;
    switch (tag) {
      case InputTag::kEndFrame:
        return Item::kFrame;
      case InputTag::kEndTail:
        done_ = true;
        if (frame.check) in_.bad = true;
        return in_.bad || !in_.AtEnd() ? Item::kBad : Item::kTail;
      case InputTag::kEvent: {
        ReplayEvent e;
        e.stamp = stamp = Stamp(stamp);
        e.event.id = in_.Int();
        e.event.data = in_.Int();
        e.event.x = in_.Int();
        e.event.y = in_.Int();
        if (e.event.id == EVENT_MOUSEMOVE) {
          mousex_ = e.event.x;
          mousey_ = e.event.y;
        }
        frame.events.push_back(e);
        break;
      }
      case InputTag::kMouseMove: {
        ReplayEvent e;
        e.stamp = stamp = Stamp(stamp);
        e.event.id = EVENT_MOUSEMOVE;
        e.event.x = mousex_ = Offset(mousex_);
        e.event.y = mousey_ = Offset(mousey_);
        frame.events.push_back(e);
        break;
      }
      case InputTag::kKeyDown:
      case InputTag::kKeyUp:
      case InputTag::kMouseDown:
      case InputTag::kMouseUp: {
        ReplayEvent e;
        e.stamp = stamp = Stamp(stamp);
        e.event.id = tag == InputTag::kKeyDown     ? EVENT_KEYDOWN
                     : tag == InputTag::kKeyUp     ? EVENT_KEYUP
                     : tag == InputTag::kMouseDown ? EVENT_MOUSEDOWN
                                                   : EVENT_MOUSEUP;
        const std::uint64_t data = in_.Unsigned();
        if (data > INT_MAX) in_.bad = true;
        e.event.data = static_cast<int>(data & INT_MAX);
        if (tag == InputTag::kMouseDown || tag == InputTag::kMouseUp) {
          e.event.x = Offset(mousex_);
          e.event.y = Offset(mousey_);
        }
        frame.events.push_back(e);
        break;
      }
      case InputTag::kJoystick: {
        ReplayJoystickChange j;
        const std::uint64_t step = in_.Unsigned();
        if (step > UINT32_MAX - 1 - nextread) {
          in_.bad = true;
          break;
        }
        j.read = nextread + static_cast<std::uint32_t>(step);
        nextread = j.read + 1;
        j.port = in_.Byte();
        if (j.port >= kReplayPorts) {
          in_.bad = true;
          break;
        }
        const std::uint64_t mask = in_.Unsigned();
        if (mask > kAllFields) {
          in_.bad = true;
          break;
        }
        JoystickSample sample = last_[j.port];
        if (mask & 1) {
          const std::uint8_t ok = in_.Byte();
          if (ok > 1) in_.bad = true;
          sample.ok = ok == 1;
        }
        if (mask & 2) {
          const std::uint64_t buttons = in_.Unsigned();
          if (buttons > UINT32_MAX) in_.bad = true;
          sample.buttons = static_cast<unsigned>(buttons);
        }
        for (int v = 0; v < JoystickSample::kValues; ++v) {
          if (!(mask & (4u << v))) continue;
          std::uint32_t bits = 0;
          for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(in_.Byte()) << (8 * i);
          std::memcpy(&sample.values[v], &bits, sizeof bits);
          // A device reads finite values; anything else is no recording.
          if (!std::isfinite(sample.values[v])) in_.bad = true;
        }
        // An absent device's reads are all the one empty sample.
        if (!(sample == NormalSample(sample))) in_.bad = true;
        last_[j.port] = sample;
        j.sample = sample;
        frame.joystick.push_back(j);
        break;
      }
      case InputTag::kCheck: {
        if (frame.check) in_.bad = true;
        std::uint64_t hash = 0;
        for (int i = 0; i < 8; ++i) hash |= static_cast<std::uint64_t>(in_.Byte()) << (8 * i);
        frame.check = hash;
        break;
      }
      default:
        in_.bad = true;
        break;
    }
  }
  done_ = true;
  return Item::kBad;
}

bool DecodeReplayInput(const std::vector<std::uint8_t>& bytes, std::vector<ReplayFrame>& frames,
                       ReplayFrame& tail) {
  ReplayInputReader reader(bytes.data(), bytes.size());
  frames.clear();
  for (;;) {
    ReplayFrame frame;
    switch (reader.Next(frame)) {
      case ReplayInputReader::Item::kFrame:
        frames.push_back(std::move(frame));
        break;
      case ReplayInputReader::Item::kTail:
        tail = std::move(frame);
        return true;
      case ReplayInputReader::Item::kBad:
        return false;
    }
  }
}

std::vector<std::uint8_t> EncodeReplayInput(const std::vector<ReplayFrame>& frames,
                                            const ReplayFrame& tail) {
  ReplayInputWriter writer;
  for (const ReplayFrame& frame : frames) {
    writer.Frame(frame);
    writer.EndFrame();
  }
  ReplayFrame last = tail;
  last.check.reset();
  writer.Frame(last);
  writer.EndTail();
  return writer.TakeBytes();
}
