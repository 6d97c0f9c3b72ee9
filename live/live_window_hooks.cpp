#include "live/live_window_hooks.h"

#include <atomic>

namespace {
LiveWindowHooks g_DefaultHooks;
std::atomic<LiveWindowHooks*> g_pInstalledHooks{nullptr};

// Forwards to whatever hooks are in use when each call is made.
class ForwardingObserver : public DisplayModeObserver {
 public:
  void RelayoutChannelBar() override { CurrentLiveWindowHooks().RelayoutChannelBar(); }
  void ChangeItemPositionForDeviceModified() override {
    CurrentLiveWindowHooks().ChangeItemPositionForDeviceModified();
  }
  void ReloadTurboBitmapsNQVGA() override { CurrentLiveWindowHooks().ReloadTurboBitmapsNQVGA(); }
  void ReloadTurboBitmapsNVGA() override { CurrentLiveWindowHooks().ReloadTurboBitmapsNVGA(); }
  void ReloadTurboBitmapsPQVGA() override { CurrentLiveWindowHooks().ReloadTurboBitmapsPQVGA(); }
  void ReloadTurboBitmapsPVGA() override { CurrentLiveWindowHooks().ReloadTurboBitmapsPVGA(); }
};
}  // namespace

LiveWindowHooks& CurrentLiveWindowHooks() {
  LiveWindowHooks* installed = g_pInstalledHooks.load();
  return installed ? *installed : g_DefaultHooks;
}

void InstallLiveWindowHooks(LiveWindowHooks* hooks) {
  g_pInstalledHooks = hooks;
}

DisplayModeObserver* HooksDisplayModeObserver() {
  static ForwardingObserver observer;
  return &observer;
}
