// The live stream's pipeline, from the socket to the window: the socket ring (pictures and
// their parsed headers) from the receive thread to the compose thread, the staging buffer and
// the decoded-image ring from the compose thread to the show thread, the frame-header parser
// and the header's reactions, the display mode and the frame timer, the stream's events, flags
// and statistics, the window that draws the pictures and the recorders' store. The application data
// owns one; the three stream threads get it as their start parameter.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "live/display_mode.h"
#include "live/frame_ring.h"
#include "live/header_reactions.h"
#include "live/live_view_window.h"
#include "live/mm_timer.h"
#include "live/rtp_header_parser.h"
#include "live/rtph_struct.h"

struct ImageSlotInfoRecord {
  uint32_t dw[5];  // the last word is the slot's display interval in ms
};

// Rates for the status line. The receive thread counts bytes and the show thread frames
// (interlocked); the renderer turns them into rates.
struct StreamStatistics {
  uint32_t dwRateTick = 0;   // tick of the last rate update (or of the stream's start)
  uint32_t dwRateBytes = 0;  // bytes of accepted frames since then
  uint32_t dwLastKbps = 0;
  uint32_t dwShownFrames = 0;  // pictures handed to the renderer
  uint32_t dwRateFramesLast = 0, dwRateFramesNow = 0;
};

// The compose step's store of each good frame, in StoreToPreAlarmRing's shape: the picture's
// bytes and length, its time stamp, 1 for a frame without picture, three words it does not use.
using ComposedFrameStore = int (*)(const uint8_t* jpeg, uint32_t length, uint32_t timeStamp,
                                   uint32_t noPicture, uint32_t, uint32_t, uint32_t);

// Waits without time-out for a stop event (index 0) or another handle (index 1): true when the
// other one came first, false on the stop or a failed wait.
inline bool WaitUnlessStopped(HANDLE stopEvent, HANDLE other) {
  const HANDLE handles[] = {stopEvent, other};
  return WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
}
// The same for a ring's slot: true when a slot was taken; false on the stop or without the
// semaphore.
inline bool WaitUnlessStopped(HANDLE stopEvent, CRingSemaphore* slots) {
  return slots && slots->Wait(&stopEvent, 1, INFINITE) == WAIT_OBJECT_0;
}

class CStreamPipeline {
 public:
  static constexpr uint16_t kSocketSlots = 2;
  static constexpr uint16_t kImageSlots = 1;
  static constexpr uint32_t kSocketSlotBytes = 102400;
  static constexpr uint32_t kImageSlotBytes = 1572864;

  CStreamPipeline();
  CStreamPipeline(const CStreamPipeline&) = delete;
  CStreamPipeline& operator=(const CStreamPipeline&) = delete;

  // The rings and the staging buffer, allocated once, positions 0; what exists is kept. 1, or
  // 0 when an allocation failed.
  int AllocateBuffers();
  // Frees them; lp_CurrentImage becomes null. A second call changes nothing.
  void FreeBuffers();
  // (Re)creates the ring semaphores: socket free (slots - 1, slots - 1) and filled
  // (0, slots - 1); image free (slots, slots) and filled (0, slots). 1, or 0 when one is
  // missing.
  int CreateSemaphores();
  void CloseSemaphores();
  // Sets a stop event of the stream threads (nothing without it) and has the threads waiting
  // on a ring's slot or on the renderer look at their stop events at once.
  void SetStopEvent(HANDLE event);

  // The window in use: the installed one, or a default that does nothing. An installed window
  // must outlive the stream threads and the kernel message thread's drawing, or be replaced
  // first (null: back to the default).
  void SetWindow(LiveViewWindow* window) { m_pWindow = window; }
  LiveViewWindow& Window();
  // Passes each display-mode call to the window in use at that moment.
  DisplayModeObserver* WindowDisplayModeObserver() { return &m_WindowObserver; }

  // Recording installs the compose step's store; without one, frames are not stored.
  void SetFrameStore(ComposedFrameStore store) { m_FrameStore = store; }
  ComposedFrameStore FrameStore() const { return m_FrameStore.load(); }

  // Kernel message thread, code 2: has the window draw lp_CurrentImage and, when it is done
  // with the picture, gives m_DrawDone. The window's result.
  int DrawCurrentFrame();
  ShownFrame CurrentFrame() const;

  // Receive thread -> compose thread.
  CFrameRing<RTPH_Struct> m_SocketRing;
  // Compose thread: each picture is copied here before it is decoded.
  uint8_t* lp_JpegBuffer = nullptr;
  uint16_t wJpegSlotPos = 0;
  // Compose thread -> show thread: decoded pictures and their display intervals.
  CFrameRing<ImageSlotInfoRecord> m_ImageRing;
  // Show thread -> renderer, and the renderer's "done with the picture" back (inside the
  // process, like the rings' semaphores).
  uint8_t* lp_CurrentImage = nullptr;
  CRingSemaphore m_DrawDone{0, 1};
  uint16_t wImageWidth = 0, wImageHeight = 0;  // of the last decoded or blank picture
  uint32_t fVideoLoss = 0;                     // 1 while the picture is a blank one (interlocked)

  CRTPHeaderParser m_RTPHeaderParser;
  CHeaderReactions m_HeaderReactions{m_RTPHeaderParser};
  CDisplayMode m_DisplayMode;
  CMMTimer m_MMTimer;
  StreamStatistics m_Statistics;

  // Session and stream state shown by the main window.
  uint32_t SessionActiveFlag = 0;  // the receive thread serves a session
  uint32_t StreamRunningFlag = 0;  // the receive thread searches frames
  uint32_t fVideoConnected = 0;    // frames are arriving; the renderer draws only then

  // Events of the stream threads (created per session, owned by the session's resources).
  HANDLE h_StartToGetJpegImageEvent = nullptr;
  HANDLE h_EndofGetJpegImageEvent = nullptr;  // manual-reset: ends receive and compose
  HANDLE h_StartToShowImageEvent = nullptr;
  HANDLE h_EndofShowImageEvent = nullptr;
  HANDLE h_FinishShowImageJobEvent = nullptr;             // exists while the session's resources do
  HANDLE h_NotifyGetJPEGImageThreadResetEvent = nullptr;  // the quiet stop request
  HANDLE h_FeedBackForNotifyResetEvent = nullptr;         // its answer

 private:
  class WindowObserver : public DisplayModeObserver {
   public:
    explicit WindowObserver(CStreamPipeline& pipeline) : m_Pipeline(pipeline) {}
    void RelayoutChannelBar() override { m_Pipeline.Window().RelayoutChannelBar(); }
    void ChangeItemPositionForDeviceModified() override {
      m_Pipeline.Window().ChangeItemPositionForDeviceModified();
    }
    void ReloadTurboBitmapsNQVGA() override { m_Pipeline.Window().ReloadTurboBitmapsNQVGA(); }
    void ReloadTurboBitmapsNVGA() override { m_Pipeline.Window().ReloadTurboBitmapsNVGA(); }
    void ReloadTurboBitmapsPQVGA() override { m_Pipeline.Window().ReloadTurboBitmapsPQVGA(); }
    void ReloadTurboBitmapsPVGA() override { m_Pipeline.Window().ReloadTurboBitmapsPVGA(); }

   private:
    CStreamPipeline& m_Pipeline;
  };

  std::atomic<LiveViewWindow*> m_pWindow{nullptr};
  std::atomic<ComposedFrameStore> m_FrameStore{nullptr};
  WindowObserver m_WindowObserver{*this};
};
