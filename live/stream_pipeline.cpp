#include "live/stream_pipeline.h"

#include <cstdlib>

namespace {
LiveViewWindow g_NoWindow;
}  // namespace

CStreamPipeline::CStreamPipeline() = default;

int CStreamPipeline::AllocateBuffers() {
  const int socket = m_SocketRing.Allocate(kSocketSlots, kSocketSlotBytes);
  if (!lp_JpegBuffer) lp_JpegBuffer = static_cast<uint8_t*>(std::malloc(kImageSlotBytes));
  const int image = m_ImageRing.Allocate(kImageSlots, kImageSlotBytes);
  wJpegSlotPos = 0;
  return socket && image && lp_JpegBuffer ? 1 : 0;
}

void CStreamPipeline::FreeBuffers() {
  std::free(lp_JpegBuffer);
  lp_JpegBuffer = nullptr;
  m_ImageRing.Free();
  m_SocketRing.Free();
  lp_CurrentImage = nullptr;
}

int CStreamPipeline::CreateSemaphores() {
  const int socket = m_SocketRing.CreateSemaphores(m_SocketRing.w_Slots - 1);
  const int image = m_ImageRing.CreateSemaphores(m_ImageRing.w_Slots);
  return socket && image ? 1 : 0;
}

void CStreamPipeline::CloseSemaphores() {
  m_SocketRing.CloseSemaphores();
  m_ImageRing.CloseSemaphores();
}

void CStreamPipeline::SetStopEvent(HANDLE event) {
  if (!event) return;
  SetEvent(event);
  m_SocketRing.InterruptWaits();
  m_ImageRing.InterruptWaits();
  m_DrawDone.Interrupt();
}

LiveViewWindow& CStreamPipeline::Window() {
  LiveViewWindow* window = m_pWindow.load();
  return window ? *window : g_NoWindow;
}

ShownFrame CStreamPipeline::CurrentFrame() const {
  return ShownFrame{lp_CurrentImage, wImageWidth, wImageHeight,
                    std::atomic_ref<const uint32_t>(fVideoLoss).load()};
}

int CStreamPipeline::DrawCurrentFrame() {
  const int drawn = Window().DrawVideoFrame(CurrentFrame());
  if (drawn) m_DrawDone.Release();
  return drawn;
}
