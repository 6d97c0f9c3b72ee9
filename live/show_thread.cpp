// The show thread: hands each decoded picture to the renderer and gives the image slot back
// once it has been drawn.
#include <windows.h>

#include <atomic>
#include <iterator>

#include "app/app_data.h"
#include "session/kernel_mailbox.h"
#include "live/stream_threads.h"

namespace {
constexpr DWORD kMaxPacedDelayMs = 200;

// True when the second handle came first.
bool WaitUnlessStopped(HANDLE stopEvent, HANDLE other) {
  const HANDLE handles[] = {stopEvent, other};
  return WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
}
}  // namespace

DWORD WINAPI Jpeg_Show_Image_Data_Thread(LPVOID) {
  APP_DATA& a = *g_lpApp;
  // The stop event also ends the wait for the start, so a session that never started still
  // stops cleanly.
  if (!WaitUnlessStopped(a.h_EndofShowImageEvent, a.h_StartToShowImageEvent)) return 0;

  uint16_t readIndex = 0;
  bool held = false;
  uint32_t delay = 0;
  DWORD pacingStart = 0;
  bool pacingStarted = false;
  for (;;) {
    const int tick = a.m_MMTimer.Wait();
    if (!held) {
      if (!WaitUnlessStopped(a.h_EndofShowImageEvent, a.JPEGImageBufferRelSem)) return 0;
      held = true;
      delay = readIndex < std::size(a.ImageSlotInfo) ? a.ImageSlotInfo[readIndex].dw[4] : 0;
    }
    // Pacing by the frame timer's ticks; the timer is never enabled, so pictures go on at once.
    if (tick == 0) {
      const DWORD now = GetTickCount();
      if (!pacingStarted) {
        pacingStart = now;
        pacingStarted = true;
      }
      if (delay > 0 && delay < kMaxPacedDelayMs && now - pacingStart < delay) continue;
      pacingStart = now;
    }

    std::atomic_ref<uint32_t>(a.dwShownFrames).fetch_add(1);
    a.lp_CurrentImage = a.lp_ImageBuffer + size_t{readIndex} * APP_DATA::kImageSlotBytes;
    readIndex = static_cast<uint16_t>(a.wImageSlots ? (readIndex + 1u) % a.wImageSlots : 0);
    SendKernelMessage(KM_DRAW_IMAGE, nullptr);
    held = false;

    if (!WaitUnlessStopped(a.h_EndofShowImageEvent, a.h_FinishShowImageJobEvent)) return 0;
    ReleaseSemaphore(a.JPEGImageBufferFreeSem, 1, nullptr);
  }
}
