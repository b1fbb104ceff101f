// virtual_window.h - windows that exist only as message targets, for drivers that show nothing.
//
// A virtual window has an id, a client size and a procedure like any window (window.h), and
// messages for it flow through the same stream: made-up input (inject.h) and pointer placement
// (cursor.h) reach its procedure exactly as they reach a real window's. It needs no video, so a
// program that draws nothing (the null graphics driver) still hears its keys, mouse and close
// requests. Ids come from a range SDL never hands out. Main thread only.
#pragma once

#include <cstdint>

// Opens a virtual window of the given client size; it becomes the active window. Never fails.
std::uint32_t plat_virtual_window_create(int width, int height);
// Whether `window` is a virtual window (of this module) still open.
bool plat_virtual_window_is(std::uint32_t window);
