// gl_window.h - windows that carry an OpenGL 1.x context, the display modes, buffer swaps.
//
// Each window has its own rendering context, and all of them share textures with one hidden
// context made on first need, so a texture created while the shared context is current can be
// drawn in every window. A full-screen window is made as a plain borderless window: the layer
// above decides when it takes the display (plat_set_display_mode, typically on gaining the focus)
// and when it gives it back (plat_restore_display_mode, on losing it).
//
// On a machine with no real display (SDL's offscreen driver, used by tests and the headless
// harness) there are no display modes to change: every mode change is accepted as it stands.
#pragma once

#include <string>
#include <vector>

struct PlatDisplayMode {
  int width = 0, height = 0, depth = 0, hertz = 0;
};

// Minimum bit counts asked of the pixel format; 0 asks for none.
struct PlatPixelFormat {
  bool double_buffer = true;
  int alpha_bits = 0, depth_bits = 0, stencil_bits = 0, accum_bits = 0;
};

struct PlatGLWindow;

// No real display (the offscreen driver): display modes cannot change, and need not.
bool plat_video_is_virtual();

std::vector<PlatDisplayMode> plat_display_modes();

// A shown window of the given client size with its own context, sharing textures with the
// hidden context. Its messages go to the procedure set with plat_window_set_procedure on its id.
// Video must be running (plat_video_init). Null, with the reason in *error, when no window or
// context can be made.
PlatGLWindow* plat_gl_window_create(const std::string& title, int x, int y, int width, int height,
                                    bool borderless, const PlatPixelFormat& format,
                                    std::string* error);
// A context for a window made elsewhere (by its id); null when that window cannot take one. The
// window itself stays its maker's: destroying the result deletes only the context.
PlatGLWindow* plat_gl_window_attach(unsigned window_id, const PlatPixelFormat& format);
void plat_gl_window_destroy(PlatGLWindow* window);
// The id raw messages carry for this window (window.h).
unsigned plat_gl_window_id(PlatGLWindow* window);
void plat_gl_window_client_size(PlatGLWindow* window, int* width, int* height);
void plat_gl_window_minimize(PlatGLWindow* window);

// Makes the window's context current on this thread; null makes none current.
bool plat_gl_make_current(PlatGLWindow* window);
// Makes the hidden shared context current (made on first call). False when it cannot be made.
bool plat_gl_make_shared_current();
bool plat_gl_shared_is_current();
void plat_gl_swap(PlatGLWindow* window);
// False when the driver offers no control of the swap interval.
bool plat_gl_set_swap_interval(int interval);

// Gives the window the whole display at `mode` (hertz 0: any rate). False when refused.
bool plat_set_display_mode(PlatGLWindow* window, const PlatDisplayMode& mode);
// Puts the desktop's own mode back.
void plat_restore_display_mode(PlatGLWindow* window);
// While the game runs, the screen saver and monitor power-down stay away.
void plat_block_screen_saver(bool block);
