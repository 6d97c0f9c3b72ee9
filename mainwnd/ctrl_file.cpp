#include "mainwnd/ctrl_file.h"

#include <cstdio>
#include <cstdlib>

#include "app/app_data.h"
#include "platform/module_path.h"
#include "platform/message_box.h"

int LoadCtrlFile() {
  const std::string path = ExecutableFolder() + "CtrlFile.ini";
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    OstMessageBox("Open device control file is failed");
    return 0;
  }
  std::fclose(f);
  return 1;
}

void MapProtocolsToDevices() {}

void FreeCtrlDeviceRecords() {
  if (!g_lpApp || !g_lpApp->lp_CtrlDeviceRecords) return;
  for (uint32_t i = 0; i < g_lpApp->dwCtrlDeviceCount; ++i) {
    CtrlDeviceRecord& r = g_lpApp->lp_CtrlDeviceRecords[i];
    for (auto& s : r.scripts) std::free(s.data);
    std::free(r.extra);
  }
  std::free(g_lpApp->lp_CtrlDeviceRecords);
  g_lpApp->lp_CtrlDeviceRecords = nullptr;
  g_lpApp->dwCtrlDeviceCount = 0;
}
