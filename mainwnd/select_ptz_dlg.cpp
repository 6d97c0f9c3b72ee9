#include "mainwnd/select_ptz_dlg.h"

#include <commctrl.h>

#include "platform/message_box.h"
#include "res/resource.h"
#include "ui/dark_skin.h"

CSelectPTZDlg::CSelectPTZDlg(HWND parent, const C_ControlD& list, float scale)
    : ost::Dialog(kTemplateId, parent), m_list(list), m_scale(scale) {
  MapCommand(kEscButton, [this] { EndDialog(kSelectPtzEscResult); });
  SetSkin(&ost::DarkDialogSkin());
}

CSelectPTZDlg::~CSelectPTZDlg() {
  // The tool-tip is owned by the window: it goes before the window does.
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(UnsubclassWindow());
}

void CSelectPTZDlg::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kNumberEdit, m_nSelectNo);
}

BOOL CSelectPTZDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  const SelectPtzStart start = SelectPtzStartOf(m_list);
  m_hEscButton = GetDlgItem(kEscButton);
  if (start.channelDevice) {
    // Only a camera can be chosen from a channel: OK and CANCEL, no way back.
    const PixelRect at = SelectPtzCancelPlace(m_scale);
    if (HWND cancel = GetDlgItem(IDCANCEL))
      ::MoveWindow(cancel, at.x, at.y, at.width, at.height, TRUE);
    if (m_hEscButton != nullptr) ::ShowWindow(m_hEscButton, SW_HIDE);
    FitAround(at);
    MatchOk(at);
  }
  m_nSelectNo = start.selectNo;
  m_pToolTip = std::make_unique<ost::ToolTip>();
  if (m_pToolTip->Create(m_hWnd, TTS_ALWAYSTIP)) {
    ost::SkinToolTip(m_pToolTip->GetSafeHwnd());
    if (m_hEscButton != nullptr)
      m_pToolTip->AddTool(m_hEscButton, static_cast<UINT>(IDS_TIP_BACK_TO_CONTROL_CENTER));
  }
  UpdateData(false);
  return TRUE;
}

void CSelectPTZDlg::FitAround(const PixelRect& cancel) {
  // CANCEL's place is in pixels, the dialog's size in dialog units: where the font is narrower
  // than the template's, the dialog grows so that CANCEL keeps a margin as wide as OK's.
  HWND ok = GetDlgItem(IDOK);
  if (ok == nullptr) return;
  RECT okRect{};
  ::GetWindowRect(ok, &okRect);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&okRect), 2);
  const RECT client = GetClientRect();
  const int wantWidth = cancel.x + cancel.width + okRect.left;
  const int wantHeight = cancel.y + cancel.height + (client.bottom - okRect.bottom);
  const int growX = wantWidth > client.right ? wantWidth - client.right : 0;
  const int growY = wantHeight > client.bottom ? wantHeight - client.bottom : 0;
  if (growX == 0 && growY == 0) return;
  const RECT frame = GetWindowRect();
  // Still centred where it was.
  MoveWindow(frame.left - growX / 2, frame.top - growY / 2, frame.right - frame.left + growX,
             frame.bottom - frame.top + growY);
}

void CSelectPTZDlg::MatchOk(const PixelRect& cancel) {
  // The two buttons left form one row of equal buttons.
  HWND ok = GetDlgItem(IDOK);
  if (ok == nullptr) return;
  RECT okRect{};
  ::GetWindowRect(ok, &okRect);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&okRect), 2);
  ::MoveWindow(ok, okRect.left, cancel.y, cancel.width, cancel.height, TRUE);
}

void CSelectPTZDlg::OnOK() {
  if (UpdateData(true)) {
    EndDialog(IDOK);
    return;
  }
  // The field keeps the focus until it holds a number.
  OstMessageBoxId(IDS_ENTER_INTEGER, MB_OK | MB_ICONEXCLAMATION);
  if (HWND edit = GetDlgItem(kNumberEdit)) {
    ::SetFocus(edit);
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
  }
}

bool CSelectPTZDlg::PreTranslateMessage(MSG* msg) {
  if (m_pToolTip) m_pToolTip->RelayEvent(msg);
  return ost::Dialog::PreTranslateMessage(msg);
}
