// menu.cpp - the shared rows, their input and their drawing.
#include "game/screens/menu.h"

#include <cmath>

#include "game/config/joystick_buttons.h"
#include "game/play/anaglyph.h"
#include "game/play/globals.h"
#include "graphics/draw2d.h"
#include "graphics/font.h"
#include "graphics/graphics.h"
#include "graphics/image_draw.h"
#include "system/joystick.h"
#include "system/key_codes.h"
#include "system/polled_input.h"

namespace {

constexpr int kRepeatAfter = 18;  // frames a direction is held before it repeats
constexpr int kRepeatEvery = 5;
constexpr float kStickGate = 0.5f;

}  // namespace

int MenuRows::At(int y) const {
  for (int row = 0; row < count; ++row) {
    if (std::fabs(static_cast<float>(y) - Y(row)) <= step / 2) return row;
  }
  return -1;
}

void MenuInput::Begin() {
  ClearKeys();
  ClearMouse();
  for (int button = 0; button < kJoyButtons; ++button) JoyButtonHits(button, kGameJoystickPort);
  x_stick_.Hold(JoyAxisX(kGameJoystickPort));
  y_stick_.Hold(JoyAxisY(kGameJoystickPort));
  wheel_ = WheelTotal();
  mouse_x_ = MousePosX();
  mouse_y_ = MousePosY();
}

void HeldStick::Hold(float axis) {
  dir = axis <= -kStickGate ? -1 : axis >= kStickGate ? 1 : 0;
  held = -1000000;
}

int HeldStick::Step(float axis) {
  const int now = axis <= -kStickGate ? -1 : axis >= kStickGate ? 1 : 0;
  if (now != dir) {
    dir = now;
    held = 0;
    return now;
  }
  if (now == 0) return 0;
  ++held;
  return held >= kRepeatAfter && (held - kRepeatAfter) % kRepeatEvery == 0 ? now : 0;
}

int MovedSelection(const MenuRows& rows, int row, MenuAction action) {
  if (action == MenuAction::kUp) return (row + rows.count - 1) % rows.count;
  if (action == MenuAction::kDown) return (row + 1) % rows.count;
  return row;
}

MenuAction MenuInput::Select(const MenuRows& rows, int& selected) {
  const MenuCommand command = Read(rows);
  if (command.pointed >= 0) selected = command.pointed;
  if (command.action != MenuAction::kUp && command.action != MenuAction::kDown) {
    return command.action;
  }
  selected = MovedSelection(rows, selected, command.action);
  return MenuAction::kNone;
}

MenuCommand MenuInput::Read(const MenuRows& rows) {
  MenuCommand command;
  auto set = [&command](MenuAction action) {
    if (command.action == MenuAction::kNone) command.action = action;
  };
  if (KeyHits(Key(KeyCode::kEscape)) || KeyHits(Key(KeyCode::kBackspace)) ||
      JoyButtonHits(kMenuBackButton, kGameJoystickPort) ||
      JoyButtonHits(kMenuPadBackButton, kGameJoystickPort) || MouseHits(2)) {
    set(MenuAction::kBack);
  }
  if (KeyHits(Key(KeyCode::kEnter)) || KeyHits(Key(KeyCode::kSpace)) ||
      JoyButtonHits(kMenuChooseButton, kGameJoystickPort)) {
    set(MenuAction::kChoose);
  }
  if (KeyHits(Key(KeyCode::kUp))) set(MenuAction::kUp);
  if (KeyHits(Key(KeyCode::kDown))) set(MenuAction::kDown);
  if (KeyHits(Key(KeyCode::kLeft))) set(MenuAction::kLeft);
  if (KeyHits(Key(KeyCode::kRight))) set(MenuAction::kRight);
  const int dy = y_stick_.Step(JoyAxisY(kGameJoystickPort));
  if (dy != 0) set(dy < 0 ? MenuAction::kUp : MenuAction::kDown);
  const int dx = x_stick_.Step(JoyAxisX(kGameJoystickPort));
  if (dx != 0) set(dx < 0 ? MenuAction::kLeft : MenuAction::kRight);
  const int wheel = WheelTotal();
  if (wheel != wheel_) {
    set(wheel > wheel_ ? MenuAction::kUp : MenuAction::kDown);
    wheel_ = wheel;
  }
  const int x = MousePosX(), y = MousePosY();
  if (x != mouse_x_ || y != mouse_y_) {
    mouse_x_ = x;
    mouse_y_ = y;
    command.pointed = rows.At(y);
  }
  if (MouseHits(1)) {
    const int row = rows.At(y);
    if (row >= 0) {
      command.pointed = row;
      command.action = MenuAction::kChoose;
    }
  }
  return command;
}

void DrawMenuBackdrop(const Ref<TImage>& backdrop, float footer_top) {
  SetBlend(BLEND_SOLID);
  if (backdrop) PaintImage(backdrop, 0, 0, 0);
  SetBlend(BLEND_ALPHA);
  SetColor(0, 0, 0);
  SetAlpha(0.75f);
  DrawRect(80, 40, 480, footer_top - 40);
  SetAlpha(1);
  // Under the footer nothing of the backdrop shows: the title's own lines would stand between
  // the footer's, dimmed but readable.
  DrawRect(80, footer_top, 480, 480 - footer_top);
  SetColor(255, 255, 255);
}

void DrawMenuText(const std::string& text, float y, bool selected) {
  const std::string shown = selected ? "> " + text + " <" : text;
  drawtext3d(shown, 320, y, 2, 0, 1, 1, 4, selected ? 1.0f : 0.8f, 0, 255, 255, 255, 0, true);
}

void DrawMenuTextAt(const std::string& text, float x, float y) {
  const float top = y - static_cast<float>(MeasureTextHeight(text)) / 2;
  drawtext3d(text, x, top, 2, 0, 1, 1, 4, 0.8f, 0, 255, 255, 255, 0, false);
}

bool FinishMenuPass() {
  SetColor(255, 255, 255);
  FlipScreen(-1);
  if (AppCloseRequested()) {
    program.quitflag = 1;
    return false;
  }
  return true;
}
