// keymap.cpp - the table between SDL scancodes and Windows virtual-key and scan codes.
#include "platform/keymap.h"

#include <SDL.h>

namespace {

struct KeyRow {
  SDL_Scancode sdl;
  int vkey;
  int scancode;
  bool extended;
};

// Left and right keys of a pair come left first, so that the reverse lookup of a shared
// virtual-key code (16, 17, 18) finds the left key.
constexpr KeyRow kKeys[] = {
    {SDL_SCANCODE_A, 'A', 0x1E, false},
    {SDL_SCANCODE_B, 'B', 0x30, false},
    {SDL_SCANCODE_C, 'C', 0x2E, false},
    {SDL_SCANCODE_D, 'D', 0x20, false},
    {SDL_SCANCODE_E, 'E', 0x12, false},
    {SDL_SCANCODE_F, 'F', 0x21, false},
    {SDL_SCANCODE_G, 'G', 0x22, false},
    {SDL_SCANCODE_H, 'H', 0x23, false},
    {SDL_SCANCODE_I, 'I', 0x17, false},
    {SDL_SCANCODE_J, 'J', 0x24, false},
    {SDL_SCANCODE_K, 'K', 0x25, false},
    {SDL_SCANCODE_L, 'L', 0x26, false},
    {SDL_SCANCODE_M, 'M', 0x32, false},
    {SDL_SCANCODE_N, 'N', 0x31, false},
    {SDL_SCANCODE_O, 'O', 0x18, false},
    {SDL_SCANCODE_P, 'P', 0x19, false},
    {SDL_SCANCODE_Q, 'Q', 0x10, false},
    {SDL_SCANCODE_R, 'R', 0x13, false},
    {SDL_SCANCODE_S, 'S', 0x1F, false},
    {SDL_SCANCODE_T, 'T', 0x14, false},
    {SDL_SCANCODE_U, 'U', 0x16, false},
    {SDL_SCANCODE_V, 'V', 0x2F, false},
    {SDL_SCANCODE_W, 'W', 0x11, false},
    {SDL_SCANCODE_X, 'X', 0x2D, false},
    {SDL_SCANCODE_Y, 'Y', 0x15, false},
    {SDL_SCANCODE_Z, 'Z', 0x2C, false},
    {SDL_SCANCODE_1, '1', 0x02, false},
    {SDL_SCANCODE_2, '2', 0x03, false},
    {SDL_SCANCODE_3, '3', 0x04, false},
    {SDL_SCANCODE_4, '4', 0x05, false},
    {SDL_SCANCODE_5, '5', 0x06, false},
    {SDL_SCANCODE_6, '6', 0x07, false},
    {SDL_SCANCODE_7, '7', 0x08, false},
    {SDL_SCANCODE_8, '8', 0x09, false},
    {SDL_SCANCODE_9, '9', 0x0A, false},
    {SDL_SCANCODE_0, '0', 0x0B, false},
    {SDL_SCANCODE_RETURN, 13, 0x1C, false},
    {SDL_SCANCODE_ESCAPE, 27, 0x01, false},
    {SDL_SCANCODE_BACKSPACE, 8, 0x0E, false},
    {SDL_SCANCODE_TAB, 9, 0x0F, false},
    {SDL_SCANCODE_SPACE, 32, 0x39, false},
    {SDL_SCANCODE_MINUS, 189, 0x0C, false},
    {SDL_SCANCODE_EQUALS, 187, 0x0D, false},
    {SDL_SCANCODE_LEFTBRACKET, 219, 0x1A, false},
    {SDL_SCANCODE_RIGHTBRACKET, 221, 0x1B, false},
    {SDL_SCANCODE_BACKSLASH, 220, 0x2B, false},
    {SDL_SCANCODE_SEMICOLON, 186, 0x27, false},
    {SDL_SCANCODE_APOSTROPHE, 222, 0x28, false},
    {SDL_SCANCODE_GRAVE, 192, 0x29, false},
    {SDL_SCANCODE_COMMA, 188, 0x33, false},
    {SDL_SCANCODE_PERIOD, 190, 0x34, false},
    {SDL_SCANCODE_SLASH, 191, 0x35, false},
    {SDL_SCANCODE_CAPSLOCK, 20, 0x3A, false},
    {SDL_SCANCODE_F1, 112, 0x3B, false},
    {SDL_SCANCODE_F2, 113, 0x3C, false},
    {SDL_SCANCODE_F3, 114, 0x3D, false},
    {SDL_SCANCODE_F4, 115, 0x3E, false},
    {SDL_SCANCODE_F5, 116, 0x3F, false},
    {SDL_SCANCODE_F6, 117, 0x40, false},
    {SDL_SCANCODE_F7, 118, 0x41, false},
    {SDL_SCANCODE_F8, 119, 0x42, false},
    {SDL_SCANCODE_F9, 120, 0x43, false},
    {SDL_SCANCODE_F10, 121, 0x44, false},
    {SDL_SCANCODE_F11, 122, 0x57, false},
    {SDL_SCANCODE_F12, 123, 0x58, false},
    {SDL_SCANCODE_SCROLLLOCK, 145, 0x46, false},
    {SDL_SCANCODE_PAUSE, 19, 0x45, false},
    {SDL_SCANCODE_INSERT, 45, 0x52, true},
    {SDL_SCANCODE_HOME, 36, 0x47, true},
    {SDL_SCANCODE_PAGEUP, 33, 0x49, true},
    {SDL_SCANCODE_DELETE, 46, 0x53, true},
    {SDL_SCANCODE_END, 35, 0x4F, true},
    {SDL_SCANCODE_PAGEDOWN, 34, 0x51, true},
    {SDL_SCANCODE_RIGHT, 39, 0x4D, true},
    {SDL_SCANCODE_LEFT, 37, 0x4B, true},
    {SDL_SCANCODE_DOWN, 40, 0x50, true},
    {SDL_SCANCODE_UP, 38, 0x48, true},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144, 0x45, true},
    {SDL_SCANCODE_KP_DIVIDE, 111, 0x35, true},
    {SDL_SCANCODE_KP_MULTIPLY, 106, 0x37, false},
    {SDL_SCANCODE_KP_MINUS, 109, 0x4A, false},
    {SDL_SCANCODE_KP_PLUS, 107, 0x4E, false},
    {SDL_SCANCODE_KP_ENTER, 13, 0x1C, true},
    {SDL_SCANCODE_KP_1, 97, 0x4F, false},
    {SDL_SCANCODE_KP_2, 98, 0x50, false},
    {SDL_SCANCODE_KP_3, 99, 0x51, false},
    {SDL_SCANCODE_KP_4, 100, 0x4B, false},
    {SDL_SCANCODE_KP_5, 101, 0x4C, false},
    {SDL_SCANCODE_KP_6, 102, 0x4D, false},
    {SDL_SCANCODE_KP_7, 103, 0x47, false},
    {SDL_SCANCODE_KP_8, 104, 0x48, false},
    {SDL_SCANCODE_KP_9, 105, 0x49, false},
    {SDL_SCANCODE_KP_0, 96, 0x52, false},
    {SDL_SCANCODE_KP_PERIOD, 110, 0x53, false},
    {SDL_SCANCODE_APPLICATION, 93, 0x5D, true},
    {SDL_SCANCODE_LSHIFT, 16, 0x2A, false},
    {SDL_SCANCODE_RSHIFT, 16, 0x36, false},
    {SDL_SCANCODE_LCTRL, 17, 0x1D, false},
    {SDL_SCANCODE_RCTRL, 17, 0x1D, true},
    {SDL_SCANCODE_LALT, 18, 0x38, false},
    {SDL_SCANCODE_RALT, 18, 0x38, true},
    {SDL_SCANCODE_LGUI, 91, 0x5B, true},
    {SDL_SCANCODE_RGUI, 92, 0x5C, true},
};

// The side-specific codes Windows gives the modifier keys, for the reverse lookup.
struct SidedKey {
  int vkey;
  SDL_Scancode sdl;
};
constexpr SidedKey kSided[] = {
    {160, SDL_SCANCODE_LSHIFT}, {161, SDL_SCANCODE_RSHIFT}, {162, SDL_SCANCODE_LCTRL},
    {163, SDL_SCANCODE_RCTRL},  {164, SDL_SCANCODE_LALT},   {165, SDL_SCANCODE_RALT},
};

}  // namespace

PlatKeyCode plat_key_from_sdl(int sdl_scancode) {
  for (const KeyRow& row : kKeys) {
    if (row.sdl == sdl_scancode) return {row.vkey, row.scancode, row.extended};
  }
  return {};
}

int plat_sdl_scancode_from_vkey(int vkey) {
  for (const SidedKey& key : kSided) {
    if (key.vkey == vkey) return key.sdl;
  }
  for (const KeyRow& row : kKeys) {
    if (row.vkey == vkey) return row.sdl;
  }
  return 0;
}
