// input_names.cpp - the names, from the platform's tables.
#include "system/input_names.h"

#include "platform/input_names.h"

std::string KeyName(int key) { return plat_key_name(key); }

int KeyFromName(std::string_view name) { return plat_key_from_name(std::string(name).c_str()); }

std::string JoyButtonName(int button) { return plat_pad_button_name(button); }

int JoyButtonFromName(std::string_view name) {
  return plat_pad_button_from_name(std::string(name).c_str());
}
