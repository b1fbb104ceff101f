// input_names.cpp - the names, from the platform's tables.
#include "system/input_names.h"

#include "platform/input_names.h"

namespace {

// The words on the layout's buttons (joystick.h), in its order: the lower, right and left face
// buttons, Back, the upper face button, the shoulders, the sticks pressed, the guide, Start.
constexpr int kLabelled = 11;
using Labels = const char* const[kLabelled];
constexpr Labels kXbox360 = {"A", "B", "X", "Back", "Y", "LB", "RB", "LS", "RS", "Guide", "Start"};
constexpr Labels kXboxOne = {"A", "B", "X", "View", "Y", "LB", "RB", "LS", "RS", "Xbox", "Menu"};
constexpr Labels kPlayStation3 = {"Cross", "Circle", "Square", "Select", "Triangle", "L1",
                                  "R1",    "L3",     "R3",     "PS",     "Start"};
constexpr Labels kPlayStation4 = {"Cross", "Circle", "Square", "Share", "Triangle", "L1",
                                  "R1",    "L3",     "R3",     "PS",    "Options"};
constexpr Labels kPlayStation5 = {"Cross", "Circle", "Square", "Create", "Triangle", "L1",
                                  "R1",    "L3",     "R3",     "PS",     "Options"};
constexpr Labels kNintendo = {"B", "A", "Y", "Minus", "X", "L", "R", "LS", "RS", "Home", "Plus"};

const char* const* LabelsOf(PadFamily family) {
  switch (family) {
    case PadFamily::kXboxOne:
      return kXboxOne;
    case PadFamily::kPlayStation3:
      return kPlayStation3;
    case PadFamily::kPlayStation4:
      return kPlayStation4;
    case PadFamily::kPlayStation5:
      return kPlayStation5;
    case PadFamily::kNintendo:
      return kNintendo;
    default:
      return kXbox360;
  }
}

}  // namespace

std::string KeyName(int key) { return plat_key_name(key); }

int KeyFromName(std::string_view name) { return plat_key_from_name(std::string(name).c_str()); }

std::string JoyButtonName(int button) { return plat_pad_button_name(button); }

int JoyButtonFromName(std::string_view name) {
  return plat_pad_button_from_name(std::string(name).c_str());
}

std::string JoyButtonLabel(int button, PadFamily family) {
  if (button < 0) return "";
  if (family == PadFamily::kNone || button >= kLabelled) return "B" + std::to_string(button + 1);
  return LabelsOf(family)[button];
}
