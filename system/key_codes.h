// key_codes.h - names for the key codes of key events and polled input.
//
// A key's code is its Windows virtual-key number, as the platform layer's messages carry it
// (platform/keymap.cpp keeps its own table of the numbers, since platform/ includes nothing from
// above). Shift, Control and Alt have a code for either side (kShift, kControl, kAlt), which
// the platform reports, and one for each side (kLeftShift ... kRightAlt), which the translator
// makes of them and the key events and polled input carry. Letters and digits are their ASCII
// capitals and digits ('A', '7').
#pragma once

enum class KeyCode : int {
  kBackspace = 8,
  kTab = 9,
  kEnter = 13,
  kShift = 16,
  kControl = 17,
  kAlt = 18,
  kEscape = 27,
  kSpace = 32,
  kHome = 36,
  kLeft = 37,
  kUp = 38,
  kRight = 39,
  kDown = 40,
  kDelete = 46,
  kLeftWindows = 91,
  kRightWindows = 92,
  kF1 = 112,
  kF2 = 113,
  kF3 = 114,
  kF4 = 115,
  kF5 = 116,
  kF6 = 117,
  kF7 = 118,
  kF8 = 119,
  kF9 = 120,
  kF10 = 121,
  kF11 = 122,
  kF12 = 123,
  kLeftShift = 160,
  kRightShift = 161,
  kLeftControl = 162,
  kRightControl = 163,
  kLeftAlt = 164,
  kRightAlt = 165,
  kComma = 188,
  kPeriod = 190,
};

// The number KeyHits, IsKeyDown and key events use for a key.
constexpr int Key(KeyCode code) { return static_cast<int>(code); }
