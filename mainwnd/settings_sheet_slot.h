// How the main window opens and closes the settings sheet, whose folder installs the two
// functions. Until one is installed the system-configuration button fetches the configuration
// and opens nothing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class MySystemDialog;

// What the sheet is given before its window is created.
struct SettingsSheetStart {
  std::string strRecordPath;
  std::string strSnapshotPath;
  std::string strWavPath;
  uint8_t byTurboStepIndex = 0;  // "Turbo repeat step" minus 1
  uint8_t byAlarmRecord = 0;     // "Alarm Trigger Record"
  uint16_t wSearchListHdd = 0;   // "Search List HDD"
  uint8_t bySearchListType = 0;  // "Search List Type"
  uint16_t wSearchListMax = 0;   // "Search List Max Number"
};

struct SettingsSheetFactory {
  // Creates the sheet modeless over parent with the caption string 3027; null when it could
  // not be created.
  MySystemDialog* (*create)(HWND parent, const SettingsSheetStart& start) = nullptr;
  // Destroys a sheet create made.
  void (*destroy)(MySystemDialog* sheet) = nullptr;
};

void SetSettingsSheetFactory(const SettingsSheetFactory& factory);
const SettingsSheetFactory& GetSettingsSheetFactory();
