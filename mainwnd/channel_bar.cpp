#include "mainwnd/channel_bar.h"

#include <string>

#include "app/app_data.h"
#include "ui/zev_button.h"
#include "mainwnd/control_messages.h"
#include "mainwnd/device_control_win32.h"
#include "platform/tooltip.h"

struct ChannelBarWindows {
  std::vector<std::unique_ptr<CZevButton>> buttons;
  ost::ToolTip toolTip;
  HWND hMessageWnd = nullptr;

  ~ChannelBarWindows() {
    buttons.clear();  // each button destroys the window it created
    if (hMessageWnd) DestroyWindow(hMessageWnd);
  }
};

namespace {
constexpr char kMessageClass[] = "OstrovaChannelBarMessages";

void DeleteWindows(ChannelBarWindows* w) {
  delete w;
}

void RegisterMessageClass(WNDPROC proc) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kMessageClass;
  RegisterClassA(&wc);  // a second registration fails harmlessly
}
}  // namespace

void CChannelBar::Destroy() {
  m_pWindows.reset();
}

uint8_t CChannelBar::DisplayMode() const {
  return g_lpApp ? TheDeviceControl().Port().State().byDisplayMode : 0;
}

int CChannelBar::Init(HWND parent) {
  Destroy();
  m_pWindows = {new ChannelBarWindows, &DeleteWindows};
  m_fHidden = false;
  RegisterMessageClass(&CChannelBar::MessageProc);
  HWND msgWnd = CreateWindowExA(0, kMessageClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (msgWnd) SetWindowLongPtrA(msgWnd, GWLP_USERDATA, LONG_PTR(this));
  m_pWindows->hMessageWnd = msgWnd;

  uint8_t& selected = g_lpApp->m_Settings.m_bySelectedChannel;
  m_Model.Init(g_lpApp->str_ProductID, g_lpApp->byMultiChannel, selected);
  if (!m_Model.Active()) return 1;

  m_pWindows->toolTip.Create(parent);
  const auto& defs = m_Model.Buttons();
  for (size_t i = 0; i < defs.size(); ++i) {
    const ChannelButtonDef& d = defs[i];
    auto button = std::make_unique<CZevButton>();
    const RECT rc{21, kChannelBarTop, 21 + d.wWidth, kChannelBarTop + d.wHeight};
    button->CreateControl("BUTTON", "", WS_CHILD | BS_PUSHBUTTON, rc, parent, d.wId);
    std::string files[4];
    for (int k = 0; k < 4; ++k) files[k] = "BMP\\" + d.szBitmap[k];
    const char* const faces[2][2] = {{files[0].c_str(), files[1].c_str()},
                                     {files[2].c_str(), files[3].c_str()}};
    button->LoadButtonBitmap(2, faces, CZevButton::kStateListSet);
    button->SetState(m_Model.ButtonState(i));
    m_pWindows->toolTip.AddTool(button->GetSafeHwnd(), ChannelBarTipText(d.wTipId));
    m_pWindows->buttons.push_back(std::move(button));
  }
  return Relayout();
}

int CChannelBar::Relayout() {
  if (!m_Model.Active() || m_fHidden || !m_pWindows) return 1;
  const auto placements = m_Model.Relayout(DisplayMode());
  const auto& buttons = m_pWindows->buttons;
  for (size_t i = 0; i < placements.size() && i < buttons.size(); ++i) {
    CZevButton& b = *buttons[i];
    const auto& p = placements[i];
    if (p.visible) {
      b.SetWindowPos(nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
      b.ShowWindow(SW_SHOW);
    } else {
      b.ShowWindow(SW_HIDE);
    }
  }
  return 1;
}

uint8_t CChannelBar::GetPageStart(uint8_t first) const {
  return m_Model.GetPageStart(first, DisplayMode());
}

uint8_t CChannelBar::GetPageSize() const {
  return m_Model.GetPageSize(DisplayMode());
}

int CChannelBar::GetChannelCount() const {
  return m_Model.GetChannelCount();
}

int CChannelBar::PrevPage() {
  return TheDeviceControl().PrevPage();
}

int CChannelBar::NextPage() {
  return TheDeviceControl().NextPage();
}

int CChannelBar::SwitchChannel(uint8_t channel) {
  return TheDeviceControl().SwitchChannel(channel);
}

int CChannelBar::SetCurrentChannel(uint8_t channel) {
  if (m_pWindows && m_pWindows->hMessageWnd)
    PostMessageA(m_pWindows->hMessageWnd, WM_CHANNELBAR_SETCURRENT, channel, 0);
  return 1;
}

int CChannelBar::PostSwitchChannel(uint8_t channel) {
  if (m_pWindows && m_pWindows->hMessageWnd)
    PostMessageA(m_pWindows->hMessageWnd, WM_CHANNELBAR_SWITCH, channel, 0);
  return 1;
}

int CChannelBar::ShowBar(int hide) {
  if (!m_Model.Active() || !m_pWindows) return 1;
  m_fHidden = hide != 0;
  if (!m_fHidden) return Relayout();  // RZ2K buttons have fixed places
  for (auto& b : m_pWindows->buttons) b->ShowWindow(SW_HIDE);
  return 1;
}

void CChannelBar::ApplyButtonStates() {
  if (!m_pWindows) return;
  const auto& defs = m_Model.Buttons();
  const auto& buttons = m_pWindows->buttons;
  for (size_t i = 0; i < defs.size() && i < buttons.size(); ++i) {
    buttons[i]->SetState(m_Model.ButtonState(i));
  }
}

void CChannelBar::RelayEvent(const MSG* msg) {
  if (m_pWindows) m_pWindows->toolTip.RelayEvent(msg);
}

HWND CChannelBar::ButtonWindow(uint16_t id) const {
  if (!m_pWindows) return nullptr;
  const auto& defs = m_Model.Buttons();
  const auto& buttons = m_pWindows->buttons;
  for (size_t i = 0; i < defs.size() && i < buttons.size(); ++i) {
    if (defs[i].wId == id) return buttons[i]->GetSafeHwnd();
  }
  return nullptr;
}

LRESULT CALLBACK CChannelBar::MessageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<CChannelBar*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self && msg == WM_CHANNELBAR_SETCURRENT) {
    TheDeviceControl().SetCurrentChannel(uint8_t(wp));
    return 0;
  }
  if (self && msg == WM_CHANNELBAR_SWITCH) {
    TheDeviceControl().SwitchChannel(uint8_t(wp));
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}
