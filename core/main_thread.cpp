// main_thread.cpp - the main thread's id, recorded once by the first claim.
#include "core/main_thread.h"

#include <atomic>
#include <thread>

namespace {

std::atomic<std::thread::id> main_thread{};

}  // namespace

void ClaimMainThread() {
  std::thread::id none{};
  main_thread.compare_exchange_strong(none, std::this_thread::get_id());
}

bool OnMainThread() {
  const std::thread::id self = std::this_thread::get_id();
  std::thread::id known = main_thread.load(std::memory_order_relaxed);
  if (known == self) return true;
  if (known == std::thread::id{} && main_thread.compare_exchange_strong(known, self)) return true;
  return known == self;
}
