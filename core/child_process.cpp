// child_process.cpp - fork and exec with a pipe, read without blocking, reaped without waiting.
#include "core/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !ended_) {
    Stop();
    int status;
    ::waitpid(pid_, &status, 0);
  }
  if (output_ >= 0) ::close(output_);
}

bool ChildProcess::Start(const std::vector<std::string>& argv) {
  if (argv.empty() || pid_ > 0) return false;
  // Everything the child needs is made before the fork: after it, only async-signal-safe calls.
  std::vector<std::string> words = argv;
  std::vector<char*> args;
  for (std::string& word : words) args.push_back(word.data());
  args.push_back(nullptr);
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return false;
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(ends[0]);
    ::close(ends[1]);
    return false;
  }
  if (pid == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) ::_exit(127);  // the parent went before the line above
    ::dup2(ends[1], 1);
    ::dup2(ends[1], 2);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  ::close(ends[1]);
  ::fcntl(ends[0], F_SETFL, O_NONBLOCK);
  pid_ = pid;
  output_ = ends[0];
  return true;
}

std::string ChildProcess::ReadOutput() {
  std::string text;
  if (output_ < 0) return text;
  char buffer[4096];
  ssize_t got;
  while ((got = ::read(output_, buffer, sizeof buffer)) > 0) {
    text.append(buffer, static_cast<std::size_t>(got));
  }
  return text;
}

void ChildProcess::Stop() {
  if (pid_ > 0 && !ended_) ::kill(pid_, SIGTERM);
}

bool ChildProcess::Ended(int* status) {
  if (pid_ <= 0) return false;
  if (!ended_) {
    int raw = 0;
    if (::waitpid(pid_, &raw, WNOHANG) != pid_) return false;
    ended_ = true;
    status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  }
  *status = status_;
  return true;
}
