#include "session/live_view_binding.h"

#include <mutex>

#include "app/app_data.h"
#include "net/device_family.h"
#include "session/app_header_reaction_host.h"

void BindLiveViewObjects() {
  static AppHeaderReactionHost host;
  static std::mutex lock;
  std::lock_guard<std::mutex> guard(lock);
  APP_DATA& a = *g_lpApp;
  CStreamPipeline& p = a.m_StreamPipeline;
  p.m_HeaderReactions.SetHost(&host);
  p.m_RTPHeaderParser.m_fPayloadCountsHeader = IsRZ8PProduct(a.str_ProductID) ? 1 : 0;
  p.m_DisplayMode.Bind(DisplayModeBinding{
      &a.str_ProductID, &a.byStartVideoMode, &a.m_Settings.m_iImageResolution, &a.byImageSizeClass,
      &a.byAppliedSizeClass, &a.wLayoutId, p.WindowDisplayModeObserver()});
}
