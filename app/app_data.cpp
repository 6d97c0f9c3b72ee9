#include "app/app_data.h"
#include "app/ctrl_file_load.h"

#include <cstdlib>
#include <cstring>

#include "app/login_store.h"
#include "platform/scoped_handle.h"

APP_DATA* g_lpApp = nullptr;
char g_szCookie[64] = {};

namespace {
template <typename T>
void FreeBufferSlot(T*& p) {
  if (p) {
    std::free(p);
    p = nullptr;
  }
}

using ost::CloseHandleSlot;

uint8_t* AllocateBytes(size_t n) {
  return static_cast<uint8_t*>(std::malloc(n));
}
}  // namespace

int CreateAppData(const AppDataParts& parts) {
  g_lpApp = new APP_DATA(parts);  // member initialisers give every creation value
  g_lpApp->str_ClientVersion = "1.0.6.0";
  g_lpApp->m_ControlD.BindAlarmRecordSettings(&g_lpApp->m_Settings.m_byRetrAlarmRecord,
                                              &g_lpApp->m_Settings.m_byAlarmRecord);
  FollowProgramSessionInSettings();
  g_lpApp->h_ConnectedEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  g_lpApp->m_MMTimer.SetResolution();
  g_lpApp->dwCtrlDeviceCount = 0;
  g_lpApp->lp_CtrlDeviceRecords = nullptr;
  const int loaded = LoadCtrlFile();
  MapProtocolsToDevices();
  std::memset(g_szCookie, 0, sizeof g_szCookie);
  return loaded;
}

int AllocateSystemBuffer() {
  APP_DATA& a = *g_lpApp;
  // The stream's rings and staging buffer; the slot counts and ring positions with them.
  const int stream = a.m_StreamPipeline.AllocateBuffers();
  const int preAlarm = a.m_PreAlarmBuffer.AllocateBuffer();
  const int records = a.m_AlarmRecord.AllocateBuffer() & a.m_UserRecord.AllocateBuffer() &
                      a.m_SchRecord.AllocateBuffer();
  if (!a.lp_ResizeBuffer) a.lp_ResizeBuffer = AllocateBytes(APP_DATA::kImageSlotBytes);
  if (!a.lp_MotionImage) a.lp_MotionImage = AllocateBytes(APP_DATA::kImageSlotBytes);
  // Every buffer a session thread writes must exist; what was allocated stays for the free.
  if (!stream || !a.lp_ResizeBuffer || !a.lp_MotionImage || !preAlarm || !records) return 0;
  return 1;
}

int FreeSystemBuffer() {
  if (!g_lpApp) return 1;
  APP_DATA& a = *g_lpApp;
  a.m_StreamPipeline.FreeBuffers();
  FreeBufferSlot(a.lp_ViewBuffer);
  FreeBufferSlot(a.lp_MotionImage);
  a.m_PreAlarmBuffer.FreeBuffer();
  a.m_AlarmRecord.FreeBuffer();
  a.m_UserRecord.FreeBuffer();
  a.m_SchRecord.FreeBuffer();
  FreeBufferSlot(a.lp_ResizeBuffer);
  return 1;
}

int InitialSemaphore() {
  APP_DATA& a = *g_lpApp;
  FreeSemaphore();  // a restart never piles up handles
  const int rings = a.m_StreamPipeline.CreateSemaphores();
  a.MotionEditImageSem = CreateSemaphoreA(nullptr, 0, 1, nullptr);
  const int records = a.m_AlarmRecord.CreateResource() & a.m_UserRecord.CreateResource() &
                      a.m_SchRecord.CreateResource();
  // A missing semaphore would let the stream threads overrun the rings: report it.
  if (!rings || !a.MotionEditImageSem || !records) return 0;
  return 1;
}

int FreeSemaphore() {
  if (!g_lpApp) return 1;
  APP_DATA& a = *g_lpApp;
  a.m_StreamPipeline.CloseSemaphores();
  CloseHandleSlot(a.MotionEditImageSem);
  a.m_AlarmRecord.CloseResource();
  a.m_UserRecord.CloseResource();
  a.m_SchRecord.CloseResource();
  return 1;
}
