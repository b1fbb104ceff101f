// allocation_counter.h - counts every allocation of the benchmark executable that includes it.
//
// Include it in exactly one unit of a benchmark: it replaces the global operator new and delete.
// Benchmarks read AllocationCount() before and after the work they time, to show that the hot
// path allocates nothing.
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

inline std::atomic<long> allocation_count{0};

inline long AllocationCount() { return allocation_count.load(std::memory_order_relaxed); }

// The replacements pair malloc with free; GCC cannot see that they are a matched pair.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
  allocation_count.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
