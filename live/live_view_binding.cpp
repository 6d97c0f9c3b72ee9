#include "live/live_view_binding.h"

#include <mutex>

#include "app/app_data.h"
#include "live/app_header_parser_host.h"
#include "live/live_window_hooks.h"

void BindLiveViewObjects() {
  static AppHeaderParserHost host;
  static std::mutex lock;
  std::lock_guard<std::mutex> guard(lock);
  APP_DATA& a = *g_lpApp;
  a.m_RTPHeaderParser.SetHost(&host);
  a.m_DisplayMode.Bind(DisplayModeBinding{
      &a.str_ProductID, &a.byStartVideoMode, &a.m_Settings.m_iImageResolution, &a.byImageSizeClass,
      &a.byAppliedSizeClass, &a.wLayoutId, HooksDisplayModeObserver()});
}
