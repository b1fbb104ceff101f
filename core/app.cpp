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
#include "platform/display_lost.h"
#include "platform/memory.h"

namespace {

std::string app_file;
std::string app_dir;

constexpr int kMaxCleanups = 16;
void (*cleanups[kMaxCleanups])();
std::atomic<int> cleanup_count{0};
std::atomic<bool> ending{false};

// Written by the end-signal handler, read by the frame loops' close test.
std::atomic<int> end_signal{0};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler writes it");

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

// The process ends now, with the status the first end signal asked for. A cleanup stuck on a
// display that does not answer gets one second before the process goes without it.
[[noreturn]] void EndNow() {
  static volatile sig_atomic_t status = 0;
  status = 128 + end_signal.load();
  struct sigaction last = {};
  last.sa_handler = [](int) { ::_exit(status); };
  sigemptyset(&last.sa_mask);
  last.sa_flags = SA_NODEFER;
  sigaction(SIGALRM, &last, nullptr);
  ::alarm(1);
  RunCleanups();
  ::_exit(status);
}

// The first end signal asks the program to close and starts the grace period; a second one, or
// the grace period running out (SIGALRM), ends the process.
void OnEndSignal(int signo) {
  int none = 0;
  if (!end_signal.compare_exchange_strong(none, signo)) EndNow();
  WriteLine("Received Signal");
  ::alarm(kEndSignalGraceSeconds);
}

void OnGraceOver(int) {
  if (end_signal.load() != 0) EndNow();
}

void InstallHandlers() {
  struct sigaction fault = {};
  fault.sa_handler = OnFault;
  sigemptyset(&fault.sa_mask);
  fault.sa_flags = SA_RESETHAND;
  for (int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) sigaction(s, &fault, nullptr);

  // Not reset after the first: the second must end the process with the same status.
  struct sigaction end = {};
  end.sa_handler = OnEndSignal;
  sigemptyset(&end.sa_mask);
  end.sa_flags = SA_RESTART;
  for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaction(s, &end, nullptr);

  struct sigaction grace = {};
  grace.sa_handler = OnGraceOver;
  sigemptyset(&grace.sa_mask);
  grace.sa_flags = SA_RESTART;
  sigaction(SIGALRM, &grace, nullptr);
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

int EndSignalCaught() { return end_signal.load(); }

bool ErrorsGoToTerminal() { return ::isatty(2) != 0; }

void OnDisplayLost(bool (*save)()) { plat_video_on_lost(save); }

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
  int status = 1;
  try {
    status = body();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "Unknown error\n");
  }
  // Ended by a signal's close request: the status says which. The grace period stays running
  // over the std::atexit functions, which still run.
  if (const int signo = EndSignalCaught()) return 128 + signo;
  return status;
}
