// Stand-in until the session work brings the kernel mailbox, its threads and the stream
// threads: only what start-up and shut-down need of the resource groups.
#include "app/session_resources.h"

#include "app/app_data.h"

namespace {
void CloseHandleSlot(HANDLE& h) {
  if (h) {
    CloseHandle(h);
    h = nullptr;
  }
}
}  // namespace

int InitProcessResource() { return g_lpApp ? 1 : 0; }

int InitLoginResource() {
  if (!g_lpApp) return 0;
  g_lpApp->StreamFormatCode = 0;
  return 1;
}

int ExitLoginResource() {
  if (!g_lpApp) return 1;
  g_lpApp->m_AlarmRecord.CloseThread();
  g_lpApp->m_UserRecord.CloseThread();
  g_lpApp->m_SchRecord.CloseThread();
  return 1;
}

int ExitProcessResource() {
  if (!g_lpApp) return 1;
  APP_DATA& a = *g_lpApp;
  a.m_MMTimer.Stop();
  CloseHandleSlot(a.h_ConnectedEvent);
  if (a.h_RenderMemDC) {
    DeleteDC(a.h_RenderMemDC);
    a.h_RenderMemDC = nullptr;
  }
  CloseHandleSlot(a.m_NetworkBackupState.h_NetworkBkMutex);
  FreeCtrlDeviceRecords();
  return 1;
}
