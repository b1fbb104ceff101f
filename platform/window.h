// window.h - the program's windows, as far as the message stream needs them.
//
// A window is known by its id, the number its messages carry (PlatMessage::window). Each window
// can have a procedure: plat_dispatch_message hands it every message of that window, the way a
// window procedure receives its messages. The layers above install their own procedure (the
// graphics layer's routes messages through the system layer's translator before handling them).
//
// Windows need video (video.h); without it plat_window_create fails with a message.
#pragma once

#include <cstdint>
#include <string>

struct PlatMessage;

using PlatWindowProcedure = void (*)(const PlatMessage& message, void* user);

struct PlatWindowOptions {
  int width = 640;  // client area in pixels
  int height = 480;
  std::string title;
};

// Opens and shows a window; it becomes the active window. Returns its id, or 0 (with the reason
// in *error when given) if it cannot be made.
std::uint32_t plat_window_create(const PlatWindowOptions& options, std::string* error = nullptr);

// Closes the window; its id stops receiving messages. Unknown ids are ignored.
void plat_window_destroy(std::uint32_t window);

void plat_window_set_procedure(std::uint32_t window, PlatWindowProcedure procedure, void* user);

// A picture of fixed size shown scaled in a window: it fills the rectangle (x, y, view_width,
// view_height) of the window's drawable, in drawable pixels, top-left origin.
struct PlatPicture {
  int width = 0, height = 0;
  int x = 0, y = 0, view_width = 0, view_height = 0;
};

// While a window shows a picture, every pointer position its messages carry is in the picture's
// pixels (positions over the bars around it fall outside 0..size-1), plat_cursor_warp takes
// picture pixels, and plat_window_size answers the picture's size. Null shows the drawable as it
// is again. The drawable's size in window units is read now: call again after a resize.
void plat_window_show_picture(std::uint32_t window, const PlatPicture* picture);

// The client area's size; false (and 0 x 0) for an unknown window.
bool plat_window_size(std::uint32_t window, int* width, int* height);

// The window that has the keyboard focus, 0 when none of the program's windows has it.
std::uint32_t plat_active_window();
