// The show thread: hands each decoded picture to the renderer and gives the image slot back
// once it has been drawn.
#include <windows.h>

#include <atomic>

#include "live/stream_pipeline.h"
#include "session/kernel_mailbox.h"
#include "session/stream_threads.h"

namespace {
constexpr DWORD kMaxPacedDelayMs = 200;
}  // namespace

DWORD WINAPI Jpeg_Show_Image_Data_Thread(LPVOID param) {
  CStreamPipeline& p = *static_cast<CStreamPipeline*>(param);
  CFrameRing<ImageSlotInfoRecord>& ring = p.m_ImageRing;
  // The stop event also ends the wait for the start, so a session that never started still
  // stops cleanly.
  if (!WaitUnlessStopped(p.h_EndofShowImageEvent, p.h_StartToShowImageEvent)) return 0;
  p.m_DrawDone.TryTake();  // a picture of an earlier session finished late

  bool held = false;
  uint32_t delay = 0;
  DWORD pacingStart = 0;
  bool pacingStarted = false;
  for (;;) {
    const int tick = p.m_MMTimer.Wait();
    if (!held) {
      if (!WaitUnlessStopped(p.h_EndofShowImageEvent, ring.h_FilledSem)) return 0;
      held = true;
      delay = ring.ReadRecord().dw[4];
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

    std::atomic_ref<uint32_t>(p.m_Statistics.dwShownFrames).fetch_add(1);
    p.lp_CurrentImage = ring.ReadSlot();
    ring.AdvanceRead();
    // The kernel message thread has the window draw it (CStreamPipeline::DrawCurrentFrame).
    SendKernelMessage(KM_DRAW_IMAGE, nullptr);
    held = false;

    if (!WaitUnlessStopped(p.h_EndofShowImageEvent, &p.m_DrawDone)) return 0;
    ring.ReleaseFree();
  }
}
