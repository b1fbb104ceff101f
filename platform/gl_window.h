// gl_window.h - windows that carry an OpenGL 1.x context, the display modes, buffer swaps.
//
// Each window has its own rendering context, and all of them share textures with one hidden
// context made on first need, so a texture created while the shared context is current can be
// drawn in every window. A full-screen window is made as a plain borderless window: the layer
// above decides when it takes the display (plat_set_display_mode, typically on gaining the focus)
// and when it gives it back (plat_restore_display_mode, on losing it).
//
// On a machine with no real display (SDL's offscreen driver, used by tests and the headless
// harness) there are no display modes to change: every mode change is accepted as it stands,
// unless a test makes the display refuse them (inject.h).
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

// How a window sits on the desktop.
enum class PlatWindowStyle {
  kFramed,             // a window with a title bar, fixed size
  kBorderless,         // no decorations; takes a display mode with plat_set_display_mode
  kDesktopFullScreen,  // covers its display at the desktop's own resolution, no mode change
  kResizable,          // a framed window the user can resize
};

// No real display (the offscreen driver): display modes cannot change, and need not.
bool plat_video_is_virtual();

std::vector<PlatDisplayMode> plat_display_modes();

// A shown window of the given client size with its own context, sharing textures with the
// hidden context. Its messages go to the procedure set with plat_window_set_procedure on its id.
// Video must be running (plat_video_init). x or y below 0 centres the window on the display. A
// kDesktopFullScreen window takes the desktop's size whatever the size asked. Null, with the
// reason in *error, when no window or context can be made, or the display refuses the style.
PlatGLWindow* plat_gl_window_create(const std::string& title, int x, int y, int width, int height,
                                    PlatWindowStyle style, const PlatPixelFormat& format,
                                    std::string* error);
// Changes how a shown window sits on the desktop, giving back a display mode it holds first. The
// client size applies to the framed, borderless and resizable styles (a resizable window is
// centred). False when the display refuses.
bool plat_gl_window_set_style(PlatGLWindow* window, PlatWindowStyle style, int width, int height);
// Gives the window an icon for the desktop's panels and switchers: `width` x `height` pixels of
// 4 bytes each (R, G, B, A), rows `pitch` bytes apart, top row first. The pixels are copied.
void plat_gl_window_set_icon(PlatGLWindow* window, const unsigned char* rgba, int width, int height,
                             int pitch);
// The smallest client size the user (or the window manager) may make the window; the window
// grows to it at once if smaller. Sizes asked of plat_gl_window_set_style are held to it too.
void plat_gl_window_set_minimum_size(PlatGLWindow* window, int width, int height);
// The size of the desktop the window is on (the first display for null), and the part of it left
// to windows by panels and docks. False when the display cannot say.
bool plat_desktop_size(PlatGLWindow* window, int* width, int* height);
bool plat_desktop_usable_size(PlatGLWindow* window, int* width, int* height);
// The decorations' share of a window's size (left + right, top + bottom); 0 when unknown.
void plat_gl_window_frame_size(PlatGLWindow* window, int* width, int* height);
// Keeps the pointer inside the window (while it has the focus), or lets it go.
void plat_gl_window_hold_pointer(PlatGLWindow* window, bool hold);
// An OpenGL entry point of the current context's driver, or null.
void* plat_gl_proc_address(const char* name);
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
// The context current on this thread (none, a window's or the shared one), as a value that
// plat_gl_restore_current makes current again.
struct PlatGLCurrent {
  void* window = nullptr;
  void* context = nullptr;
};
PlatGLCurrent plat_gl_current();
// Makes `current` current again (none when it holds none). False when that fails.
bool plat_gl_restore_current(const PlatGLCurrent& current);
void plat_gl_swap(PlatGLWindow* window);
// False when the driver offers no control of the swap interval.
bool plat_gl_set_swap_interval(int interval);

// Gives the window the whole display at `mode` (hertz 0: any rate). False when refused.
bool plat_set_display_mode(PlatGLWindow* window, const PlatDisplayMode& mode);
// Puts the desktop's own mode back.
void plat_restore_display_mode(PlatGLWindow* window);
// While the game runs, the screen saver and monitor power-down stay away.
void plat_block_screen_saver(bool block);
// Whether the screen saver is held off now.
bool plat_screen_saver_blocked();
