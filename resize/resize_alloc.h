// Scratch memory of the resize library: blocks aligned to 32 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

// Each returns a block of n elements of 4, 2 or 1 bytes starting on a 32-byte boundary, or null
// for n <= 0, on exhaustion, and when the byte size is beyond the allocator's range.
void* ResizeAlloc4(int64_t n);
void* ResizeAlloc2(int64_t n);
void* ResizeAlloc1(int64_t n);
// Frees a block of any of them; null is ignored.
void ResizeFree(void* block);

// The heap behind the blocks (malloc/free by default); tests replace it to make allocations fail.
using ResizeHeapAllocFn = void* (*)(size_t bytes);
using ResizeHeapFreeFn = void (*)(void* p);
void ResizeSetHeap(ResizeHeapAllocFn allocFn, ResizeHeapFreeFn freeFn);
