#include "login/login_dialog.h"

#include <cstdio>
#include <mutex>

#include "app/app_data.h"
#include "app/device_family_app.h"
#include "login/login_messages.h"
#include "login/login_window_threads.h"
#include "login/login_worker.h"
#include "login/newest_record_file.h"
#include "text/port_text.h"
#include "net/device_session.h"
#include "platform/controls.h"
#include "platform/message_box.h"
#include "platform/process_launch.h"
#include "res/resource.h"
#include "tools/address_book_dialog.h"
#include "login/connect_progress_dlg.h"
#include "tools/copy_program_dlg.h"
#include "tools/device_search_dlg.h"
#include "tools/dlg_get_path.h"
#include "tools/upgrade_fw_dlg.h"
#include "ui/dark_skin.h"

namespace {

constexpr int kWindowWidth = 304;
constexpr int kWindowHeight = 341;
constexpr COLORREF kBarColour = RGB(157, 216, 244);
constexpr COLORREF kStatusColour = RGB(0, 20, 255);
// The chip the failure text is written on while it shows.
constexpr COLORREF kStatusCardFill = RGB(0xE4, 0xEA, 0xF2);
constexpr COLORREF kStatusCardEdge = RGB(0x9F, 0xB4, 0xCC);
constexpr int kBarLeft = 74;
constexpr int kBarTop = 245;
constexpr int kBarSteps = 18;
constexpr int kVersionLeft = 182;
constexpr int kVersionTop = 13;
constexpr size_t kVersionMaxChars = 10;
constexpr size_t kPlayerCommandLineMax = 511;
constexpr DWORD kAnimateJoinMs = 5000;

enum SkinIndex {
  kSpacer,
  kLeftTop,
  kRightTop,
  kTopMiddle1,
  kTopMiddle2,
  kLeftMiddle,
  kRightMiddle,
  kLeftDown,
  kRightDown,
  kDownMiddle,
  kRunning,
};

constexpr const char* kSkinFiles[LoginDialog::kSkinBitmapCount] = {
    "BMP\\LOGIN\\spacer.bmp",       "BMP\\LOGIN\\left_top.bmp",    "BMP\\LOGIN\\right_top.bmp",
    "BMP\\LOGIN\\top_middle1.bmp",  "BMP\\LOGIN\\top_middle2.bmp", "BMP\\LOGIN\\left_middle.bmp",
    "BMP\\LOGIN\\right_middle.bmp", "BMP\\LOGIN\\left_down.bmp",   "BMP\\LOGIN\\right_down.bmp",
    "BMP\\LOGIN\\down_middle.bmp",  "BMP\\LOGIN\\running.bmp",
};

constexpr const char* kDigitFiles[LoginDialog::kDigitBitmapCount] = {
    "BMP\\LOGIN\\login_0.bmp", "BMP\\LOGIN\\login_1.bmp",     "BMP\\LOGIN\\login_2.bmp",
    "BMP\\LOGIN\\login_3.bmp", "BMP\\LOGIN\\login_4.bmp",     "BMP\\LOGIN\\login_5.bmp",
    "BMP\\LOGIN\\login_6.bmp", "BMP\\LOGIN\\login_7.bmp",     "BMP\\LOGIN\\login_8.bmp",
    "BMP\\LOGIN\\login_9.bmp", "BMP\\LOGIN\\login_point.bmp",
};

struct LoginButtonRow {
  int id;
  RECT rect;
  const char* normal;
  const char* hover;
  const char* pressed;
};

// Tool buttons; the tooltip text is the string of the button id.
constexpr LoginButtonRow LoginButtonTable[LoginDialog::kToolButtonCount] = {
    {8440,
     {30, 50, 64, 84},
     "BMP\\LOGIN\\address.bmp",
     "BMP\\LOGIN\\address_over.bmp",
     "BMP\\LOGIN\\address_down.bmp"},
    {8441,
     {80, 50, 114, 84},
     "BMP\\LOGIN\\search.bmp",
     "BMP\\LOGIN\\search_over.bmp",
     "BMP\\LOGIN\\search_down.bmp"},
    {8442,
     {130, 50, 164, 84},
     "BMP\\LOGIN\\player.bmp",
     "BMP\\LOGIN\\player_over.bmp",
     "BMP\\LOGIN\\player_down.bmp"},
    {8527,
     {230, 50, 264, 84},
     "BMP\\LOGIN\\download.BMP",
     "BMP\\LOGIN\\download_over.bmp",
     "BMP\\LOGIN\\download_down.bmp"},
    {8443,
     {180, 50, 214, 84},
     "BMP\\LOGIN\\copy.bmp",
     "BMP\\LOGIN\\copy_over.bmp",
     "BMP\\LOGIN\\copy_down.bmp"},
    {8444,
     {50, 275, 82, 307},
     "BMP\\LOGIN\\enter.bmp",
     "BMP\\LOGIN\\enter_over.bmp",
     "BMP\\LOGIN\\enter_down.bmp"},
    {8445,
     {215, 275, 247, 307},
     "BMP\\LOGIN\\cancel.bmp",
     "BMP\\LOGIN\\cancel_over.bmp",
     "BMP\\LOGIN\\cancel_down.bmp"},
};

struct LoginLabelRow {
  int id;
  RECT rect;
  const char* face;
};

constexpr LoginLabelRow LoginLabelTable[LoginDialog::kLabelButtonCount] = {
    {8528, {30, 100, 58, 128}, "BMP\\LOGIN\\name.BMP"},
    {8529, {30, 136, 58, 164}, "BMP\\LOGIN\\password.BMP"},
    {8530, {30, 172, 58, 200}, "BMP\\LOGIN\\ip.BMP"},
    {8531, {30, 208, 58, 236}, "BMP\\LOGIN\\port.BMP"},
};

constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_BITMAP | BS_OWNERDRAW;

// Waits for a thread and closes its handle.
void JoinThread(HANDLE& thread, DWORD& id, DWORD timeoutMs = INFINITE) {
  if (thread == nullptr) return;
  if (::WaitForSingleObject(thread, timeoutMs) != WAIT_OBJECT_0) return;
  ::CloseHandle(thread);
  thread = nullptr;
  id = 0;
}

}  // namespace

LoginDialog::LoginDialog(HWND parent)
    : ost::Dialog(kTemplateId, parent),
      m_rcWindow{0, 0, 304, 341},
      m_rcLeftTop{0, 0, 21, 34},
      m_rcRightTop{278, 0, 304, 34},
      m_rcLeftDown{0, 319, 25, 341},
      m_rcRightDown{280, 319, 304, 341},
      m_rcTopMiddle1{21, 0, 278, 12},
      m_rcTopMiddle2{21, 12, 278, 34} {
  m_hLoginEvent = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  MapCommand(kAddressButton, &LoginDialog::OnAddressButton);
  MapCommand(kSearchButton, &LoginDialog::OnSearchButton);
  MapCommand(kPlayerButton, &LoginDialog::OnPlayerButton);
  MapCommand(kCopyButton, &LoginDialog::OnCopyProgramButton);
  MapCommand(kConnectButton, &LoginDialog::OnConnectButton);
  MapCommand(kCancelButton, &LoginDialog::OnCancelButton);
  MapCommand(kUpgradeFirmwareButton, &LoginDialog::OnUpgradeFirmwareButton);
  MapNotify(kEditPort, EN_CHANGE, &LoginDialog::OnChangePortEdit);
  MapMessage(WM_LOGINFAILED, &LoginDialog::OnLoginFailed);
  MapMessage(WM_LOGINANIMATE, &LoginDialog::OnLoginAnimate);
  MapMessage(WM_LOGINENTERKEY, &LoginDialog::OnLoginEnterKey);
  MapMessage(WM_LOGINSUCCESS, &LoginDialog::OnLoginSuccess);
}

LoginDialog::~LoginDialog() {
  if (m_pAttempt) m_pAttempt->Cancel();
  if (m_hLoginEvent != nullptr) ::SetEvent(m_hLoginEvent);
  JoinThread(m_hLoginThread, m_dwLoginThreadId);
  JoinThread(m_hAnimateThread, m_dwAnimateThreadId);
  m_pAttempt.reset();
  if (m_hLoginEvent != nullptr) ::CloseHandle(m_hLoginEvent);
  // A login worker started from this window ends with it.
  Login::Destroy();
  // The buttons and the tooltip are children of the window: they go before the window does.
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(UnsubclassWindow());
}

void LoginDialog::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kEditServer, m_strEditServer);
  dx.Text(kEditUser, m_strEditUser);
  dx.Text(kEditPassword, m_strEditPassword);
  dx.Text(kEditPort, m_strEditPort);
  dx.Text(kEditBitRate, m_strEditBitRate);
}

BOOL LoginDialog::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  MoveWindow(0, 0, kWindowWidth, kWindowHeight);
  ost::Region region = ost::RoundRectRegion(m_rcWindow.ToRect(), 15, 15);
  if (region && SetWindowRgn(region.Get(), true)) region.Release();

  if (!LoadSkin()) return FALSE;
  m_pToolTip = std::make_unique<ost::ToolTip>();
  if (!m_pToolTip->Create(m_hWnd, TTS_ALWAYSTIP)) {
    m_pToolTip.reset();
    return FALSE;
  }
  ost::SkinToolTip(m_pToolTip->GetSafeHwnd());
  m_pToolTip->AddTool(m_hWnd, "LOGIN");
  CreateButtons();

  struct EditPlace {
    int id;
    int x, y, width, height;
  };
  static constexpr EditPlace kEdits[] = {{kEditUser, 93, 100, 180, 28},
                                         {kEditPassword, 93, 136, 180, 28},
                                         {kEditServer, 93, 172, 180, 28},
                                         {kEditPort, 93, 208, 100, 28}};
  for (const EditPlace& e : kEdits) {
    if (HWND edit = GetDlgItem(e.id)) ::MoveWindow(edit, e.x, e.y, e.width, e.height, TRUE);
  }
  return TRUE;
}

bool LoginDialog::LoadSkin() {
  for (int i = 0; i < kSkinBitmapCount; ++i)
    if (!m_SkinBitmaps[i].LoadFromFile(kSkinFiles[i])) return false;
  for (int i = 0; i < kDigitBitmapCount; ++i)
    if (!m_DigitBitmaps[i].LoadFromFile(kDigitFiles[i])) return false;
  return true;
}

bool LoginDialog::CreateButtons() {
  bool ok = true;
  for (int i = 0; i < kToolButtonCount; ++i) {
    const LoginButtonRow& row = LoginButtonTable[i];
    ok = m_ToolButtons[i].Create("", kButtonStyle, row.rect, m_hWnd, row.id) && ok;
    m_pToolTip->AddTool(m_ToolButtons[i].GetSafeHwnd(), static_cast<UINT>(row.id));
  }
  for (int i = 0; i < kLabelButtonCount; ++i) {
    const LoginLabelRow& row = LoginLabelTable[i];
    ok = m_LabelButtons[i].Create("", kButtonStyle, row.rect, m_hWnd, row.id) && ok;
    m_pToolTip->AddTool(m_LabelButtons[i].GetSafeHwnd(), static_cast<UINT>(row.id));
    m_LabelButtons[i].LoadButtonBitmap(row.face, CZevButton::kSingleFace);
  }
  for (int i = 0; i < kToolButtonCount; ++i) {
    const LoginButtonRow& row = LoginButtonTable[i];
    m_ToolButtons[i].LoadButtonBitmap(row.normal, row.hover, row.pressed, CZevButton::kPressHover);
  }
  return ok;
}

RECT LoginDialog::ProgressBarRect() const {
  const ost::Bitmap& block = m_SkinBitmaps[kRunning];
  const int w = block.Width() / 2;
  return RECT{kBarLeft, kBarTop, kBarLeft + kBarSteps * w, kBarTop + block.Height()};
}

void LoginDialog::OnPaint() {
  ost::PaintDc paint(m_hWnd);
  HDC dc = paint.Get();
  const RECT leftTop = m_rcLeftTop.ToRect();
  const RECT rightTop = m_rcRightTop.ToRect();
  const RECT leftDown = m_rcLeftDown.ToRect();
  const RECT rightDown = m_rcRightDown.ToRect();
  const RECT leftBand{leftTop.left, leftTop.bottom, leftTop.right, leftDown.top};
  const RECT rightBand{rightTop.left, rightTop.bottom, rightTop.right, rightDown.top};
  const RECT bottomBand{leftDown.right, leftDown.top, rightDown.left, leftDown.bottom};
  const std::pair<int, RECT> pieces[] = {
      {kSpacer, m_rcWindow.ToRect()},
      {kLeftTop, leftTop},
      {kRightTop, rightTop},
      {kLeftDown, leftDown},
      {kRightDown, rightDown},
      {kTopMiddle1, m_rcTopMiddle1.ToRect()},
      {kTopMiddle2, m_rcTopMiddle2.ToRect()},
      {kLeftMiddle, leftBand},
      {kRightMiddle, rightBand},
      {kDownMiddle, bottomBand},
  };
  for (const auto& [index, target] : pieces) {
    if (m_SkinBitmaps[index]) ost::StretchBitmap(dc, target, m_SkinBitmaps[index]);
  }

  const std::string& version = g_lpApp != nullptr ? g_lpApp->str_ClientVersion : std::string();
  for (size_t i = 0; i < version.size() && i < kVersionMaxChars; ++i) {
    const char c = version[i];
    const ost::Bitmap& digit = m_DigitBitmaps[c >= '0' && c <= '9' ? c - '0' : 10];
    const int x = kVersionLeft + 10 * static_cast<int>(i);
    if (digit) ost::StretchBitmap(dc, RECT{x, kVersionTop, x + 10, kVersionTop + 20}, digit);
  }

  if (m_fAnimating && m_SkinBitmaps[kRunning]) {
    const ost::Bitmap& block = m_SkinBitmaps[kRunning];
    const RECT bar = ProgressBarRect();
    ost::FillSolidRect(dc, bar, kBarColour);
    ost::FrameSolidRect(dc, bar, kBarColour);
    ost::BlitBitmap(dc, kBarLeft + m_byAnimStep * (block.Width() / 2), kBarTop, block.Width(),
                    block.Height(), block.Get());
  }
  if (m_fShowStatus) {
    // A light chip as wide as the text, so that the blue text reads on the dark window.
    SIZE extent{};
    {
      ost::SelectedObject font(dc, GetFont());
      ::GetTextExtentPoint32A(dc, m_strStatusText.c_str(), static_cast<int>(m_strStatusText.size()),
                              &extent);
    }
    const RECT chip{kBarLeft - 8, kBarTop - 4, kBarLeft + extent.cx + 8, kBarTop + extent.cy + 4};
    ost::Brush fill = ost::SolidBrush(kStatusCardFill);
    ost::Pen edge(::CreatePen(PS_SOLID, 1, kStatusCardEdge));
    {
      ost::SelectedObject brush(dc, fill.Get());
      ost::SelectedObject pen(dc, edge.Get());
      ::RoundRect(dc, chip.left, chip.top, chip.right, chip.bottom, 9, 9);
    }
    ost::DrawTextAt(dc, kBarLeft, kBarTop, m_strStatusText, kStatusColour, GetFont());
  }
}

bool LoginDialog::PreTranslateMessage(MSG* msg) {
  if (m_pToolTip) m_pToolTip->RelayEvent(msg);
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
    Post(WM_LOGINENTERKEY);
    return true;
  }
  return ost::Dialog::PreTranslateMessage(msg);
}

void LoginDialog::OnLButtonDown(UINT, POINT point) {
  Post(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
  Default();
}

LRESULT LoginDialog::OnLoginAnimate(WPARAM, LPARAM) {
  // A step that was on its way when the login ended draws nothing.
  if (!m_fLoginRunning) return 0;
  m_fAnimating = 1;
  m_byAnimStep = m_byAnimStep >= kBarSteps - 1 ? 0 : static_cast<uint8_t>(m_byAnimStep + 1);
  InvalidateRect(ProgressBarRect(), true);
  return 0;
}

LRESULT LoginDialog::OnLoginFailed(WPARAM reason, LPARAM) {
  switch (reason) {
    case kLoginFailedRefused:
      m_strStatusText = "Login procedure failed";
      break;
    case kLoginFailedTooManyUsers:
      m_strStatusText = "Too many user";
      break;
    case kLoginFailedUnsupportedDevice:
      m_strStatusText = "No support this device";
      break;
    default:
      Invalidate();
      return 0;
  }
  m_fShowStatus = 1;
  m_fLoginRunning = false;
  m_fAnimating = 0;
  Invalidate();
  return 0;
}

LRESULT LoginDialog::OnLoginEnterKey(WPARAM, LPARAM) {
  OnConnectButton();
  return 0;
}

LRESULT LoginDialog::OnLoginSuccess(WPARAM, LPARAM) {
  m_fLoginRunning = false;
  EndDialog(1);
  return 0;
}

void LoginDialog::OnCancelButton() {
  EndDialog(IDCANCEL);
}

void LoginDialog::JoinAnimateThread() {
  JoinThread(m_hAnimateThread, m_dwAnimateThreadId, kAnimateJoinMs);
}

void LoginDialog::EndAttempt() {
  if (m_pAttempt) m_pAttempt->Cancel();
  if (m_hLoginEvent != nullptr) ::SetEvent(m_hLoginEvent);
  JoinAnimateThread();
}

void LoginDialog::OnConnectButton() {
  UpdateData(true);
  if (m_strEditUser.empty() || m_strEditPassword.empty()) {
    OstMessageBoxId(IDS_LOGIN_CREDENTIALS_WRONG);
    return;
  }
  m_fShowStatus = 0;
  m_fAnimating = 0;
  m_byAnimStep = 0;

  EndAttempt();
  if (m_hAnimateThread != nullptr) return;  // the old animation did not end: keep its event
  if (m_hLoginEvent != nullptr) ::CloseHandle(m_hLoginEvent);
  m_hLoginEvent = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (m_hLoginEvent == nullptr) return;

  auto attempt = std::make_shared<LoginAttempt>(m_hWnd, m_strEditServer, m_strEditUser,
                                                m_strEditPassword, m_strEditPort);
  attempt->hLoginEvent = m_hLoginEvent;
  attempt->pfAnimating = &m_fAnimating;

  DWORD id = 0;
  // The earlier login thread is waited for by the new one.
  HANDLE thread = StartLoginAttemptThread(attempt, &Login_Dialog_Thread, kLoginThreadStackSize,
                                          m_hLoginThread, &id);
  if (thread == nullptr) return;
  if (m_hLoginThread != nullptr) ::CloseHandle(m_hLoginThread);
  m_hLoginThread = thread;
  m_dwLoginThreadId = id;
  m_pAttempt = attempt;
  m_fLoginRunning = true;

  thread =
      StartLoginAttemptThread(attempt, &Login_Animate_Thread, kLoginThreadStackSize, nullptr, &id);
  if (thread == nullptr) return;
  m_hAnimateThread = thread;
  m_dwAnimateThreadId = id;
  Invalidate();
}

void LoginDialog::OnChangePortEdit() {
  UpdateData(true);
  if (m_strEditPort.empty()) return;
  const PortBoxText port = NormalisePortText(m_strEditPort);
  if (port.hasNumber) m_iPortValue = port.value;
  m_strEditPort = port.text;
  UpdateData(false);
  ost::Edit box;
  box.Attach(GetDlgItem(kEditPort));
  const int end = static_cast<int>(m_strEditPort.size());
  box.SetSel(end, end);
  box.Detach();
}

void LoginDialog::OnAddressButton() {
  CAddressBookDialog book(nullptr);
  if (book.DoModal() != CAddressBookDialog::kSelected) return;
  m_strEditUser = book.m_strUser;
  m_strEditServer = book.m_strIpAddress;
  m_strEditPort = std::to_string(book.m_iMajorPort);
  UpdateData(false);
}

void LoginDialog::OnSearchButton() {
  CDeviceSearchDlg search(m_hWnd);
  search.DoModal();
  if (search.m_bDeviceChosen) {
    m_strEditPort = std::to_string(search.m_nWebPort);
    m_strEditServer = search.m_strChosenAddress;
    std::lock_guard<std::mutex> lock(SessionMutex());
    g_lpApp->m_Settings.m_wWebPort = static_cast<uint16_t>(search.m_nWebPort);
    g_lpApp->m_Settings.SetServerNameFromUser(search.m_strChosenAddress);
  }
  UpdateData(false);
}

std::string LoginDialog::FindNewestRecordFile() {
  return ::FindNewestRecordFile(g_lpApp->m_Settings.m_strRecordPath);
}

void LoginDialog::OnPlayerButton() {
  const std::string program = g_lpApp->m_Settings.m_strExeDir + "Quendor.exe";
  const std::string newest = FindNewestRecordFile();
  if (newest.size() > kPlayerCommandLineMax) {
    // The path does not fit the player's command line: no player with a cut path.
    OstMessageBoxId(IDS_PLAYER_START_FAILED);
    return;
  }
  if (!ost::LaunchProcess(
          program, newest,
          CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS))
    OstMessageBoxId(IDS_PLAYER_START_FAILED);
}

void LoginDialog::OnCopyProgramButton() {
  char systemFolder[256] = {};
  ::GetSystemDirectoryA(systemFolder, sizeof systemFolder - 1);
  CDlgGetPath chooser(m_hWnd);
  chooser.SetPath(systemFolder);
  if (chooser.DoModal() != 1) return;
  const std::string destination = chooser.GetPath();
  ::CreateDirectoryA((destination + "\\BMP").c_str(), nullptr);
  CCopyProgramDlg copy(m_hWnd, g_lpApp->m_Settings.m_strExeDir, destination);
  copy.DoModal();
}

void LoginDialog::OnUpgradeFirmwareButton() {
  UpdateData(true);
  if (m_strEditUser.empty() || m_strEditPassword.empty()) {
    OstMessageBoxId(IDS_LOGIN_CREDENTIALS_WRONG);
    return;
  }
  {
    CConnectProgressDlg progress(nullptr, this);
    progress.m_strStatusText = "Connect " + m_strEditServer;
    if (progress.DoModal() != 1) return;
  }
  if (g_lpApp->w_UserLevel != 30) {
    OstMessageBox("Only administrator could use upgrade firmware function");
    return;
  }
  if (!IsRZKSeriesProduct() && !IsRZ2KProduct() && !IsRZMSeriesProduct() && !IsRZ8PProduct()) {
    OstMessageBox("Device doesn't support network upgrade FW");
    return;
  }
  if (IsRZKSeriesProduct() && CompareVersionString("1031", g_lpApp->str_FWVersion) == 2) {
    OstMessageBox("Device doesn't support network upgrade FW");
    return;
  }
  CUpgradeFWDlg upgrade(nullptr);
  upgrade.DoModal();
}
