#include "mainwnd/cmos_toolbar_dlg.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "app/app_data.h"
#include "live/live_messages.h"
#include "net/cgi_command_table.h"
#include "net/device_session.h"
#include "net/voroz_send_command.h"
#include "platform/dialog.h"
#include "platform/event_log.h"
#include "platform/gdi.h"
#include "platform/message_box.h"
#include "platform/tooltip.h"
#include "res/resource.h"
#include "ui/zev_button.h"

namespace {

constexpr int kCornerSize = 10;

}  // namespace

// The toolbar's window: the background, the eight buttons and their tool-tips.
class CmosToolBarWindow : public ost::Dialog {
 public:
  explicit CmosToolBarWindow(CCmosToolBarDlg& owner);
  ~CmosToolBarWindow() override;

  bool PreTranslateMessage(MSG* msg) override;

 protected:
  BOOL OnInitDialog() override;
  void OnPaint() override;
  // Enter and Escape neither default nor close the tool window.
  void OnOK() override {}
  void OnCancel() override {}
  void PostNcDestroy() override { m_owner.m_postTarget = nullptr; }

 private:
  void OnViewMode(int mode);
  void OnFlip(bool horizontal);
  LRESULT OnUpdateState(WPARAM wp, LPARAM lp);
  // Every button shows the reported state.
  void ShowStateButtons();
  void Send(uint8_t command, const std::string& query);

  CCmosToolBarDlg& m_owner;
  std::array<CZevButton, kCmosButtonCount> m_buttons;
  ost::Bitmap m_hToolBarBG;
  std::unique_ptr<ost::ToolTip> m_pToolTip;
};

CmosToolBarWindow::CmosToolBarWindow(CCmosToolBarDlg& owner)
    : ost::Dialog(CCmosToolBarDlg::kTemplateId, nullptr), m_owner(owner) {
  for (const CmosButton& b : kCmosButtons) {
    if (b.viewMode >= 0) {
      const int mode = b.viewMode;
      MapCommand(b.id, [this, mode] { OnViewMode(mode); });
    } else {
      const bool horizontal = b.id == kCmosHorizontalFlip;
      MapCommand(b.id, [this, horizontal] { OnFlip(horizontal); });
    }
  }
  MapMessage(WM_CMOSSTATE, &CmosToolBarWindow::OnUpdateState);
}

CmosToolBarWindow::~CmosToolBarWindow() {
  // The buttons and the tool-tip are children of the window: they go before it does.
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(UnsubclassWindow());
}

BOOL CmosToolBarWindow::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  // Without its tool-tip or its background the toolbar does not open.
  m_pToolTip = std::make_unique<ost::ToolTip>();
  if (!m_pToolTip->Create(m_hWnd, TTS_ALWAYSTIP) || !m_pToolTip->AddTool(m_hWnd, std::string()) ||
      !m_hToolBarBG.LoadFromFile(kCmosBackground)) {
    EndDialog(-1);
    return FALSE;
  }
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_BITMAP | BS_OWNERDRAW;
  for (int i = 0; i < kCmosButtonCount; ++i) {
    const CmosButton& b = kCmosButtons[i];
    CZevButton& button = m_buttons[i];
    const RECT rect{kCmosButtonX, b.y, kCmosButtonX + kCmosButtonSize, b.y + kCmosButtonSize};
    if (!button.Create("", style, rect, m_hWnd, b.id)) continue;
    m_pToolTip->AddTool(button.GetSafeHwnd(), static_cast<UINT>(b.id));
    // State 0 off, state 1 on; the face does not change under the mouse.
    const char* const faces[2][2] = {{b.up, b.up}, {b.down, b.down}};
    button.LoadButtonBitmap(2, faces, CZevButton::kStateListClick);
  }
  ShowStateButtons();
  ::SendMessageA(m_pToolTip->GetSafeHwnd(), TTM_ACTIVATE, TRUE, 0);
  return TRUE;
}

void CmosToolBarWindow::ShowStateButtons() {
  for (int i = 0; i < kCmosButtonCount; ++i) {
    if (m_buttons[i].GetSafeHwnd() != nullptr)
      m_buttons[i].SetState(CmosButtonState(m_owner.m_state, i));
  }
}

void CmosToolBarWindow::OnPaint() {
  ost::PaintDc paint(m_hWnd);
  if (m_hToolBarBG)
    ost::StretchBitmap(paint.Get(), RECT{0, 0, kCmosToolBarWidth, kCmosToolBarHeight},
                       m_hToolBarBG);
}

void CmosToolBarWindow::Send(uint8_t command, const std::string& query) {
  CgiReplyStatus status{};
  CgiRequest request;
  request.command = command;
  request.query = query.c_str();
  request.status = &status;
  if (VorozSendCommand(request, ProgramDeviceSession()) == 0)
    OstMessageBoxId(IDS_SEND_COMMAND_TIMEOUT);
}

void CmosToolBarWindow::OnViewMode(int mode) {
  // The click shows nothing new: the buttons change when the device reports the new view.
  ShowStateButtons();
  Send(kCgiOV9653Zoom, CmosZoomQuery(g_szCookie, mode));
}

void CmosToolBarWindow::OnFlip(bool horizontal) {
  ShowStateButtons();
  Send(kCgiOV9653Rotate, CmosFlipQuery(g_szCookie, m_owner.m_state, horizontal));
}

LRESULT CmosToolBarWindow::OnUpdateState(WPARAM wp, LPARAM) {
  if (UpdateCmosState(m_owner.m_state, static_cast<uint8_t>(wp))) {
    ShowStateButtons();
    const CmosSensorState& s = m_owner.m_state;
    EventLogWrite("sensor view=%u hr=%u vr=%u", s.byViewMode, s.bHorizontalFlip, s.bVerticalFlip);
  }
  return 0;
}

bool CmosToolBarWindow::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
    return true;
  if (m_pToolTip) m_pToolTip->RelayEvent(msg);
  return ost::Dialog::PreTranslateMessage(msg);
}

bool CCmosToolBarDlg::Create(HWND parent) {
  if (m_window) return false;
  auto window = std::unique_ptr<CmosToolBarWindow, void (*)(CmosToolBarWindow*)>(
      new CmosToolBarWindow(*this), [](CmosToolBarWindow* w) { delete w; });
  if (!window->Create()) return false;
  HWND hwnd = window->GetSafeHwnd();
  // A tool window of the main window: owned by it, kept above it, never clipped by it.
  if (parent != nullptr)
    ::SetWindowLongPtrA(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(parent));
  m_window = std::move(window);
  m_postTarget = hwnd;
  return true;
}

bool CCmosToolBarDlg::OpenBeside(HWND mainWindow) {
  if (!m_window || m_window->GetSafeHwnd() == nullptr) {
    Close();
    if (!Create(mainWindow)) return false;
  }
  HWND hwnd = m_window->GetSafeHwnd();
  ::ShowWindow(hwnd, SW_SHOW);
  RECT work{}, main{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  ::GetWindowRect(mainWindow, &main);
  const ScreenPoint at = CmosToolBarStartPlace(work.right - work.left, work.bottom - work.top,
                                               main.right - main.left, main.bottom - main.top);
  ::SetWindowPos(hwnd, HWND_TOP, at.x, at.y, kCmosToolBarWidth, kCmosToolBarHeight,
                 SWP_FRAMECHANGED);
  ost::Region region = ost::RoundRectRegion(RECT{0, 0, kCmosToolBarWidth, kCmosToolBarHeight},
                                            kCornerSize, kCornerSize);
  if (region && ::SetWindowRgn(hwnd, region.Get(), TRUE)) region.Release();
  return true;
}

void CCmosToolBarDlg::FollowMainWindow(HWND mainWindow) {
  HWND hwnd = GetSafeHwnd();
  if (hwnd == nullptr) return;
  RECT main{}, own{};
  ::GetWindowRect(mainWindow, &main);
  ::GetWindowRect(hwnd, &own);
  const int width = own.right - own.left;
  const ScreenPoint at = CmosToolBarFollowPlace(main.left, main.top, width);
  ::SetWindowPos(hwnd, HWND_TOP, at.x, at.y, width, own.bottom - own.top, SWP_FRAMECHANGED);
}

void CCmosToolBarDlg::PostState(uint8_t state) const {
  if (HWND target = m_postTarget.load()) ::PostMessageA(target, WM_CMOSSTATE, state, 0);
}

void CCmosToolBarDlg::Close() {
  m_postTarget = nullptr;
  m_window.reset();
}
