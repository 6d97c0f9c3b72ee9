// The compose thread: decodes each received picture into the image slot.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "app/app_data.h"
#include "live/compose_frame.h"
#include "live/jpeg_decode.h"
#include "live/stream_pipeline.h"
#include "session/stream_threads.h"

DWORD WINAPI Jpeg_Compose_Image_Data_Thread(LPVOID param) {
  CStreamPipeline& p = *static_cast<CStreamPipeline*>(param);
  CFrameRing<RTPH_Struct>& socketRing = p.m_SocketRing;
  CFrameRing<ImageSlotInfoRecord>& imageRing = p.m_ImageRing;
  // The receive thread has bound the live-view objects before it hands over the first frame.
  uint32_t previousTimeStamp = 0;
  CJpegDecoder decoder;
  for (;;) {
    if (!WaitUnlessStopped(p.h_EndofGetJpegImageEvent, socketRing.h_FilledSem)) return 0;

    const RTPH_Struct header = socketRing.ReadRecord();
    const uint32_t payload = std::min(header.dwPayloadLength, socketRing.dw_SlotBytes);
    const uint32_t timeStamp = header.dwTimeStamp;
    const bool noPicture = header.byNoPicture != 0;
    const uint32_t interval = FrameInterval(previousTimeStamp, timeStamp);
    previousTimeStamp = timeStamp;

    // The frame's own bytes go to the staging buffer also without picture, so that the
    // pre-alarm ring stores this frame and not an earlier one.
    uint8_t* staging = p.lp_JpegBuffer;
    std::memcpy(staging, socketRing.ReadSlot(), payload);
    socketRing.AdvanceRead();

    if (!WaitUnlessStopped(p.h_EndofGetJpegImageEvent, imageRing.h_FreeSem)) return 0;

    uint8_t* image = imageRing.WriteSlot();
    int decoded = 0;
    if (!noPicture) {
      std::atomic_ref<uint32_t>(p.fVideoLoss).store(0);
      decoded = decoder.Decode(staging, payload, image, imageRing.dw_SlotBytes, &p.wImageWidth,
                               &p.wImageHeight);
    } else {
      std::atomic_ref<uint32_t>(p.fVideoLoss).store(1);
      const BlankFrameSize size = BlankFrameSizeOf(header.byHalfWidth, g_lpApp->byVideoMode);
      p.wImageWidth = size.wWidth;
      p.wImageHeight = size.wHeight;
      std::memset(image, 0, size_t{size.wWidth} * size.wHeight * 3);
      decoded = 1;
    }
    p.m_DisplayMode.SetImageSize(p.wImageWidth, p.wImageHeight);
    p.Window().SetCurrentChannel(header.byDisplayChannel);

    if (!decoded) {
      imageRing.ReleaseFree();
    } else {
      // The recorders' hook: every good frame goes to the pre-alarm ring, paced by them.
      if (const ComposedFrameStore store = p.FrameStore())
        store(staging, payload, timeStamp, noPicture ? 1 : 0, 3, 0, 0);
      imageRing.WriteRecord().dw[4] = interval;
      imageRing.CommitWrite();
    }
    p.wJpegSlotPos = imageRing.Next(p.wJpegSlotPos);
    socketRing.ReleaseFree();
  }
}
