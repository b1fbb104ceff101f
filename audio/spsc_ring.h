// spsc_ring.h - a fixed ring that one thread fills and one other thread empties, without locks.
//
// The game thread and the audio device's thread hand voices to each other through two of these.
// Each index is written by one side only; the release store of an index publishes the entries
// before it, so what the consumer reads was completely written by the producer.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

template <class T, std::size_t N>
class SpscRing {
  static_assert((N & (N - 1)) == 0, "the ring size is a power of two");

 public:
  // Producer side. False when the ring is full; nothing is written then.
  bool push(T value) {
    std::uint32_t w = write_.load(std::memory_order_relaxed);
    if (w - read_.load(std::memory_order_acquire) >= N) return false;
    slots_[w & (N - 1)].store(value, std::memory_order_relaxed);
    write_.store(w + 1, std::memory_order_release);
    return true;
  }

  // Consumer side. False when the ring is empty.
  bool pop(T& value) {
    std::uint32_t r = read_.load(std::memory_order_relaxed);
    if (r == write_.load(std::memory_order_acquire)) return false;
    value = slots_[r & (N - 1)].load(std::memory_order_relaxed);
    read_.store(r + 1, std::memory_order_release);
    return true;
  }

  std::size_t size() const {
    return write_.load(std::memory_order_acquire) - read_.load(std::memory_order_acquire);
  }

 private:
  // Free-running counters: their difference is the fill, so all N entries can be used.
  std::atomic<std::uint32_t> read_{0};
  std::atomic<std::uint32_t> write_{0};
  std::array<std::atomic<T>, N> slots_{};
};
