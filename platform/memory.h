// memory.h - how the C library hands memory back to the system.
//
// The OpenGL driver allocates and frees large buffers as it draws. By default the C library
// returns freed memory at the top of the heap to the system at once and maps blocks of more than
// 128 KiB afresh for each allocation, so the next frame's buffers come back as fresh pages, each
// one faulted in while the frame waits: on the software rasteriser that made whole screens take
// twice their 16.7 ms. plat_keep_freed_memory keeps freed memory in the process for reuse
// instead. The process keeps its peak heap; a game's peak is a few tens of megabytes.
#pragma once

// Call once, early, on the main thread.
void plat_keep_freed_memory();
