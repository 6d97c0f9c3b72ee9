// Tooltip control.  Its tools are windows (a control, or the owner window itself) with a fixed
// text; mouse messages reach it through RelayEvent, called from PreTranslateMessage.
#ifndef OSTROVA_PLATFORM_TOOLTIP_H
#define OSTROVA_PLATFORM_TOOLTIP_H

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/wnd.h"

namespace ost {

class ToolTip : public Wnd {
 public:
  // Creates the tooltip window owned by `owner` (destroyed with it); TTS_ALWAYSTIP shows tips
  // whether or not the owner is active.
  bool Create(HWND owner, DWORD style = TTS_ALWAYSTIP);
  // Registers `tool` with a text, or with the string-table text of `stringId`.
  bool AddTool(HWND tool, const std::string& text);
  bool AddTool(HWND tool, UINT stringId);
  // Replaces the text of a registered tool.
  void UpdateTipText(HWND tool, const std::string& text);
  // Passes a mouse message on to the tooltip.
  void RelayEvent(const MSG* msg);
  int GetToolCount() const;
  // The text registered for `tool`; empty when it is not a tool.
  std::string GetToolText(HWND tool) const;

 private:
  HWND m_owner = nullptr;
};

}  // namespace ost

#endif  // OSTROVA_PLATFORM_TOOLTIP_H
