#include "settings/dvr_edit_dialogs.h"

#include <cstdio>

#include "platform/message_box.h"
#include "ui/dark_skin.h"

namespace {

void FillCombo(HWND combo, std::initializer_list<const char*> items) {
  ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (const char* item : items)
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

void Select(HWND combo, int index) {
  ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Selected(HWND combo) {
  return static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
}

// Rewrites a number edit with its digits, clamped; only when that changes the text.
void ClampEdit(HWND edit, int hi) {
  const int v = ClampDigits(ost::WindowText(edit), 0, hi);
  if (v < 0) return;
  const std::string text = std::to_string(v);
  if (ost::WindowText(edit) == text) return;
  ost::SetWindowTextIfChanged(edit, text);
  ::SendMessageA(edit, EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
}

int EditNumber(HWND edit, int hi, int fallback) {
  const int v = ClampDigits(ost::WindowText(edit), 0, hi);
  return v < 0 ? fallback : v;
}

std::string Number(const char* format, int n) {
  char text[16];
  std::snprintf(text, sizeof text, format, n);
  return text;
}

}  // namespace

// ---- Device ----------------------------------------------------------------------------------

CDeviceEditDlg::CDeviceEditDlg(HWND parent, int rowNumber, const DeviceEdit& values)
    : ost::Dialog(kTemplateId, parent), m_rowNumber(rowNumber), m_values(values) {
  SetSkin(&ost::DarkDialogSkin());
}

BOOL CDeviceEditDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  SetItemText(kNumber, Number("%2d", m_rowNumber));
  FillCombo(GetDlgItem(kType), {"CAMERA", "PTZ"});
  FillCombo(GetDlgItem(kProtocol), {"NORMAL", "P-D"});
  HWND rate = GetDlgItem(kRate);
  ::SendMessageA(rate, CB_RESETCONTENT, 0, 0);
  for (const char* text : kDeviceBaudRateTexts)
    ::SendMessageA(rate, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  Select(GetDlgItem(kType), m_values.nType);
  Select(GetDlgItem(kProtocol), m_values.nProtocol);
  Select(rate, m_values.nRateIndex);
  SetItemText(kId, std::to_string(m_values.nId));
  return TRUE;
}

LRESULT CDeviceEditDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  // The ID is one byte on the line: the edit holds 0 to 255.
  if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE && LOWORD(wp) == kId) {
    ClampEdit(GetDlgItem(kId), 255);
    return 0;
  }
  return ost::Dialog::WindowProc(msg, wp, lp);
}

void CDeviceEditDlg::OnOK() {
  m_values.nType = Selected(GetDlgItem(kType));
  m_values.nProtocol = Selected(GetDlgItem(kProtocol));
  m_values.nRateIndex = Selected(GetDlgItem(kRate));
  m_values.nId = EditNumber(GetDlgItem(kId), 255, m_values.nId);
  EndDialog(IDOK);
}

// ---- Camera ----------------------------------------------------------------------------------

CCameraEditDlg::CCameraEditDlg(HWND parent, int rowNumber, const CameraEdit& values)
    : ost::Dialog(kTemplateId, parent), m_rowNumber(rowNumber), m_values(values) {
  SetSkin(&ost::DarkDialogSkin());
}

BOOL CCameraEditDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  SetItemText(kNumber, Number("%d", m_rowNumber));
  FillCombo(GetDlgItem(kCovert), {"NO", "YES"});
  FillCombo(GetDlgItem(kRecord), {"NO", "YES"});
  Select(GetDlgItem(kCovert), m_values.nCovert);
  Select(GetDlgItem(kRecord), m_values.nRecord);
  SetItemText(kBR, std::to_string(m_values.nBR));
  SetItemText(kCT, std::to_string(m_values.nCT));
  SetItemText(kST, std::to_string(m_values.nST));
  SetItemText(kHUE, std::to_string(m_values.nHUE));
  SetItemText(kTitle, m_values.title);
  return TRUE;
}

void CCameraEditDlg::FilterTitle() {
  if (m_bFiltering) return;
  HWND edit = GetDlgItem(kTitle);
  const TitleFilterResult r = FilterCameraTitle(ost::WindowText(edit));
  m_bFiltering = true;
  if (ost::WindowText(edit) != r.text) {
    ost::SetWindowTextIfChanged(edit, r.text);
    ::SendMessageA(edit, EM_SETSEL, r.text.size(), static_cast<LPARAM>(r.text.size()));
  }
  m_bFiltering = false;
  if (r.cut) OstMessageBoxId(4112, MB_OK | MB_ICONEXCLAMATION);
}

LRESULT CCameraEditDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
    switch (LOWORD(wp)) {
      case kTitle:
        FilterTitle();
        return 0;
      case kBR:
      case kCT:
      case kST:
      case kHUE:
        ClampEdit(GetDlgItem(LOWORD(wp)), 255);
        return 0;
    }
  }
  return ost::Dialog::WindowProc(msg, wp, lp);
}

void CCameraEditDlg::OnOK() {
  m_values.title = FilterCameraTitle(GetItemText(kTitle)).text;
  m_values.nBR = EditNumber(GetDlgItem(kBR), 255, m_values.nBR);
  m_values.nCT = EditNumber(GetDlgItem(kCT), 255, m_values.nCT);
  m_values.nST = EditNumber(GetDlgItem(kST), 255, m_values.nST);
  m_values.nHUE = EditNumber(GetDlgItem(kHUE), 255, m_values.nHUE);
  m_values.nCovert = Selected(GetDlgItem(kCovert));
  m_values.nRecord = Selected(GetDlgItem(kRecord));
  EndDialog(IDOK);
}
