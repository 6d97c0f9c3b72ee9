#include "record/record_app.h"

#include <windows.h>

#include "app/app_data.h"
#include "net/device_session.h"
#include "platform/module_path.h"
#include "platform/trace_log.h"
#include "session/main_window_link.h"
#include "session/session_messages.h"
#include "record/record_file_win32.h"

SystemConfig g_SystemConfig;

namespace {
Win32RecordFileSystem g_RecordFileSystem;
RecordFolderRecovery g_RecordRecovery;

RecordTime LocalNow() {
  SYSTEMTIME s;
  GetLocalTime(&s);
  return RecordTime{s.wYear, s.wMonth,  s.wDayOfWeek, s.wDay,
                    s.wHour, s.wMinute, s.wSecond,    s.wMilliseconds};
}

void TraceLine(const char* text) {
  TraceLogWrite(text);
}

class AppRecordHost : public RecordHost {
 public:
  RecordTime LocalTime() override { return LocalNow(); }
  std::string Cookie() override {
    return std::string(g_szCookie, strnlen(g_szCookie, sizeof g_szCookie));
  }
  std::string ServerName() override { return ProgramDeviceSession().Server(); }
  std::string UserName() override { return ProgramDeviceSession().User(); }
  void Trace(const char* text) override { TraceLogWrite(text); }
  void AlarmRecordReset() override {
    g_lpApp->m_RTPHeaderParser.m_wAlarmData = 0;
    PostClearOverlayTexts(kOverlayAlarmChannel);
  }
  void UserRecordEnded() override {
    PostMainWindowButtonState(kLayoutFlagRecord, 0);
    PostMainWindowStatusText("Record file write failed, recording stopped");
  }
};
AppRecordHost g_RecordHost;
RecordObjects* g_pBoundObjects = nullptr;
}  // namespace

void BindRecordObjects(RecordObjects& objects, const std::string& listFolder) {
  g_SystemConfig.Bind(&g_RecordFileSystem, listFolder.empty() ? ExecutableFolder() : listFolder,
                      TraceLine);
  g_RecordRecovery.Bind(&g_RecordFileSystem, &g_SystemConfig, TraceLine);
  const RecordContext ctx{&objects.m_PreAlarmBuffer, &g_RecordFileSystem, &g_SystemConfig,
                          &g_RecordHost, &g_RecordRecovery};
  objects.m_AlarmRecord.Bind(ctx);
  objects.m_UserRecord.Bind(ctx);
  objects.m_SchRecord.Bind(ctx);
  g_pBoundObjects = &objects;
  // The recorders' hook: the compose thread hands every good frame to the pre-alarm ring.
  g_lpApp->m_StreamPipeline.SetFrameStore(StoreToPreAlarmRing);
}

int RecoverRecordFolder(const std::string& folder) {
  return g_RecordRecovery.RecoverFolder(folder);
}

int StoreToPreAlarmRing(const uint8_t* jpeg, uint32_t length, uint32_t timeStamp,
                        uint32_t noPicture, uint32_t, uint32_t, uint32_t) {
  APP_DATA& a = *g_lpApp;
  StoredFrameMeta meta;
  meta.dwTimeStamp = timeStamp;
  meta.dwNoPicture = noPicture;
  meta.wWidth = a.wImageWidth;
  meta.wHeight = a.wImageHeight;
  meta.byChannel = a.m_Settings.m_bySelectedChannel;
  meta.stStored = LocalNow();
  return g_pBoundObjects->m_PreAlarmBuffer.Store(jpeg, length, meta);
}

uint32_t PreAlarmRingStoredFrames() {
  return g_lpApp && g_pBoundObjects ? g_pBoundObjects->m_PreAlarmBuffer.StoredFrames() : 0;
}
