#include "platform/tooltip.h"

#include <vector>

#include "platform/app.h"
#include "platform/strings.h"

namespace ost {
namespace {

// The structure size that every version of the control accepts.
TTTOOLINFOA ToolInfo(HWND owner, HWND tool) {
  TTTOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.uFlags = TTF_IDISHWND;
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  return info;
}

}  // namespace

bool ToolTip::Create(HWND owner, DWORD style) {
  EnsureCommonControls();
  if (!CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT,
                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, 0)) {
    return false;
  }
  m_owner = owner;
  return true;
}

bool ToolTip::AddTool(HWND tool, const std::string& text) {
  TTTOOLINFOA info = ToolInfo(m_owner, tool);
  info.lpszText = const_cast<char*>(text.c_str());  // the control keeps a copy
  return Send(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

bool ToolTip::AddTool(HWND tool, UINT stringId) {
  return AddTool(tool, LoadResString(stringId));
}

void ToolTip::UpdateTipText(HWND tool, const std::string& text) {
  TTTOOLINFOA info = ToolInfo(m_owner, tool);
  info.lpszText = const_cast<char*>(text.c_str());
  Send(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolTip::RelayEvent(const MSG* msg) {
  if (m_hWnd != nullptr && msg != nullptr) Send(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}

int ToolTip::GetToolCount() const {
  return static_cast<int>(Send(TTM_GETTOOLCOUNT));
}

std::string ToolTip::GetToolText(HWND tool) const {
  std::vector<char> buffer(1024, '\0');  // the control's largest tip text
  TTTOOLINFOA info = ToolInfo(m_owner, tool);
  info.lpszText = buffer.data();
  Send(TTM_GETTEXTA, buffer.size(), reinterpret_cast<LPARAM>(&info));
  return std::string(buffer.data());
}

}  // namespace ost
