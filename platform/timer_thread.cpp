// timer_thread.cpp - one thread per timer, sleeping on a condition so that stopping is prompt.
#include "platform/timer_thread.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

using Steady = std::chrono::steady_clock;

class TimerThread {
 public:
  TimerThread(int id, int period_ms, PlatTimerTick tick, void* user)
      : id_(id), period_(period_ms), tick_(tick), user_(user) {}
  ~TimerThread() { Stop(); }

  void Start() {
    thread_ = std::thread([this] { Run(); });
  }

  void Stop() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

 private:
  void Run() {
    constexpr auto kMaxLag = std::chrono::seconds(1);
    Steady::time_point next = Steady::now() + period_;
    std::unique_lock<std::mutex> lock(mutex_);
    while (!wake_.wait_until(lock, next, [this] { return stopping_; })) {
      Steady::time_point now = Steady::now();
      if (now - next > kMaxLag) next = now;
      // Ticks run without the lock so that a slow tick never delays Stop's request.
      lock.unlock();
      while (next <= now) {
        tick_(id_, user_);
        next += period_;
      }
      lock.lock();
    }
  }

  const int id_;
  const std::chrono::milliseconds period_;
  const PlatTimerTick tick_;
  void* const user_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread thread_;
};

std::mutex registry_mutex;
int last_id = 0;

// Timers still running when the program ends are stopped when this map goes.
std::map<int, std::unique_ptr<TimerThread>>& Timers() {
  static std::map<int, std::unique_ptr<TimerThread>> timers;
  return timers;
}

}  // namespace

int plat_timer_start(int period_ms, PlatTimerTick tick, void* user) {
  if (period_ms < 1 || !tick) return 0;
  std::lock_guard<std::mutex> lock(registry_mutex);
  int id = ++last_id;
  auto timer = std::make_unique<TimerThread>(id, period_ms, tick, user);
  try {
    timer->Start();
  } catch (const std::system_error&) {
    return 0;
  }
  Timers()[id] = std::move(timer);
  return id;
}

void plat_timer_stop(int timer) {
  std::unique_ptr<TimerThread> stopping;
  {
    std::lock_guard<std::mutex> lock(registry_mutex);
    auto found = Timers().find(timer);
    if (found == Timers().end()) return;
    stopping = std::move(found->second);
    Timers().erase(found);
  }
  stopping->Stop();
}
