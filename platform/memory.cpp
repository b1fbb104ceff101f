// memory.cpp - glibc's malloc tuning; nothing elsewhere.
#include "platform/memory.h"

#include <cstdlib>  // defines __GLIBC__ on glibc systems

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Blocks below this come from the heap and are reused; larger ones (none in a frame) are mapped.
constexpr int kMapAbove = 32 * 1024 * 1024;  // glibc's largest on 64-bit systems
// The heap's free top is handed back to the system only beyond this.
constexpr int kTrimAbove = 256 * 1024 * 1024;

}  // namespace

void plat_keep_freed_memory() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, kMapAbove);
  mallopt(M_TRIM_THRESHOLD, kTrimAbove);
#endif
}
