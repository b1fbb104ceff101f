// file_lock.h - an exclusive lock that programs on one machine take in turn: two copies of the
// game that change the same file one after the other, each merging into what the other wrote.
// Needs POSIX file calls only.
#pragma once

#include <string>

// Holds an exclusive lock on the file at `path` (made when missing) for as long as it lives,
// waiting for another holder to let go. A lock file that cannot be made gives no lock (the
// caller goes on unguarded). Any thread.
class FileLock {
 public:
  explicit FileLock(const std::string& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};
