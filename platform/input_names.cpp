// input_names.cpp - key and pad button names through SDL's tables and the two layouts.
#include "platform/input_names.h"

#include <SDL.h>
#include <strings.h>

#include "platform/keymap.h"
#include "platform/pad_layout.h"

const char* plat_key_name(int vkey) {
  int scancode = plat_sdl_scancode_from_vkey(vkey);
  if (scancode == 0) return "";
  return SDL_GetScancodeName(static_cast<SDL_Scancode>(scancode));
}

int plat_key_from_name(const char* name) {
  if (!name || !*name) return 0;
  const SDL_Scancode scancode = SDL_GetScancodeFromName(name);
  if (scancode == SDL_SCANCODE_UNKNOWN) return 0;
  // Shift, Control and Alt are named by side; the sided codes say which.
  for (int vkey = 160; vkey <= 165; ++vkey) {
    if (plat_sdl_scancode_from_vkey(vkey) == scancode) return vkey;
  }
  // Keys that share a code (the two Enter keys) are told apart by nothing the game reads: the
  // name of either gives the code, which is named after the first.
  return plat_key_from_sdl(scancode).vkey;
}

const char* plat_pad_button_name(int button) {
  const int sdl = PadLayoutButton(button);
  if (sdl < 0) return "";
  const char* name =
      SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(sdl));
  return name ? name : "";
}

int plat_pad_button_from_name(const char* name) {
  if (!name || !*name) return -1;
  for (int button = 0; PadLayoutButton(button) >= 0; ++button) {
    if (strcasecmp(plat_pad_button_name(button), name) == 0) return button;
  }
  return -1;
}
