// display_lost.cpp - the handler Xlib calls when the X connection breaks. Xlib is reached through
// the copy SDL has loaded, so the program neither links it nor needs its headers.
#include "platform/display_lost.h"

#include <SDL.h>
#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

// Xlib's XIOErrorHandler, with the display as an opaque pointer.
using IOErrorHandler = int (*)(void* display);
using SetIOErrorHandler = IOErrorHandler (*)(IOErrorHandler handler);

std::atomic<void (*)()> save_function{nullptr};
std::atomic<bool> ending{false};
std::atomic<bool> watched{false};

void Write(const char* text) {
  ssize_t ignored = ::write(2, text, std::strlen(text));
  (void)ignored;
}

int OnBrokenConnection(void*) {
  // Any thread may get here; the first one ends the process, the others wait for that, since
  // returning would let Xlib call exit().
  if (ending.exchange(true)) {
    for (;;) ::pause();
  }
  void (*save)() = save_function.load();
  if (save) save();
  const char* name = std::getenv("DISPLAY");
  Write("Lost the connection to the display");
  if (name && *name) {
    Write(" \"");
    Write(name);
    Write("\"");
  }
  Write(save ? ": saved, and ending\n" : ": ending\n");
  ::_exit(1);
}

}  // namespace

void plat_video_on_lost(void (*save)()) { save_function.store(save); }

void plat_watch_display_connection() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "x11") != 0) return;
  void* xlib = ::dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (!xlib) return;
  auto set = reinterpret_cast<SetIOErrorHandler>(::dlsym(xlib, "XSetIOErrorHandler"));
  if (set) {
    set(OnBrokenConnection);
    watched.store(true);
  }
  ::dlclose(xlib);  // SDL holds its own reference
}

bool plat_display_connection_watched() { return watched.load(); }
