// CModelLayout: the main window's row of main buttons for the device family (connect,
// resolution, quality, colour, snapshot, record, system configuration), created, skinned,
// placed and set into states on the main window's thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "res/tables/main_button_table.h"

class CZevButton;
namespace ost {
class ToolTip;
}

class CModelLayout {
 public:
  static constexpr int kMaxButtons = 10;

  // Creates the family's buttons (visible, owner-drawn) on the window at their places of the
  // layout class, each with its tool-tip. 1, or 0 creating nothing for a Product-ID of no
  // known family. `buttons` is the window's main-button array (kMaxButtons entries); it must
  // live until Detach.
  int ApplyModelLayout(CZevButton* buttons, HWND parent, ost::ToolTip* toolTip,
                       const std::string& productId, uint8_t multiChannel, uint8_t layoutClass);
  // Faces by the user class: allowed faces, or the denied ("_n") faces on a disabled button.
  int LoadButtonBitmaps(uint8_t accessClass);
  int PlaceButtons(uint8_t layoutClass);
  // 1 shows the buttons, 0 hides them, anything else does nothing.
  int ShowButtons(int show);
  // The first button whose record has the flag goes to the state; nothing when none has it.
  int SetButtonStateByFlag(uint32_t flag, int state);
  uint8_t GetFamilyMask() const { return m_Plan.byFamilyMask; }
  uint8_t ButtonCount() const { return m_Plan.byButtonCount; }
  // The window's buttons are gone: state changes are ignored from now on.
  void Detach();

 private:
  ModelLayoutPlan m_Plan{};
  CZevButton* m_pButtons = nullptr;
};
