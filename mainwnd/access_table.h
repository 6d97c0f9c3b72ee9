// User classes: ControlAccessTable (level code, user level, which main and panel buttons each
// class may press) and the class of a device USERLEVEL.
#pragma once

#include <cstdint>

enum AccessClass : uint8_t {
  kAccessSupervisor = 0,
  kAccessHighUser = 1,
  kAccessGuest = 2,
  kAccessNormalUser = 3,
};

struct ControlAccessRow {
  uint8_t byClass;
  uint8_t byLevelCode;  // sent in key commands: 60, 40, 4, 20
  uint8_t byUserLevel;  // the device's USERLEVEL of the class: 30, 20, 0, 10
  uint32_t dwNameId;
  uint32_t dwButtonCount;  // entries of dwButtonId the access rules govern
  uint32_t dwButtonId[9];
  uint32_t dwButtonEnabled[9];
};

extern const ControlAccessRow ControlAccessTable[4];

// USERLEVEL 30 gives 0, 20 gives 1, 0 gives 2, anything else 3.
uint8_t AccessClassOfUserLevel(uint16_t userLevel);
// The row of a class; a class past the table counts as NORMAL USER.
const ControlAccessRow& AccessRowOf(uint8_t accessClass);
// Whether the class may press the button (one of the nine ids); ids not in the row: true.
bool ClassAllows(uint8_t accessClass, uint32_t buttonId);
