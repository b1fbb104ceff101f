// cursor.h - the system's mouse pointer: whether it shows, where it is placed, and capture.
//
// Main thread only. Without video these do nothing.
#pragma once

#include <cstdint>

void plat_cursor_set_visible(bool visible);
bool plat_cursor_visible();

// Places the pointer at (x, y) in the client coordinates of `window` (its picture's pixels while
// it shows one, window.h), or in screen coordinates for window 0. The window hears a mouse-move
// message for the new position.
void plat_cursor_warp(std::uint32_t window, int x, int y);

// Keeps mouse messages coming to the window that was pressed while a button is held, even when
// the pointer leaves it.
void plat_cursor_capture(bool capture);
