// The settings sheet's own push buttons (EXIT, APPLY, REBOOT), drawn in the dialog skin.
#pragma once

#include <windows.h>

#include "platform/controls.h"

class SheetButton : public ost::Button {
 protected:
  void PreSubclassWindow() override;
  void DrawItem(DRAWITEMSTRUCT* item) override;
};
