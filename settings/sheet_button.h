// The settings sheet's own push buttons (EXIT, APPLY, REBOOT), drawn flat in the sheet's skin.
#pragma once

#include <windows.h>

#include "platform/controls.h"

class SheetButton : public ost::Button {
 protected:
  void PreSubclassWindow() override;
  void DrawItem(DRAWITEMSTRUCT* item) override;
};
