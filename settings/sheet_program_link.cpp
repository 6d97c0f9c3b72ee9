#include "settings/sheet_program_link.h"

#include <windows.h>

#include <cstring>
#include <mutex>
#include <optional>
#include <string>

#include "app/app_data.h"
#include "net/device_session.h"
#include "settings/motion_frame_source.h"

namespace {

// The renderer's hand-over of the next frame it draws, in the application data.
class AppMotionFrameSource : public MotionFrameSource {
 public:
  void Request() override {
    APP_DATA* a = g_lpApp;
    if (!a) return;
    ::InterlockedExchange(Flag(*a), 0);
    if (a->MotionEditImageSem) ::WaitForSingleObject(a->MotionEditImageSem, 0);
    ::InterlockedExchange(Flag(*a), 1);
  }
  void Cancel() override {
    if (APP_DATA* a = g_lpApp) ::InterlockedExchange(Flag(*a), 0);
  }
  HANDLE Ready() const override { return g_lpApp ? g_lpApp->MotionEditImageSem : nullptr; }
  MotionPicture Take(uint8_t* out, size_t outCapacity) override {
    APP_DATA* a = g_lpApp;
    if (!a || !a->lp_MotionImage) return {};
    return TakeMotionPicture(a->lp_MotionImage, APP_DATA::kImageSlotBytes, a->wMotionImageWidth,
                             a->wMotionImageHeight, out, outCapacity);
  }

 private:
  static volatile LONG* Flag(APP_DATA& a) {
    static_assert(sizeof a.fMotionImageRequest == sizeof(LONG));
    return reinterpret_cast<volatile LONG*>(&a.fMotionImageRequest);
  }
};

class AppSheetProgram : public SheetProgram {
 public:
  std::string Cookie() const override {
    std::lock_guard<std::mutex> lock(SessionMutex());
    return std::string(g_szCookie, strnlen(g_szCookie, sizeof g_szCookie));
  }
  std::string ExeDir() const override {
    return g_lpApp ? g_lpApp->m_Settings.m_strExeDir : std::string();
  }
  std::optional<std::string> MacAddress() const override {
    if (!g_lpApp) return std::nullopt;
    return std::string(g_lpApp->str_MACAddress, sizeof g_lpApp->str_MACAddress);
  }
  uint8_t VideoMode() const override { return g_lpApp ? g_lpApp->byVideoMode : 0; }
  bool AlarmListOnDvr() const override { return g_lpApp && g_lpApp->m_ControlD.HasModel19_22_23(); }
  HWND MainWindow() const override { return g_lpApp ? g_lpApp->h_MainDialogHandle : nullptr; }
  bool ChannelDeviceCurrent() const override {
    return g_lpApp && g_lpApp->m_ControlD.IsCurrentChannelDevice();
  }
  MotionFrameSource* MotionFrames() const override {
    static AppMotionFrameSource source;
    return &source;
  }
  std::optional<uint8_t> AlarmSwitchVideo() const override {
    if (!g_lpApp) return std::nullopt;
    return g_lpApp->m_Settings.m_byAlarmSwitchVideo;
  }
  std::optional<SheetBackupChoices> BackupChoices() const override {
    if (!g_lpApp) return std::nullopt;
    return SheetBackupChoices{g_lpApp->m_Settings.m_iDynamicDownload != 0,
                              g_lpApp->m_Settings.m_iWriteCD != 0};
  }
  std::string NetworkFileDir() const override {
    return g_lpApp ? g_lpApp->m_Settings.m_strNetworkFileDir : std::string();
  }
  void SetDynamicDownload(bool on) override {
    if (g_lpApp) g_lpApp->m_Settings.m_iDynamicDownload = on;
  }
  void SetNetworkFileDir(const std::string& dir) override {
    if (g_lpApp) g_lpApp->m_Settings.m_strNetworkFileDir = dir;
  }
  void SetAccount(const std::string& user, const std::string& password) override {
    if (!g_lpApp) return;
    g_lpApp->m_Settings.m_strUsername = user;
    g_lpApp->m_Settings.m_strPassword = password;
  }
  void SetDeviceTitle(const std::string& title) override {
    if (g_lpApp) g_lpApp->str_DeviceTitle = title;
  }
  void ClearStreamAlarm() override {
    if (g_lpApp) g_lpApp->m_RTPHeaderParser.TestAndClearAlarm();
  }
};

}  // namespace

SheetProgram& ProgramSheetLink() {
  static AppSheetProgram program;
  return program;
}
