// child_process.h - another program run beside this one, its output read as it comes, without
// waiting: a long job (a video) in a process of its own while this one draws its progress.
//
//   ChildProcess job;
//   if (job.Start({AppFile(), "--replay", path, "--video", out})) {
//     int status;
//     while (!job.Ended(&status)) { text += job.ReadOutput(); ... }
//   }
//
// The child's stdout and stderr go to one pipe. It is sent SIGTERM when this process ends, however
// it ends, so that it never outlives the program that started it. POSIX only. One thread.
#pragma once

#include <string>
#include <vector>

class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // Stops a child still running and waits for it.
  ~ChildProcess();

  // Starts the program at `argv[0]` (a path) with `argv`. False when it cannot be started.
  bool Start(const std::vector<std::string>& argv);
  // What the child wrote since the last call; empty when nothing.
  std::string ReadOutput();
  // Asks the child to end (SIGTERM).
  void Stop();
  // Whether the child has ended; its exit status (128 + the signal for one ended by a signal) in
  // `status` then.
  bool Ended(int* status);

 private:
  int pid_ = -1;
  int output_ = -1;
  bool ended_ = false;
  int status_ = 0;
};
