#include "session/app_header_reaction_host.h"

#include "app/app_data.h"
#include "live/live_messages.h"
#include "live/stream_pipeline.h"

std::string_view AppHeaderReactionHost::ProductId() const {
  return g_lpApp->str_ProductID;
}

uint8_t AppHeaderReactionHost::MultiChannel() const {
  return g_lpApp->byMultiChannel;
}

uint8_t AppHeaderReactionHost::AlarmTriggerFlag() const {
  return g_lpApp->m_Settings.m_byAlarmRecord;
}

uint8_t AppHeaderReactionHost::AlarmAutoSwitchVideo() const {
  return g_lpApp->m_Settings.m_byAlarmSwitchVideo;
}

bool AppHeaderReactionHost::IsAlarmSoundPlaying() const {
  return g_lpApp->fAlarmSoundPlaying != 0;
}

bool AppHeaderReactionHost::HasModel19_22_23() const {
  return g_lpApp->m_ControlD.HasModel19_22_23() != 0;
}

bool AppHeaderReactionHost::IsAlarmRecording() const {
  return g_lpApp->m_AlarmRecord.IsRecording();
}

DeviceTime AppHeaderReactionHost::LastDeviceTime() const {
  const SYSTEMTIME& s = g_lpApp->stDeviceTime;
  return DeviceTime{s.wYear, s.wMonth,  s.wDayOfWeek, s.wDay,
                    s.wHour, s.wMinute, s.wSecond,    s.wMilliseconds};
}

void AppHeaderReactionHost::StoreDeviceTime(const DeviceTime& t) {
  g_lpApp->stDeviceTime = SYSTEMTIME{t.wYear, t.wMonth,  t.wDayOfWeek, t.wDay,
                                     t.wHour, t.wMinute, t.wSecond,    t.wMilliseconds};
}

void AppHeaderReactionHost::PostDeviceClockChanged() {
  PostMessageA(g_lpApp->h_MainDialogHandle, WM_DEVICECLOCKCHANGED, 0, 0);
}

void AppHeaderReactionHost::PostAlarmAudio(uint32_t lParam) {
  PostMessageA(g_lpApp->h_MainDialogHandle, WM_POSTALARMAUDIO, 0, lParam);
}

void AppHeaderReactionHost::SwitchChannel(int channel) {
  g_lpApp->m_StreamPipeline.Window().SwitchChannel(channel);
}

void AppHeaderReactionHost::SetRETRState(uint8_t state) {
  g_lpApp->m_ControlD.SetRETRState(state);
}

void AppHeaderReactionHost::SetStatusText(const char* text) {
  g_lpApp->m_StreamPipeline.Window().SetStatusText(text);
}

void AppHeaderReactionHost::PostCmosState(uint8_t state) {
  g_lpApp->m_StreamPipeline.Window().PostCmosState(state);
}

void AppHeaderReactionHost::CreateAlarmRecordFile() {
  g_lpApp->m_AlarmRecord.CreateRecordFile(g_lpApp->m_Settings.m_strRecordPath);
}

void AppHeaderReactionHost::CloseAlarmRecordFile() {
  g_lpApp->m_AlarmRecord.CloseRecordFile();
}
