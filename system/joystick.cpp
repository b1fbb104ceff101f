// joystick.cpp - the port table, the per-port state and the hit counting.
#include "system/joystick.h"

#include "core/main_thread.h"
#include "platform/joystick.h"
#include "system/input_seam.h"

namespace {

constexpr int kPortTable = 256;
constexpr int kAxisSlots = 16;
constexpr int kHatSlot = 9;

int port_device[kPortTable];  // all 0 until JoystickCount: port 0 reads device 0

static_assert(JoystickPortState::kAxes == kAxisSlots && JoystickPortState::kHat == kHatSlot &&
              JoystickPortState::kButtons == kJoyButtons);
JoystickPortState ports[kJoyPorts];

bool IsPort(int port) { return port >= 0 && port < kJoyPorts; }

float HatValue(unsigned hundredths) {
  return hundredths <= 36000 ? static_cast<float>(hundredths / 36000.0L) : -1.0f;
}

// The device's state now, as the queries report it.
JoystickSample ReadDevice(int port) {
  JoystickSample sample;
  PlatJoyCaps caps;
  PlatJoyPosition position;
  int device = port_device[port];
  if (!plat_joy_caps(device, &caps) || !plat_joy_read(device, &position)) return sample;
  sample.ok = true;
  sample.buttons = position.buttons;
  for (int a = 0; a < kPlatJoyAxes && a < JoystickSample::kValues - 1; ++a) {
    sample.values[a] = JoyAxisValue(position.axis[a], caps.axis_min[a], caps.axis_max[a]);
  }
  sample.values[JoystickSample::kValues - 1] = HatValue(position.hat);
  return sample;
}

void ReadPort(int port) {
  JoystickPortState& state = ports[port];
  unsigned before = state.buttons;
  // A replay supplies the reads in place of the device; a recorder hears of each.
  JoystickSample sample;
  if (CurrentInputReplayer().joystick) {
    if (CurrentInputReplayer().readsdevice) sample = ReadDevice(port);
    CurrentInputReplayer().joystick(port, sample);
  } else {
    sample = ReadDevice(port);
    if (CurrentInputRecorder().joystick) CurrentInputRecorder().joystick(port, sample);
  }
  if (!sample.ok) {
    // Pulled out: centred with nothing held, never a stuck button or a stick stuck at its end.
    if (state.present) {
      state.present = false;
      state.buttons = 0;
      for (float& axis : state.axes) axis = 0.0f;
      state.axes[kHatSlot] = -1.0f;
      ++state.unplugs;
    }
    return;
  }
  state.present = true;
  state.buttons = sample.buttons;
  for (int a = 0; a < JoystickSample::kValues - 1; ++a) state.axes[a] = sample.values[a];
  state.axes[kHatSlot] = sample.values[JoystickSample::kValues - 1];
  for (int b = 0; b < kJoyButtons; ++b) {
    unsigned bit = 1u << b;
    if (!(before & bit) && (state.buttons & bit)) ++state.hits[b];
  }
}

float Axis(int port, int slot) {
  if (!IsPort(port)) return 0.0f;
  ReadPort(port);
  return ports[port].axes[slot];
}

}  // namespace

float JoyAxisValue(unsigned position, unsigned minimum, unsigned maximum) {
  if (maximum == 0) return 0.0f;
  long double value = 2.0L * (static_cast<long double>(position) - minimum) / maximum - 1.0L;
  return static_cast<float>(value);
}

int JoystickCount() {
  ZX_CHECK_MAIN_THREAD();
  // A fresh count starts every port afresh: presses and pulls seen before it (in an earlier run
  // of the game in this process) are not this run's.
  for (JoystickPortState& state : ports) state = JoystickPortState{};
  int count = 0;
  int devices = plat_joy_device_count();
  for (int device = 0; device < devices && count < kPortTable; ++device) {
    PlatJoyPosition position;
    if (plat_joy_read(device, &position)) port_device[count++] = device;
  }
  return count;
}

std::string JoystickName(int port) {
  if (port < 0 || port >= kPortTable) return "";
  PlatJoyCaps caps;
  return plat_joy_caps(port_device[port], &caps) ? caps.name : "";
}

PadFamily JoystickPadFamily(int port) {
  ZX_CHECK_MAIN_THREAD();
  PlatJoyCaps caps;
  if (port < 0 || port >= kPortTable || !plat_joy_caps(port_device[port], &caps)) {
    return PadFamily::kNone;
  }
  // The system's list names the platform's families in its order, kNone first and kOther last.
  static_assert(static_cast<int>(PadFamily::kNone) == static_cast<int>(PlatPadFamily::kNone) &&
                static_cast<int>(PadFamily::kOther) == static_cast<int>(PlatPadFamily::kOther));
  return static_cast<PadFamily>(caps.family);
}

int JoyButtonHits(int button, int port) {
  ZX_CHECK_MAIN_THREAD();
  if (!IsPort(port) || button < 0 || button >= kJoyButtons) return 0;
  ReadPort(port);
  int hits = ports[port].hits[button];
  ports[port].hits[button] = 0;
  return hits;
}

int IsJoyButtonDown(int button, int port) {
  ZX_CHECK_MAIN_THREAD();
  if (!IsPort(port) || button < 0 || button >= kJoyButtons) return 0;
  ReadPort(port);
  return (ports[port].buttons >> button) & 1;
}

float JoyAxisX(int port) { return Axis(port, 0); }
float JoyAxisY(int port) { return Axis(port, 1); }
float JoyAxisZ(int port) { return Axis(port, 2); }
float JoyAxisR(int port) { return Axis(port, 3); }
float JoyAxisU(int port) { return Axis(port, 4); }
float JoyAxisV(int port) { return Axis(port, 5); }
float JoyHat(int port) { return Axis(port, kHatSlot); }

int JoyUnplugHits(int port) {
  ZX_CHECK_MAIN_THREAD();
  if (!IsPort(port)) return 0;
  ReadPort(port);
  int unplugs = ports[port].unplugs;
  ports[port].unplugs = 0;
  return unplugs;
}

JoystickSample SampleOfPort(const JoystickPortState& state) {
  JoystickSample sample;
  if (!state.present) return sample;
  sample.ok = true;
  sample.buttons = state.buttons;
  for (int a = 0; a < JoystickSample::kValues - 1; ++a) sample.values[a] = state.axes[a];
  sample.values[JoystickSample::kValues - 1] = state.axes[kHatSlot];
  return sample;
}

JoystickSample NormalSample(const JoystickSample& sample) {
  return sample.ok ? sample : JoystickSample{};
}

JoystickPortState SaveJoystickPort(int port) {
  ZX_CHECK_MAIN_THREAD();
  return IsPort(port) ? ports[port] : JoystickPortState{};
}

void RestoreJoystickPort(int port, const JoystickPortState& state) {
  ZX_CHECK_MAIN_THREAD();
  if (IsPort(port)) ports[port] = state;
}
