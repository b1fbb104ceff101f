// app.cpp - start-up and the last-resort handlers.
#include "core/app.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "core/error.h"
#include "core/main_thread.h"
#include "platform/memory.h"

namespace {

std::string app_file;
std::string app_dir;

constexpr int kMaxCleanups = 16;
void (*cleanups[kMaxCleanups])();
std::atomic<int> cleanup_count{0};
std::atomic<bool> ending{false};

void RunCleanups() {
  if (ending.exchange(true)) return;
  for (int i = cleanup_count.load() - 1; i >= 0; --i) cleanups[i]();
}

void WriteLine(const char* text) {
  std::size_t n = 0;
  while (text[n]) ++n;
  ssize_t ignored = ::write(2, text, n);
  ignored = ::write(2, "\n", 1);
  (void)ignored;
}

void OnFault(int signo) {
  WriteLine("Unhandled Memory Exception Error");
  RunCleanups();
  ::_exit(128 + signo);
}

void OnEndSignal(int signo) {
  WriteLine("Received Signal");
  RunCleanups();
  ::_exit(128 + signo);
}

void InstallHandlers() {
  struct sigaction fault = {};
  fault.sa_handler = OnFault;
  sigemptyset(&fault.sa_mask);
  fault.sa_flags = SA_RESETHAND;
  for (int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) sigaction(s, &fault, nullptr);

  struct sigaction end = {};
  end.sa_handler = OnEndSignal;
  sigemptyset(&end.sa_mask);
  end.sa_flags = SA_RESETHAND;
  for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaction(s, &end, nullptr);
}

}  // namespace

const std::string& AppFile() { return app_file; }
const std::string& AppDir() { return app_dir; }

void OnAbnormalEnd(void (*cleanup)()) {
  int i = cleanup_count.load();
  if (i >= kMaxCleanups) return;
  cleanups[i] = cleanup;
  cleanup_count.store(i + 1);
}

void EnterAppDir(const char* argv0) {
  char path[4096];
  ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n > 0) {
    path[n] = '\0';
    app_file = path;
  } else if (argv0) {
    app_file = argv0;
  }
  std::size_t slash = app_file.rfind('/');
  app_dir = slash == std::string::npos ? "." : app_file.substr(0, slash);
  if (app_dir.empty()) app_dir = "/";
  if (::chdir(app_dir.c_str()) != 0) {
    std::fprintf(stderr, "cannot enter the program's folder %s\n", app_dir.c_str());
  }
}

int RunApplication(int argc, char** argv, int (*body)()) {
  ClaimMainThread();
  plat_keep_freed_memory();  // the drawing's buffers reused, not faulted in afresh every frame
  InstallHandlers();
  EnterAppDir(argc > 0 ? argv[0] : nullptr);
  try {
    return body();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "Unknown error\n");
  }
  return 1;  // std::atexit functions still run
}
