// The compose thread: decodes each received picture into the image slot.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <cstring>

#include "app/app_data.h"
#include "live/compose_frame.h"
#include "live/jpeg_decode.h"
#include "live/live_window_hooks.h"
#include "live/stream_threads.h"
#include "record/record_app.h"

namespace {
// The wait ends on the stream's end event (index 0) or the semaphore (index 1); true for the
// semaphore.
bool WaitUnlessEnded(HANDLE endEvent, HANDLE semaphore) {
  const HANDLE handles[] = {endEvent, semaphore};
  return WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
}

uint32_t AdvancedIndex(uint16_t index, uint16_t count) {
  return count ? (index + 1u) % count : 0;
}
}  // namespace

DWORD WINAPI Jpeg_Compose_Image_Data_Thread(LPVOID) {
  APP_DATA& a = *g_lpApp;
  // The receive thread has bound the live-view objects before it hands over the first frame.
  uint32_t previousTimeStamp = 0;
  for (;;) {
    if (!WaitUnlessEnded(a.h_EndofGetJpegImageEvent, a.SocketBufferFilledSem)) return 0;

    RTPH_Struct header;
    std::memcpy(&header, a.lp_HeaderSlots + size_t{a.wSocketReadPos} * APP_DATA::kHeaderSlotBytes,
                sizeof header);
    const uint32_t payload = std::min(header.dwPayloadLength, APP_DATA::kSocketSlotBytes);
    const uint32_t timeStamp = header.dwTimeStamp;
    const bool noPicture = header.byNoPicture != 0;
    const uint32_t interval = FrameInterval(previousTimeStamp, timeStamp);
    previousTimeStamp = timeStamp;

    // The frame's own bytes go to the staging buffer also without picture, so that the
    // pre-alarm ring stores this frame and not an earlier one.
    uint8_t* staging = a.lp_JpegBuffer + size_t{a.wJpegSlotPos} * APP_DATA::kImageSlotBytes;
    std::memcpy(staging, a.lp_SocketBuffer + size_t{a.wSocketReadPos} * APP_DATA::kSocketSlotBytes,
                payload);
    a.wSocketReadPos = static_cast<uint16_t>(AdvancedIndex(a.wSocketReadPos, a.wSocketSlots));

    if (!WaitUnlessEnded(a.h_EndofGetJpegImageEvent, a.JPEGImageBufferFreeSem)) return 0;

    const uint16_t imageIndex = a.wImageSlotPos;
    uint8_t* image = a.lp_ImageBuffer + size_t{imageIndex} * APP_DATA::kImageSlotBytes;
    int decoded = 0;
    if (!noPicture) {
      std::atomic_ref<uint32_t>(a.fVideoLoss).store(0);
      decoded = DecodeJpegToDib(staging, payload, image, APP_DATA::kImageSlotBytes, &a.wImageWidth,
                                &a.wImageHeight);
    } else {
      std::atomic_ref<uint32_t>(a.fVideoLoss).store(1);
      const BlankFrameSize size = BlankFrameSizeOf(header.byHalfWidth, a.byVideoMode);
      a.wImageWidth = size.wWidth;
      a.wImageHeight = size.wHeight;
      std::memset(image, 0, size_t{size.wWidth} * size.wHeight * 3);
      decoded = 1;
    }
    a.m_DisplayMode.SetImageSize(a.wImageWidth, a.wImageHeight);
    CurrentLiveWindowHooks().SetCurrentChannel(header.byDisplayChannel);

    if (!decoded) {
      ReleaseSemaphore(a.JPEGImageBufferFreeSem, 1, nullptr);
    } else {
      StoreToPreAlarmRing(staging, payload, timeStamp, noPicture ? 1 : 0, 3, 0, 0);
      if (imageIndex < std::size(a.ImageSlotInfo)) a.ImageSlotInfo[imageIndex].dw[4] = interval;
      a.wImageSlotPos = static_cast<uint16_t>(AdvancedIndex(imageIndex, a.wImageSlots));
      ReleaseSemaphore(a.JPEGImageBufferRelSem, 1, nullptr);
    }
    a.wJpegSlotPos = static_cast<uint16_t>(AdvancedIndex(a.wJpegSlotPos, a.wImageSlots));
    ReleaseSemaphore(a.SocketBufferFreeSem, 1, nullptr);
  }
}
