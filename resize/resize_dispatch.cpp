// The public function and its processor dispatch: one slot read and one indirect call per call.
#include "resize/resize_cpu.h"
#include "resize/resize_image.h"

const ResizeEntryFn ResizeDispatchTable[kResizeDispatchSlots] = {
    nullptr, ResizeEntryGeneric, ResizeEntrySSE, ResizeEntrySSE2, ResizeEntrySSE3};

std::atomic<int32_t> ResizeCpuSlot{1};

ResizeDispatchDescriptor* ResizeDescriptorList = nullptr;

namespace {

ResizeDispatchDescriptor g_descriptor = {"i", "ResizeImage8uC3", ResizeDispatchTable, nullptr};

// Registers the descriptor among the static initialisers.
const bool g_registered = (ResizeDispatchRegister(), true);

// Slot for a processor class; -1 for a class outside the table.
int32_t SlotForType(int32_t cpuType) {
  switch (cpuType) {
    case -1:
      return 0;
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
      return 1;
    case 5:
    case 16:
    case 17:
      return 2;
    case 6:
    case 7:
    case 9:
      return 3;
    case 8:
    case 32:
      return 4;
    default:
      return -1;
  }
}

}  // namespace

ResizeStatus ResizeImage8uC3(const uint8_t* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi,
                             uint8_t* dst, int32_t dstStep, ImgSize dstRoiSize, double xFactor,
                             double yFactor, ResizeInterp interpolation) {
  const int32_t slot = ResizeCpuSlot.load(std::memory_order_relaxed);
  ResizeEntryFn entry =
      slot >= 0 && slot < kResizeDispatchSlots ? ResizeDispatchTable[slot] : nullptr;
  if (!entry) entry = ResizeEntryGeneric;  // the empty slot runs the generic build
  return entry(src, srcSize, srcStep, srcRoi, dst, dstStep, dstRoiSize, xFactor, yFactor,
               interpolation);
}

ResizeDispatchDescriptor* ResizeDescriptorPush(ResizeDispatchDescriptor* descriptor) {
  ResizeDispatchDescriptor* previous = ResizeDescriptorList;
  ResizeDescriptorList = descriptor;
  return previous;
}

void ResizeDispatchRegister() {
  g_descriptor.next = ResizeDescriptorPush(&g_descriptor);
}

int32_t ResizeSetCpuSlotDetected() {
  const int32_t slot = SlotForType(ResizeDetectCpuType());
  ResizeCpuSlot.store(slot > 0 ? slot : 1, std::memory_order_relaxed);
  if (!ResizeHasCpuid() || !ResizeIsGenuineVendor()) {
    ResizeCpuSlot.store(1, std::memory_order_relaxed);
    return kResizeCpuNotDetected;
  }
  return 0;
}

int32_t ResizeSetCpuSlot(int32_t cpuType) {
  const int32_t slot = SlotForType(cpuType);
  if (slot < 0) return kResizeCpuUnknownType;
  ResizeCpuSlot.store(slot, std::memory_order_relaxed);
  return 0;
}
