#include "live/app_header_parser_host.h"

#include "app/app_data.h"
#include "live/live_messages.h"
#include "live/live_window_hooks.h"

std::string_view AppHeaderParserHost::ProductId() const {
  return g_lpApp->str_ProductID;
}

uint8_t AppHeaderParserHost::MultiChannel() const {
  return g_lpApp->byMultiChannel;
}

uint8_t AppHeaderParserHost::AlarmTriggerFlag() const {
  return g_lpApp->m_Settings.m_byAlarmRecord;
}

uint8_t AppHeaderParserHost::AlarmAutoSwitchVideo() const {
  return g_lpApp->m_Settings.m_byAlarmSwitchVideo;
}

bool AppHeaderParserHost::IsAlarmSoundPlaying() const {
  return g_lpApp->fAlarmSoundPlaying != 0;
}

bool AppHeaderParserHost::HasModel19_22_23() const {
  const C_ControlD& list = g_lpApp->m_ControlD;
  for (int i = 0; i < list.Count(); ++i) {
    const C_ControlD::Entry& e = list.At(i);
    if ((e.wFlags & C_ControlD::kInUse) &&
        (e.byModelRow == 19 || e.byModelRow == 22 || e.byModelRow == 23))
      return true;
  }
  return false;
}

bool AppHeaderParserHost::IsAlarmRecording() const {
  return g_lpApp->m_AlarmRecord.IsRecording();
}

DeviceTime AppHeaderParserHost::LastDeviceTime() const {
  const SYSTEMTIME& s = g_lpApp->stDeviceTime;
  return DeviceTime{s.wYear, s.wMonth,  s.wDayOfWeek, s.wDay,
                    s.wHour, s.wMinute, s.wSecond,    s.wMilliseconds};
}

void AppHeaderParserHost::StoreDeviceTime(const DeviceTime& t) {
  g_lpApp->stDeviceTime = SYSTEMTIME{t.wYear, t.wMonth,  t.wDayOfWeek, t.wDay,
                                     t.wHour, t.wMinute, t.wSecond,    t.wMilliseconds};
}

void AppHeaderParserHost::PostDeviceClockChanged() {
  PostMessageA(g_lpApp->h_MainDialogHandle, WM_DEVICECLOCKCHANGED, 0, 0);
}

void AppHeaderParserHost::PostAlarmAudio(uint32_t lParam) {
  PostMessageA(g_lpApp->h_MainDialogHandle, WM_POSTALARMAUDIO, 0, lParam);
}

void AppHeaderParserHost::SwitchChannel(int channel) {
  CurrentLiveWindowHooks().SwitchChannel(channel);
}

void AppHeaderParserHost::SetRETRState(uint8_t state) {
  g_lpApp->m_ControlD.SetRETRState(state);
}

void AppHeaderParserHost::SetStatusText(const char* text) {
  CurrentLiveWindowHooks().SetStatusText(text);
}

void AppHeaderParserHost::PostCmosState(uint8_t state) {
  CurrentLiveWindowHooks().PostCmosState(state);
}

void AppHeaderParserHost::CreateAlarmRecordFile() {
  g_lpApp->m_AlarmRecord.CreateRecordFile(g_lpApp->m_Settings.m_strRecordPath);
}

void AppHeaderParserHost::CloseAlarmRecordFile() {
  g_lpApp->m_AlarmRecord.CloseRecordFile();
}
