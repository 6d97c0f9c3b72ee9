#include "resize/resize_alloc.h"

#include <atomic>
#include <cstddef>
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
// The heap address is kept in a full pointer just before the block.
constexpr size_t kOverhead = kAlign - 1 + sizeof(void*);

void* AllocAligned(int64_t n, size_t elementSize) {
  if (n <= 0) return nullptr;
  // No object may be larger than the address difference range.
  constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<ptrdiff_t>::max());
  if (static_cast<uint64_t>(n) > (kMax - kOverhead) / elementSize) return nullptr;
  size_t bytes = static_cast<size_t>(n) * elementSize + kOverhead;
  void* raw = g_heapAlloc.load(std::memory_order_relaxed)(bytes);
  if (!raw) return nullptr;
  uintptr_t start = (reinterpret_cast<uintptr_t>(raw) + kOverhead) & ~uintptr_t{kAlign - 1};
  void* block = reinterpret_cast<void*>(start);
  std::memcpy(static_cast<char*>(block) - sizeof(void*), &raw, sizeof raw);
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
  void* raw;
  std::memcpy(&raw, static_cast<char*>(block) - sizeof(void*), sizeof raw);
  g_heapFree.load(std::memory_order_relaxed)(raw);
}

void ResizeSetHeap(ResizeHeapAllocFn allocFn, ResizeHeapFreeFn freeFn) {
  g_heapAlloc.store(allocFn ? allocFn : &HeapAlloc, std::memory_order_relaxed);
  g_heapFree.store(freeFn ? freeFn : &HeapFree, std::memory_order_relaxed);
}
