// held_fifo.h - a FIFO that a writer holds open without ever finishing, as a file the game must
// refuse without reading: a read of it would wait for ever, so the writer is closed if the work
// given to Refused has not ended within 10 seconds, and the test says the read blocked.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class HeldFifo {
 public:
  // Makes the FIFO at `path` and writes `text` into it, holding it open.
  HeldFifo(const std::string& path, const std::string& text) {
    if (::mkfifo(path.c_str(), 0600) != 0) return;
    writer_ = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
    if (writer_ >= 0 && !text.empty()) {
      made_ = ::write(writer_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    } else {
      made_ = writer_ >= 0;
    }
  }
  ~HeldFifo() {
    if (writer_ >= 0) ::close(writer_);
  }
  HeldFifo(const HeldFifo&) = delete;
  HeldFifo& operator=(const HeldFifo&) = delete;

  bool Made() const { return made_; }

  // Runs `work`, which must not read the FIFO; false when it blocked (and was let go).
  bool EndsWithoutReading(const std::function<void()>& work) {
    std::mutex lock;
    std::condition_variable done_changed;
    bool done = false, rescued = false;
    std::thread rescue([&] {
      std::unique_lock<std::mutex> hold(lock);
      if (!done_changed.wait_for(hold, std::chrono::seconds(10), [&] { return done; })) {
        rescued = true;
        ::close(writer_);
        writer_ = -1;
      }
    });
    work();
    {
      std::lock_guard<std::mutex> hold(lock);
      done = true;
    }
    done_changed.notify_one();
    rescue.join();
    return !rescued;
  }

 private:
  int writer_ = -1;
  bool made_ = false;
};
