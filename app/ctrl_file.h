// Loading of "CtrlFile.ini", the per-model key command scripts.
#pragma once

#include <cstdint>

// One device loaded from "CtrlFile.ini".
struct CtrlDeviceRecord {
  static constexpr int kScripts = 68;
  struct Script {
    uint8_t present;
    uint8_t* data;
  };
  Script scripts[kScripts];
  uint8_t* extra;
};

// Reads "CtrlFile.ini" beside the executable into the application data's device records.
// 1 when loaded, else 0 after showing "Open device control file is failed".
// Stand-in: the file must be present and readable; its sections are parsed by the device-control
// work.
int LoadCtrlFile();
// Links each model control table row to the loaded device of the same name.
void MapProtocolsToDevices();
// Frees the loaded device records.
void FreeCtrlDeviceRecords();
