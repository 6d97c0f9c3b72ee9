// Kept apart from the record objects: only programs with the application data link it.
#include <algorithm>
#include <atomic>
#include <cstring>

#include "app/app_data.h"
#include "record/record_standins.h"

namespace {
std::atomic<uint32_t> g_dwStoredFrames{0};
uint32_t g_dwWriteIndex = 0;
}  // namespace

int StoreToPreAlarmRing(const uint8_t* jpeg, uint32_t length, uint32_t /*timeStamp*/,
                        uint32_t /*noPicture*/, uint32_t, uint32_t, uint32_t) {
  CPreAlarmBuffer& ring = g_lpApp->m_PreAlarmBuffer;
  if (ring.lp_Frames && jpeg) {
    const uint32_t n = std::min<uint32_t>(length, CPreAlarmBuffer::kFrameBytes);
    std::memcpy(ring.lp_Frames + size_t{g_dwWriteIndex} * CPreAlarmBuffer::kFrameBytes, jpeg, n);
    g_dwWriteIndex = (g_dwWriteIndex + 1) % CPreAlarmBuffer::kSlots;
  }
  ++g_dwStoredFrames;
  return 1;
}

uint32_t PreAlarmRingStoredFrames() {
  return g_dwStoredFrames.load();
}
