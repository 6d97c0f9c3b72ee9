// Device control over the application data, VorozSendCommand on the program's device session and
// the program's message boxes.
#include "mainwnd/device_control_win32.h"

#include <optional>

#include "app/app_data.h"
#include "app/ctrl_file_load.h"
#include "mainwnd/channel_bar.h"
#include "mainwnd/control_messages.h"
#include "net/control_message_texts.h"
#include "net/device_session.h"
#include "net/voroz_send_command.h"
#include "platform/message_box.h"

namespace {

class AppDeviceControlPort : public DeviceControlPort {
 public:
  DeviceControlState State() const override {
    DeviceControlState s;
    const APP_DATA& a = *g_lpApp;
    s.productId = a.str_ProductID;
    s.firmware = a.str_FWVersion;
    s.dwCapabilityMask = a.dwDeviceCapabilityMask;
    s.byMultiChannel = a.byMultiChannel;
    s.byAccessClass = a.byUserClass;
    s.cookie = g_szCookie;
    s.fTurboOn = a.fTurboMode != 0;
    s.fPresetMode = a.fActionPresetMode != 0;
    s.fSessionActive = a.SessionActiveFlag != 0;
    s.byTurboStep = a.byTurboRepeatStep;
    s.byDisplayMode = a.m_DisplayMode.GetMode();
    return s;
  }

  DeviceReply Send(const DeviceRequest& r) override {
    CgiReplyStatus status{};
    std::string reply(r.replyCapacity, '\0');
    uint32_t length = 0;
    CgiRequest send;
    send.command = r.command;
    send.query = r.query.c_str();
    send.body = r.body.empty() ? nullptr : r.body.data();
    send.bodyLength = uint32_t(r.body.size());
    send.reply = r.replyCapacity ? reply.data() : nullptr;
    send.replyCapacity = r.replyCapacity;
    send.options = {.sendTimeoutSeconds = r.timeoutSeconds,
                    .receiveTimeoutSeconds = r.timeoutSeconds};
    send.status = &status;
    send.replyLength = r.replyCapacity ? &length : nullptr;
    const int ok = VorozSendCommand(send, ProgramDeviceSession());
    reply.resize(ok ? length : 0);
    return {ok == 1, std::move(reply)};
  }

  void ShowMessage(uint32_t id) override { OstMessageBox(ControlMessageText(id)); }

  const CtrlDeviceRecord* RecordOfModelRow(uint8_t row) const override {
    return ModelDeviceRecord(row);
  }

  uint16_t KeyFlags(uint8_t row, uint8_t key) const override {
    return hooks.keyFlags ? hooks.keyFlags(row, key) : DefaultKeyFlags(row, key);
  }

  void Minimise() override { Run(hooks.minimise); }
  void EnterFullScreen() override { Run(hooks.enterFullScreen); }
  void CloseMainWindow() override { Run(hooks.closeMainWindow); }
  void OpenPlaybackSearch() override { Run(hooks.openPlaybackSearch); }
  void ApplyLayout() override { Run(hooks.applyLayout); }
  void PlaceChannelButtons() override { g_lpApp->m_ChannelBar.Relayout(); }
  void SetChannelButtonStates() override { g_lpApp->m_ChannelBar.ApplyButtonStates(); }

  DeviceControlWindowHooks hooks;

 private:
  // A copy: the action may replace the hooks (closing the main window clears them).
  static void Run(std::function<void()> f) {
    if (f) f();
  }
};

AppDeviceControlPort& ThePort() {
  static AppDeviceControlPort port;
  return port;
}

void PostRetrButtonState(void*, int state) {
  if (g_lpApp && g_lpApp->h_MainDialogHandle)
    PostMessageA(g_lpApp->h_MainDialogHandle, WM_RETRBUTTONSTATE, WPARAM(state), 0);
}

}  // namespace

DeviceControl& TheDeviceControl() {
  // Bound to the application data object in use (tests create one per case).
  static APP_DATA* bound = nullptr;
  static std::optional<DeviceControl> control;
  if (!control || bound != g_lpApp) {
    bound = g_lpApp;
    control.emplace(ThePort(), g_lpApp->m_ControlD, g_lpApp->m_ChannelBar.Model(),
                    g_lpApp->m_Settings.m_bySelectedChannel);
  }
  return *control;
}

void SetDeviceControlWindowHooks(const DeviceControlWindowHooks& hooks) {
  ThePort().hooks = hooks;
}

bool OnDeviceControlCommand(uint16_t id) {
  return TheDeviceControl().OnCommand(id);
}

void SendControlKey(int turbo, uint16_t key) {
  TheDeviceControl().SendControlKey(turbo, key);
}

int SendRs485Command(const ControlCommandScript& script, uint8_t repeat, uint16_t keyFlags) {
  return TheDeviceControl().SendRs485Command(script, repeat, keyFlags);
}

int RefreshSlaveList() {
  return TheDeviceControl().RefreshSlaveList();
}

void InstallRetrButtonNotifier(C_ControlD& list) {
  list.SetRetrButtonNotifier(&PostRetrButtonState, nullptr);
}
