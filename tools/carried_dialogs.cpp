#include "tools/carried_dialogs.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app_data.h"
#include "net/cgi_param_list.h"
#include "net/device_session.h"
#include "net/voroz_send_command.h"
#include "platform/message_box.h"
#include "platform/strings.h"
#include "platform/trace_log.h"

namespace {

constexpr COLORREF kBack = RGB(0x1E, 0x22, 0x28);

// Dialog background and labels in the skin's colours.
HBRUSH DarkColours(HDC dc, UINT type, const ost::Brush& back) {
  if (type != WM_CTLCOLORDLG && type != WM_CTLCOLORSTATIC && type != WM_CTLCOLORBTN) return nullptr;
  ::SetTextColor(dc, ost::kEditText);
  ::SetBkColor(dc, kBack);
  return back.Get();
}

// Drags the window from the point of a click, as its caption would.
void DragFrom(HWND hwnd, POINT point) {
  ::PostMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}

void ExitTheProcess(UINT exitCode) {
  ::ExitProcess(exitCode);
}

}  // namespace

HANDLE DetectServerEvent() {
  static HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);  // lives with the process
  return event;
}

// ---- CConnectingDlg

void (*CConnectingDlg::s_pfnEndProgram)(UINT) = &ExitTheProcess;
int CConnectingDlg::s_nDotCount = 1;

CConnectingDlg::CConnectingDlg(HWND parent) : ost::Dialog(kTemplateId, parent) {
  MapCommand(kCancelButton, &CConnectingDlg::OnButtonCancel);
}

BOOL CConnectingDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  m_backBrush = ost::SolidBrush(kBack);
  SetTimer(kDotTimer, 100);
  SetTimer(kGiveUpTimer, m_uGiveUpMs);
  return TRUE;
}

void CConnectingDlg::OnTimer(UINT_PTR id) {
  const std::string word = ost::LoadResString(kIdsConnecting);
  if (id == kDotTimer) {
    const std::string text = word + std::string(static_cast<size_t>(s_nDotCount), '.');
    ::SetDlgItemTextA(m_hWnd, kLabel, text.c_str());
    s_nDotCount = s_nDotCount > 10 ? 1 : s_nDotCount + 1;
    if (::WaitForSingleObject(DetectServerEvent(), 10) == WAIT_OBJECT_0) m_fDone = 1;
  } else if (id == kGiveUpTimer) {
    KillTimer(kGiveUpTimer);
    OstMessageBoxId(kIdsCannotDetectServer);
    s_pfnEndProgram(0);
  }
  ::UpdateWindow(m_hWnd);
  if (m_fDone) {
    KillTimer(kDotTimer);
    KillTimer(kGiveUpTimer);
    EndDialog(0);
  }
  Default();
}

void CConnectingDlg::OnButtonCancel() {
  s_pfnEndProgram(0);
}

HBRUSH CConnectingDlg::OnCtlColor(HDC dc, HWND control, UINT type) {
  if (HBRUSH brush = DarkColours(dc, type, m_backBrush)) return brush;
  return ost::Dialog::OnCtlColor(dc, control, type);
}

// ---- CBuzzerTestDlg

namespace {
constexpr UINT_PTR kBuzzerTimer = 1;
constexpr UINT kBuzzerTimerMs = 5000;

void SendBuzzer(const CGIParamList& list) {
  CgiRequest request = CgiRequest::Of(list);
  request.options.sendTimeoutSeconds = 15;
  request.options.receiveTimeoutSeconds = 15;
  VorozSendCommand(request, ProgramDeviceSession());  // the reply is not used
}

void AddCookie(CGIParamList& list) {
  if (g_szCookie[0] != '\0') list.AddParam("Cookie", g_szCookie);
}
}  // namespace

CBuzzerTestDlg::CBuzzerTestDlg(HWND parent) : ost::Dialog(kTemplateId, parent) {
  MapCommand(kLongButton, &CBuzzerTestDlg::OnLongBuzzer);
  MapCommand(kShortButton, &CBuzzerTestDlg::OnShortBuzzer);
  MapCommand(kMultiChannelCheck, &CBuzzerTestDlg::OnMultiChannelTest);
}

BOOL CBuzzerTestDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  m_backBrush = ost::SolidBrush(kBack);
  m_uTimerId = ::SetTimer(m_hWnd, kBuzzerTimer, kBuzzerTimerMs, nullptr);
  return TRUE;
}

LRESULT CBuzzerTestDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kShowCheck:
      ::ShowWindow(GetDlgItem(kMultiChannelCheck), SW_SHOW);
      return 0;
    case kHideCheck:
      ::ShowWindow(GetDlgItem(kMultiChannelCheck), SW_HIDE);
      return 0;
    case WM_USER + 3328:
    case WM_USER + 3329:
    case WM_USER + 3330:
    case kVideoConnected:
      return 0;
    case WM_CLOSE:
      if (m_uTimerId != 0) {
        KillTimer(m_uTimerId);
        m_uTimerId = 0;
      }
      break;
    default:
      break;
  }
  return ost::Dialog::WindowProc(msg, wp, lp);
}

void CBuzzerTestDlg::OnTimer(UINT_PTR id) {
  if (id == kBuzzerTimer && g_lpApp != nullptr && g_lpApp->fVideoConnected != 0)
    ::PostMessageA(m_hWnd, kVideoConnected, 0, 0);
  Default();
}

void CBuzzerTestDlg::OnLButtonDown(UINT, POINT point) {
  DragFrom(m_hWnd, point);
  Default();
}

void CBuzzerTestDlg::OnMultiChannelTest() {
  m_fMultiChannelTest = !m_fMultiChannelTest;
  ::CheckDlgButton(m_hWnd, kMultiChannelCheck, m_fMultiChannelTest ? BST_CHECKED : BST_UNCHECKED);
}

void CBuzzerTestDlg::OnLongBuzzer() {
  CGIParamList list(kSetBuzzerCommand);
  if (m_byBuzzerState != 0) {
    m_byBuzzerState = 0;
    list.AddParam("time", "stop");
    AddCookie(list);
    SendBuzzer(list);
    list.Reset();
  }
  list.AddParam("time", "long");
  AddCookie(list);
  SendBuzzer(list);
  m_byBuzzerState = 1;
}

void CBuzzerTestDlg::OnShortBuzzer() {
  CGIParamList list(kSetBuzzerCommand);
  if (m_byBuzzerState != 0) {
    m_byBuzzerState = 0;
    AddCookie(list);
    list.AddParam("time", "stop");
    SendBuzzer(list);
    list.Reset();
  }
  list.AddParam("time", "short");
  AddCookie(list);
  SendBuzzer(list);
  m_byBuzzerState = 2;
}

HBRUSH CBuzzerTestDlg::OnCtlColor(HDC dc, HWND control, UINT type) {
  if (HBRUSH brush = DarkColours(dc, type, m_backBrush)) return brush;
  return ost::Dialog::OnCtlColor(dc, control, type);
}

// ---- CMpeg4StreamSettingDlg

CMpeg4StreamSettingDlg::CMpeg4StreamSettingDlg(HWND parent) : ost::Dialog(kTemplateId, parent) {}

void CMpeg4StreamSettingDlg::DoDataExchange(ost::DataExchange& dx) {
  if (dx.IsSaving()) return;  // read and checked by OnOK
  dx.Text(kBitRateField, m_uTargetBitRate);
  dx.Text(kGopField, m_uGOP);
  dx.Text(kWidthField, m_uImageWidth);
  dx.Text(kHeightField, m_uImageHeight);
}

void CMpeg4StreamSettingDlg::OnOK() {
  struct Field {
    int id;
    uint32_t* value;
    uint32_t low, high;
  } fields[] = {{kBitRateField, &m_uTargetBitRate, 50, 2000},
                {kGopField, &m_uGOP, 1, 65535},
                {kWidthField, &m_uImageWidth, 1, 720},
                {kHeightField, &m_uImageHeight, 1, 576}};
  for (const Field& f : fields) {
    char text[32] = {};
    ::GetDlgItemTextA(m_hWnd, f.id, text, sizeof text);
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (text[0] >= '0' && text[0] <= '9' && *end == '\0' && value >= f.low && value <= f.high) {
      *f.value = static_cast<uint32_t>(value);
      continue;
    }
    char prompt[128];
    std::snprintf(prompt, sizeof prompt, "Please enter a number from %u to %u.", f.low, f.high);
    OstMessageBox(prompt, MB_OK | MB_ICONEXCLAMATION);
    ::SetFocus(GetDlgItem(f.id));
    ::SendDlgItemMessageA(m_hWnd, f.id, EM_SETSEL, 0, -1);
    return;
  }
  EndDialog(IDOK);
}

HBRUSH CMpeg4StreamSettingDlg::OnCtlColor(HDC dc, HWND control, UINT type) {
  if (HBRUSH brush = DarkColours(dc, type, m_backBrush)) return brush;
  return ost::Dialog::OnCtlColor(dc, control, type);
}

// ---- CApplicationInfoDialog

CApplicationInfoDialog::CApplicationInfoDialog(HWND parent) : ost::Dialog(kTemplateId, parent) {}

CApplicationInfoDialog::~CApplicationInfoDialog() {
  if (m_hBackgroundBitmap != nullptr) ::DeleteObject(m_hBackgroundBitmap);
  if (m_hLogoBitmap != nullptr) ::DeleteObject(m_hLogoBitmap);
}

BOOL CApplicationInfoDialog::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  m_btnOK.SubclassDlgItem(IDOK, m_hWnd);
  ::MoveWindow(m_hWnd, 0, 0, kWidth, kHeight, TRUE);
  ::SetWindowRgn(m_hWnd, ::CreateRoundRectRgn(0, 0, kWidth, kHeight, 10, 10), TRUE);
  auto load = [](const char* file, HBITMAP& bitmap, BITMAP& info) {
    bitmap = static_cast<HBITMAP>(
        ::LoadImageA(nullptr, file, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    return bitmap != nullptr && ::GetObjectA(bitmap, sizeof info, &info) != 0;
  };
  if (!load("BMP\\login_background.bmp", m_hBackgroundBitmap, m_bmBackground) ||
      !load("BMP\\KELVRA_LOGO.bmp", m_hLogoBitmap, m_bmLogo)) {
    DebugTrace("CApplicationInfoDialog::OnInitDialog : load the title image is failed \n");
    return FALSE;
  }
  ::MoveWindow(m_btnOK.GetSafeHwnd(), 250, 200, 49, 25, TRUE);
  m_btnOK.LoadButtonBitmap("BMP\\login_ok.bmp", "BMP\\login_ok_over.bmp", "BMP\\login_ok_over.bmp",
                           CZevButton::kPress);
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, (work.right - work.left - kWidth) / 2,
                 (work.bottom - work.top - kHeight) / 2, kWidth, kHeight, SWP_FRAMECHANGED);
  m_strVersion = "Version : 0.0.1.8";
  return TRUE;
}

void CApplicationInfoDialog::OnPaint() {
  ost::PaintDc paint(m_hWnd);
  HDC dc = paint.Get();
  HDC memory = ::CreateCompatibleDC(dc);
  if (memory != nullptr) {
    auto draw = [&](HBITMAP bitmap, const BITMAP& info, int x, int y, int w, int h) {
      if (bitmap == nullptr) return;
      HGDIOBJ old = ::SelectObject(memory, bitmap);
      ::StretchBlt(dc, x, y, w, h, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
      ::SelectObject(memory, old);
    };
    draw(m_hBackgroundBitmap, m_bmBackground, 0, 0, kWidth, kHeight);
    draw(m_hLogoBitmap, m_bmLogo, 12, 38, 71, 74);
    ::DeleteDC(memory);
  }
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0, 0, 0));
  ::TextOutA(dc, 160, 50, m_strVersion.c_str(), static_cast<int>(m_strVersion.size()));
}

void CApplicationInfoDialog::OnLButtonDown(UINT, POINT point) {
  DragFrom(m_hWnd, point);
  Default();
}
