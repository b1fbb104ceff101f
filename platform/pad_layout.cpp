// pad_layout.cpp - mapped pads in the shared layout: SDL names the controls, we number them.
#include "platform/pad_layout.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Button n of the layout is the mapped button at position n. Y sits after the four the game
// reads, so that the face button beside fire never quits; Start, last, is a button of its own
// (the game pauses on it whatever button its pause has).
constexpr SDL_GameControllerButton kLayoutButtons[] = {
    SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_GUIDE,
    SDL_CONTROLLER_BUTTON_START,
};
constexpr int kLayoutButtonCount = sizeof kLayoutButtons / sizeof kLayoutButtons[0];

constexpr SDL_GameControllerAxis kLayoutAxes[kPlatJoyAxes] = {
    SDL_CONTROLLER_AXIS_LEFTX,  SDL_CONTROLLER_AXIS_LEFTY,       SDL_CONTROLLER_AXIS_RIGHTX,
    SDL_CONTROLLER_AXIS_RIGHTY, SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT,
};
constexpr int kTriggerU = 4, kTriggerV = 5;

unsigned StickPosition(double value) {
  long offset = std::lround(value * kStickCentre / kStickEnd);
  return static_cast<unsigned>(std::clamp<long>(kStickCentre + offset, 0, kStickMax));
}

bool Pressed(SDL_GameController* pad, SDL_GameControllerButton button) {
  return SDL_GameControllerGetButton(pad, button) != 0;
}

// -1, 0 or 1 for a pair of opposite D-pad buttons; both held cancel out.
int DpadDirection(SDL_GameController* pad, SDL_GameControllerButton minus,
                  SDL_GameControllerButton plus) {
  return static_cast<int>(Pressed(pad, plus)) - static_cast<int>(Pressed(pad, minus));
}

unsigned DpadHat(int dx, int dy) {
  static const unsigned kHundredths[3][3] = {
      // dx = -1, 0, 1
      {31500, 0, 4500},                   // dy = -1 (forward)
      {27000, kPlatJoyHatCentred, 9000},  // dy = 0
      {22500, 18000, 13500},              // dy = 1 (back)
  };
  return kHundredths[dy + 1][dx + 1];
}

PlatPadFamily Family(SDL_GameController* pad) {
  switch (SDL_GameControllerGetType(pad)) {
    case SDL_CONTROLLER_TYPE_XBOX360:
      return PlatPadFamily::kXbox360;
    case SDL_CONTROLLER_TYPE_XBOXONE:
      return PlatPadFamily::kXboxOne;
    case SDL_CONTROLLER_TYPE_PS3:
      return PlatPadFamily::kPlayStation3;
    case SDL_CONTROLLER_TYPE_PS4:
      return PlatPadFamily::kPlayStation4;
    case SDL_CONTROLLER_TYPE_PS5:
      return PlatPadFamily::kPlayStation5;
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_LEFT:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_RIGHT:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR:
      return PlatPadFamily::kNintendo;
    default:
      return PlatPadFamily::kOther;
  }
}

}  // namespace

int PadLayoutButton(int button) {
  return button >= 0 && button < kLayoutButtonCount ? kLayoutButtons[button] : -1;
}

void CalibrateStick(int x, int y, unsigned* position_x, unsigned* position_y) {
  double fx = std::clamp(x, -32767, 32767);
  double fy = std::clamp(y, -32767, 32767);
  // A round gate reaches only about 71 percent on each axis at a diagonal: stretching each
  // direction by its length over its longer axis maps the circle onto the square.
  double longer = std::max(std::abs(fx), std::abs(fy));
  if (longer > 0) {
    double stretch = std::hypot(fx, fy) / longer;
    fx *= stretch;
    fy *= stretch;
  }
  *position_x = StickPosition(fx);
  *position_y = StickPosition(fy);
}

void PadCaps(SDL_GameController* pad, PlatJoyCaps* caps) {
  const char* name = SDL_GameControllerName(pad);
  caps->name = name ? name : "";
  caps->layout = PlatJoyLayout::Gamepad;
  caps->family = Family(pad);
  for (int a = 0; a < kPlatJoyAxes; ++a) {
    caps->axis_min[a] = 0;
    caps->axis_max[a] = SDL_GameControllerHasAxis(pad, kLayoutAxes[a]) ? kStickMax : 0;
  }
  caps->buttons = kLayoutButtonCount;
  caps->has_hat = SDL_GameControllerHasButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP) ||
                  SDL_GameControllerHasButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
}

void PadRead(SDL_GameController* pad, PlatJoyPosition* position) {
  position->buttons = 0;
  for (int b = 0; b < kLayoutButtonCount; ++b) {
    if (Pressed(pad, kLayoutButtons[b])) position->buttons |= 1u << b;
  }

  CalibrateStick(SDL_GameControllerGetAxis(pad, kLayoutAxes[0]),
                 SDL_GameControllerGetAxis(pad, kLayoutAxes[1]), &position->axis[0],
                 &position->axis[1]);
  CalibrateStick(SDL_GameControllerGetAxis(pad, kLayoutAxes[2]),
                 SDL_GameControllerGetAxis(pad, kLayoutAxes[3]), &position->axis[2],
                 &position->axis[3]);
  for (int a : {kTriggerU, kTriggerV}) {
    int pull = std::clamp<int>(SDL_GameControllerGetAxis(pad, kLayoutAxes[a]), 0, 32767);
    position->axis[a] = static_cast<unsigned>(2 * pull);
  }

  // The D-pad steers as a stick held at its ends does.
  int dx = DpadDirection(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  int dy = DpadDirection(pad, SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  if (dx != 0) position->axis[0] = dx < 0 ? 0 : kStickMax;
  if (dy != 0) position->axis[1] = dy < 0 ? 0 : kStickMax;
  position->hat = DpadHat(dx, dy);
}
