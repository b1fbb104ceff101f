// display_lost.cpp - the handler Xlib calls when the X connection breaks. Xlib is reached through
// the copy SDL has loaded, so the program neither links it nor needs its headers.
#include "platform/display_lost.h"

#include <SDL.h>
#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

// Xlib's XIOErrorHandler, with the display as an opaque pointer.
using IOErrorHandler = int (*)(void* display);
using SetIOErrorHandler = IOErrorHandler (*)(IOErrorHandler handler);

// How long a thread other than the saving one waits for that one to meet the broken connection:
// it does at its next word to the display, a frame away at most unless it waits on the first.
constexpr int kWaitSteps = 100;
constexpr useconds_t kWaitStepMicros = 10000;

std::atomic<bool (*)()> save_function{nullptr};
std::atomic<std::thread::id> saving_thread{};
std::atomic<bool> ending{false};

void Write(const char* text) {
  ssize_t ignored = ::write(2, text, std::strlen(text));
  (void)ignored;
}

[[noreturn]] void WaitForTheEnd() {
  for (;;) ::pause();
}

[[noreturn]] void End(const char* how) {
  const char* name = std::getenv("DISPLAY");
  Write("Lost the connection to the display");
  if (name && *name) {
    Write(" \"");
    Write(name);
    Write("\"");
  }
  Write(how);
  ::_exit(1);
}

int OnBrokenConnection(void*) { plat_display_connection_broken(); }

}  // namespace

void plat_video_on_lost(bool (*save)()) {
  saving_thread.store(std::this_thread::get_id());
  save_function.store(save);
}

void plat_display_connection_broken() {
  // Any thread may get here, and more than one; the first to end the process does so while the
  // others wait, since returning would let Xlib call exit(). Only the thread that registered the
  // save may run it: the state it saves is that thread's.
  bool (*save)() = save_function.load();
  if (save && saving_thread.load() == std::this_thread::get_id()) {
    if (ending.exchange(true)) WaitForTheEnd();
    End(save() ? ": saved, and ending\n" : ": not everything could be saved; ending\n");
  }
  if (save) {
    for (int i = 0; i < kWaitSteps && !ending.load(); ++i) ::usleep(kWaitStepMicros);
  }
  if (ending.exchange(true)) WaitForTheEnd();
  End(save ? ": ending without saving\n" : ": ending\n");
}

void plat_watch_display_connection() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "x11") != 0) return;
  void* xlib = ::dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (!xlib) return;
  auto set = reinterpret_cast<SetIOErrorHandler>(::dlsym(xlib, "XSetIOErrorHandler"));
  if (set) set(OnBrokenConnection);
  ::dlclose(xlib);  // SDL holds its own reference
}
