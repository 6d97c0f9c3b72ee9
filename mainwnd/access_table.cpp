#include "mainwnd/access_table.h"

const ControlAccessRow ControlAccessTable[4] = {
    {0,
     60,
     30,
     3011,
     8,
     {1002, 1007, 1008, 1004, 1005, 1006, 8192, 8193, 8311},
     {1, 1, 1, 1, 1, 1, 1, 1, 1}},
    {1,
     40,
     20,
     8332,
     8,
     {1002, 1007, 1008, 1004, 1005, 1006, 8192, 8193, 8311},
     {1, 1, 1, 1, 1, 0, 1, 1, 0}},
    {2,
     4,
     0,
     3013,
     8,
     {1002, 1007, 1008, 1004, 1005, 1006, 8192, 8193, 8311},
     {1, 0, 0, 0, 0, 0, 0, 0, 0}},
    {3,
     20,
     10,
     3012,
     8,
     {1002, 1007, 1008, 1004, 1005, 1006, 8192, 8193, 8311},
     {1, 0, 0, 1, 1, 0, 1, 1, 0}},
};

uint8_t AccessClassOfUserLevel(uint16_t userLevel) {
  switch (userLevel) {
    case 30:
      return kAccessSupervisor;
    case 20:
      return kAccessHighUser;
    case 0:
      return kAccessGuest;
    default:
      return kAccessNormalUser;
  }
}

const ControlAccessRow& AccessRowOf(uint8_t accessClass) {
  return ControlAccessTable[accessClass < 4 ? accessClass : uint8_t{kAccessNormalUser}];
}

bool ClassAllows(uint8_t accessClass, uint32_t buttonId) {
  const ControlAccessRow& row = AccessRowOf(accessClass);
  for (int i = 0; i < 9; ++i)
    if (row.dwButtonId[i] == buttonId) return row.dwButtonEnabled[i] != 0;
  return true;
}
