// Freed memory stays in the process: a block as large as the drawing's comes from the heap and,
// once freed, is kept there for the next frame instead of being handed back and faulted in anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "platform/memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kOwnAllocator = true;  // the sanitizers' allocator does not read the settings
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kOwnAllocator = true;
#else
constexpr bool kOwnAllocator = false;
#endif
#else
constexpr bool kOwnAllocator = false;
#endif

TEST(KeepFreedMemory, ALargeBlockComesFromTheHeapAndStaysThereWhenFreed) {
#if !defined(__GLIBC__)
  GTEST_SKIP() << "glibc's allocator only";
#else
  if (kOwnAllocator) GTEST_SKIP() << "a sanitizer's allocator";
  plat_keep_freed_memory();
  constexpr std::size_t kBlock = 8 * 1024 * 1024;
  const struct mallinfo2 before = mallinfo2();
  void* block = std::malloc(kBlock);
  ASSERT_NE(block, nullptr);
  std::memset(block, 1, kBlock);
  const struct mallinfo2 during = mallinfo2();
  EXPECT_EQ(during.hblkhd, before.hblkhd) << "the block was mapped on its own";
  std::free(block);
  const struct mallinfo2 after = mallinfo2();
  EXPECT_GE(after.arena, during.arena) << "the heap was trimmed when the block was freed";
  EXPECT_GE(after.fordblks, kBlock) << "the freed block is not there to be reused";
#endif
}

}  // namespace
