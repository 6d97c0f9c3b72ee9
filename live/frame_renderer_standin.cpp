#include "live/frame_renderer_standin.h"

#include <mutex>

#include "app/app_data.h"

namespace {
std::mutex g_ObserverLock;
std::function<void(const ShownFrame&)> g_Observer;
}  // namespace

int DrawVideoFrameStandIn() {
  APP_DATA& a = *g_lpApp;
  const ShownFrame frame{a.lp_CurrentImage, a.wImageWidth, a.wImageHeight, a.fVideoLoss};
  {
    std::lock_guard<std::mutex> lock(g_ObserverLock);
    if (g_Observer) g_Observer(frame);
  }
  SetEvent(a.h_FinishShowImageJobEvent);
  return 1;
}

void SetShownFrameObserver(std::function<void(const ShownFrame&)> observer) {
  std::lock_guard<std::mutex> lock(g_ObserverLock);
  g_Observer = std::move(observer);
}
