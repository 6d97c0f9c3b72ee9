#include "resize/resize_alloc.h"

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

void* HeapAlloc(size_t bytes) {
  return std::malloc(bytes);
}
void HeapFree(void* p) {
  std::free(p);
}

std::atomic<ResizeHeapAllocFn> g_heapAlloc{&HeapAlloc};
std::atomic<ResizeHeapFreeFn> g_heapFree{&HeapFree};

constexpr size_t kAlign = 32;
#ifdef NDEBUG
constexpr size_t kCanary = 0;
#else
// Debug trees follow every block with a canary, checked when the block is freed: a write past
// the block's elements is caught even where it stays inside the heap block's slack.
constexpr size_t kCanary = 32;
constexpr uint8_t kCanaryByte = 0xC5;
#endif
// The heap address is kept in a full pointer just before the block, the block's size before it.
constexpr size_t kHeader = 2 * sizeof(void*);
constexpr size_t kOverhead = kAlign - 1 + kHeader + kCanary;

void* AllocAligned(int64_t n, size_t elementSize) {
  if (n <= 0) return nullptr;
  // No object may be larger than the address difference range.
  constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<ptrdiff_t>::max());
  if (static_cast<uint64_t>(n) > (kMax - kOverhead) / elementSize) return nullptr;
  const size_t size = static_cast<size_t>(n) * elementSize;
  void* raw = g_heapAlloc.load(std::memory_order_relaxed)(size + kOverhead);
  if (!raw) return nullptr;
  uintptr_t start =
      (reinterpret_cast<uintptr_t>(raw) + kAlign - 1 + kHeader) & ~uintptr_t{kAlign - 1};
  char* block = reinterpret_cast<char*>(start);
  std::memcpy(block - sizeof(void*), &raw, sizeof raw);
  std::memcpy(block - 2 * sizeof(void*), &size, sizeof size);
#ifndef NDEBUG
  std::memset(block + size, kCanaryByte, kCanary);
#endif
  return block;
}

}  // namespace

void* ResizeAlloc4(int64_t n) {
  return AllocAligned(n, 4);
}
void* ResizeAlloc2(int64_t n) {
  return AllocAligned(n, 2);
}
void* ResizeAlloc1(int64_t n) {
  return AllocAligned(n, 1);
}

void ResizeFree(void* block) {
  if (!block) return;
  char* b = static_cast<char*>(block);
  void* raw;
  std::memcpy(&raw, b - sizeof(void*), sizeof raw);
#ifndef NDEBUG
  size_t size;
  std::memcpy(&size, b - 2 * sizeof(void*), sizeof size);
  for (size_t i = 0; i < kCanary; ++i) {
    if (static_cast<uint8_t>(b[size + i]) != kCanaryByte) {
      std::fprintf(stderr, "resize scratch block of %zu bytes overrun at +%zu\n", size, i);
      std::abort();
    }
  }
#endif
  g_heapFree.load(std::memory_order_relaxed)(raw);
}

void ResizeSetHeap(ResizeHeapAllocFn allocFn, ResizeHeapFreeFn freeFn) {
  g_heapAlloc.store(allocFn ? allocFn : &HeapAlloc, std::memory_order_relaxed);
  g_heapFree.store(freeFn ? freeFn : &HeapFree, std::memory_order_relaxed);
}
