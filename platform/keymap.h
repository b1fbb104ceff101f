// keymap.h - SDL's key positions in the Windows terms the framework speaks.
//
// SDL names keys by their USB-HID position; Windows names them by virtual-key code and reports
// the PC/AT set-1 scan code beside it. The table covers the keys of a full PC keyboard that the
// framework can tell apart: letters, digits, F1-F12, the editing and arrow keys, the keypad,
// punctuation, and each side of Shift, Control, Alt and the Windows keys. Private to platform/.
#pragma once

struct PlatKeyCode {
  int vkey = 0;  // 0: a key Windows has no virtual-key code for
  int scancode = 0;
  bool extended = false;
};

// SDL scancode to the Windows codes.
PlatKeyCode plat_key_from_sdl(int sdl_scancode);

// A Windows virtual-key code to the SDL scancode of the key that produces it; the side-specific
// codes 160-165 pick a side, the plain 16, 17 and 18 mean the left key. 0 when there is none.
int plat_sdl_scancode_from_vkey(int vkey);
