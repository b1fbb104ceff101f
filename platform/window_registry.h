// window_registry.h - what the message stream keeps per window. Private to platform/.
//
// The registry lives on the main thread only, like the windows themselves.
#pragma once

#include <cstdint>

#include "platform/window.h"

struct SDL_Window;

struct PlatWindowRecord {
  SDL_Window* sdl = nullptr;  // null for a virtual window (virtual_window.h)
  PlatWindowProcedure procedure = nullptr;
  void* user = nullptr;
  int pointer_x = 0;  // the last pointer position the window was told of, in window units
  int pointer_y = 0;
  // The picture shown scaled (plat_window_show_picture), in window units; width 0 when none.
  int picture_width = 0, picture_height = 0;
  double shown_x = 0, shown_y = 0, shown_width = 0, shown_height = 0;
  int virtual_width = 0;  // a virtual window's client size
  int virtual_height = 0;
};

// A pointer position in window units as the layers above see it: in the picture's pixels while
// the window shows one, else unchanged.
void plat_window_to_picture(const PlatWindowRecord& record, int* x, int* y);
// The reverse: picture pixels to window units, at the window pixel nearest the picture pixel's
// centre. At a scale of 1 or more each picture pixel reads back as itself.
void plat_picture_to_window(const PlatWindowRecord& record, int* x, int* y);

// The record of a window, or null for an unknown id.
PlatWindowRecord* plat_window_record(std::uint32_t window);

// Takes a shown window made elsewhere in platform/ (an OpenGL window) into the registry, as
// plat_window_create does with its own; returns its id.
std::uint32_t plat_window_adopt(SDL_Window* sdl);
// Takes a virtual window (no SDL window) of the given size into the registry; it becomes active.
void plat_window_adopt_virtual(std::uint32_t id, int width, int height);

// Drops every record; video has closed the windows.
void plat_window_forget_all();

// Focus changes as the messages telling of them leave the stream.
void plat_window_note_focus(std::uint32_t window, bool gained);
