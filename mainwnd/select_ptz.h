// The select-PTZ dialog's decisions: the number it starts with, which buttons a channel device
// gets, and the results its caller acts on.
#pragma once

#include "net/control_device_list.h"

// The dialog's result for "ESC" (back to the control centre); IDOK and IDCANCEL otherwise.
inline constexpr int kSelectPtzEscResult = 20;

struct SelectPtzStart {
  bool channelDevice;  // the current unit is in the channel group: no "ESC", CANCEL moved
  int selectNo;        // the current unit's 1-based position within its group
};
SelectPtzStart SelectPtzStartOf(const C_ControlD& list);

struct PixelRect {
  int x, y, width, height;
};
// Where CANCEL goes for a channel device: (172, 42) sized 98 x 37, each value times the screen
// scale and truncated.
PixelRect SelectPtzCancelPlace(float scale);
