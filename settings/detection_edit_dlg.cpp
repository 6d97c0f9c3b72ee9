#include "settings/detection_edit_dlg.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr size_t kImageBytes = 1572864;  // the renderer's hand-over buffer

int Scaled(int v, float scale) {
  return static_cast<int>(static_cast<float>(v) * scale + 0.5f);
}

void FillCombo(HWND combo, std::initializer_list<const char*> items) {
  ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (const char* item : items)
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

int ComboIndex(HWND combo) {
  return static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
}

}  // namespace

CDetectionEditDlg::CDetectionEditDlg(HWND parent, const Start& start, MotionFrameSource& source)
    : ost::Dialog(kTemplateId, parent),
      m_start(start),
      m_source(source),
      m_values(start.values),
      m_editor(start.values.area),
      m_image(kImageBytes) {
  m_wViewHeight = start.videoMode == 0 ? 228 : 276;
  m_hRedrawEvent = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  m_hRedrawStopEvent = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  MapCommand(kSetup, [this] { OnSetup(); });
  MapCommand(kSelectAll, [this] {
    m_editor.SelectAll();
    InvalidateRect(ViewRect(), false);
  });
  MapCommand(kClearAll, [this] {
    m_editor.ClearAll();
    InvalidateRect(ViewRect(), false);
  });
}

CDetectionEditDlg::~CDetectionEditDlg() {
  StopRedraw();
  if (m_hRedrawEvent) ::CloseHandle(m_hRedrawEvent);
  if (m_hRedrawStopEvent) ::CloseHandle(m_hRedrawStopEvent);
}

void CDetectionEditDlg::StopRedraw() {
  if (!m_hRedrawThread) return;
  ::SetEvent(m_hRedrawStopEvent);
  m_source.Cancel();
  // The thread waits only on the two events and the frame semaphore: it ends at once.
  ::WaitForSingleObject(m_hRedrawThread, INFINITE);
  ::CloseHandle(m_hRedrawThread);
  m_hRedrawThread = nullptr;
}

RECT CDetectionEditDlg::ViewRect() const {
  return {m_wViewX, m_wViewY, m_wViewX + m_wViewWidth, m_wViewY + m_wViewHeight};
}

BOOL CDetectionEditDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  DWORD id = 0;
  m_hRedrawThread = ::CreateThread(nullptr, 2048, &CDetectionEditDlg::RedrawThread, this,
                                   STACK_SIZE_PARAM_IS_A_RESERVATION, &id);
  char number[16];
  std::snprintf(number, sizeof number, "%2d", m_start.rowNumber);
  SetItemText(kNumber, number);
  FillCombo(GetDlgItem(kDetect), {"OFF", "ON"});
  const bool nonc = m_start.normallyOpenClosed;
  FillCombo(GetDlgItem(kAlarm), {AlarmInputText(0, nonc), AlarmInputText(1, nonc), "OFF"});
  ::SendMessageA(GetDlgItem(kDetect), CB_SETCURSEL, static_cast<WPARAM>(m_values.nDetect), 0);
  ::SendMessageA(GetDlgItem(kAlarm), CB_SETCURSEL, static_cast<WPARAM>(m_values.nAlarmType), 0);
  // The values as stored: the typing filters leave loaded values alone.
  m_bLoading = true;
  SetItemText(kLS, std::to_string(m_values.nLS));
  SetItemText(kSS, std::to_string(m_values.nSS));
  SetItemText(kTS, std::to_string(m_values.nTS));
  SetItemText(kRE, std::to_string(m_values.nRE));
  m_bLoading = false;
  return TRUE;
}

void CDetectionEditDlg::FilterNumber(int id, int hi) {
  HWND edit = GetDlgItem(id);
  const std::string text = ost::WindowText(edit);
  const int v = ClampDigits(text, 0, hi);
  if (v < 0) return;
  // Only this edit is rewritten, and only when the filter changed it.
  ost::SetWindowTextIfChanged(edit, std::to_string(v));
  const int length = static_cast<int>(::GetWindowTextLengthA(edit));
  ::SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
}

LRESULT CDetectionEditDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE && !m_bLoading) {
    switch (LOWORD(wp)) {
      case kLS:
      case kSS:
      case kTS:
        FilterNumber(LOWORD(wp), 15);
        return 0;
      case kRE:
        FilterNumber(LOWORD(wp), 61);
        return 0;
    }
  }
  return ost::Dialog::WindowProc(msg, wp, lp);
}

void CDetectionEditDlg::OnOK() {
  m_values.nDetect = ComboIndex(GetDlgItem(kDetect));
  m_values.nAlarmType = ComboIndex(GetDlgItem(kAlarm));
  // An edit the user did not touch keeps its value, even one outside the edit's range.
  const auto number = [&](int id, int hi, int& out) {
    if (GetItemText(id) == std::to_string(out)) return;
    const int v = ClampDigits(GetItemText(id), 0, hi);
    if (v >= 0) out = v;
  };
  number(kLS, 15, m_values.nLS);
  number(kSS, 15, m_values.nSS);
  number(kTS, 15, m_values.nTS);
  number(kRE, 61, m_values.nRE);
  m_values.area = m_editor.area();
  StopRedraw();
  EndDialog(IDOK);
}

void CDetectionEditDlg::OnSetup() {
  if (m_bSetup) return;
  m_bSetup = true;
  const float scale = m_start.scale;
  const RECT client = GetClientRect();
  // The picture with its two buttons to the right, centred in a dialog wide enough for both.
  const int buttonWidth = Scaled(65, scale), buttonHeight = Scaled(60, scale);
  const int span = 325 + buttonWidth;
  const int width = std::max<int>(client.right, span + 2 * Scaled(12, scale));
  m_wViewX = (width - span) / 2;
  m_wViewY = Scaled(60, scale);
  const int height =
      std::max<int>(client.bottom + m_wViewHeight + 20, m_wViewY + m_wViewHeight + 12);
  const RECT frame = GetWindowRect();
  const int growX = width - client.right, growY = height - client.bottom;
  MoveWindow(frame.left - growX / 2, frame.top, frame.right - frame.left + growX,
             frame.bottom - frame.top + growY);
  if (HWND setup = GetDlgItem(kSetup)) ::EnableWindow(setup, FALSE);

  m_editor.SetView({m_wViewX, m_wViewY, MotionRowHeight(m_start.videoMode), 0});
  const int x = m_wViewX + 325;
  if (HWND b = GetDlgItem(kSelectAll)) {
    ::MoveWindow(b, x, m_wViewY + m_wViewHeight / 8, buttonWidth, buttonHeight, TRUE);
    ::ShowWindow(b, SW_SHOW);
  }
  if (HWND b = GetDlgItem(kClearAll)) {
    ::MoveWindow(b, x, m_wViewY + 5 * m_wViewHeight / 8, buttonWidth, buttonHeight, TRUE);
    ::ShowWindow(b, SW_SHOW);
  }
  Invalidate(true);
  ::SetEvent(m_hRedrawEvent);
}

DWORD WINAPI CDetectionEditDlg::RedrawThread(void* self) {
  static_cast<CDetectionEditDlg*>(self)->RedrawLoop();
  return 0;
}

void CDetectionEditDlg::RedrawLoop() {
  HANDLE start[] = {m_hRedrawEvent, m_hRedrawStopEvent};
  if (::WaitForMultipleObjects(2, start, FALSE, INFINITE) != WAIT_OBJECT_0) return;
  for (;;) {
    m_source.Request();
    HANDLE ready = m_source.Ready();
    HANDLE wait[] = {m_hRedrawStopEvent, ready};
    const DWORD r = ::WaitForMultipleObjects(ready ? 2 : 1, wait, FALSE, INFINITE);
    if (r != WAIT_OBJECT_0 + 1) return;
    {
      std::lock_guard<std::mutex> lock(m_imageLock);
      m_picture = m_source.Take(m_image.data(), m_image.size());
    }
    m_bImageReady = true;
    const RECT view = ViewRect();
    ::InvalidateRect(m_hWnd, &view, FALSE);
  }
}

void CDetectionEditDlg::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  if (m_bSetup && m_bImageReady) {
    MotionPicture pic;
    {
      std::lock_guard<std::mutex> lock(m_imageLock);
      pic = m_picture;
      const size_t bytes = static_cast<size_t>(pic.width) * pic.height * 3;
      m_work.assign(m_image.begin(), m_image.begin() + static_cast<ptrdiff_t>(bytes));
    }
    if (pic.width > 0 && pic.height > 0) {
      PaintMotionGrid(m_work.data(), pic.width, pic.height, m_editor.area(), m_editor.highlight());
      BITMAPINFO bi{};
      bi.bmiHeader.biSize = sizeof bi.bmiHeader;
      bi.bmiHeader.biWidth = pic.width;
      bi.bmiHeader.biHeight = pic.height;  // bottom-up
      bi.bmiHeader.biPlanes = 1;
      bi.bmiHeader.biBitCount = 24;
      bi.bmiHeader.biCompression = BI_RGB;
      HDC mem = ::CreateCompatibleDC(dc);
      HBITMAP bmp = ::CreateCompatibleBitmap(dc, m_wViewWidth, m_wViewHeight);
      HGDIOBJ old = ::SelectObject(mem, bmp);
      ::SetStretchBltMode(mem, COLORONCOLOR);
      ::StretchDIBits(mem, 0, 0, m_wViewWidth, m_wViewHeight, 0, 0, pic.width, pic.height,
                      m_work.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
      ::BitBlt(dc, m_wViewX, m_wViewY, m_wViewWidth, m_wViewHeight, mem, 0, 0, SRCCOPY);
      ::SelectObject(mem, old);
      ::DeleteObject(bmp);
      ::DeleteDC(mem);
    }
  }
  ::EndPaint(m_hWnd, &ps);
}

void CDetectionEditDlg::SyncEditorView() {
  int height = 0;
  {
    std::lock_guard<std::mutex> lock(m_imageLock);
    height = m_picture.height;
  }
  m_editor.SetView({m_wViewX, m_wViewY, MotionRowHeight(m_start.videoMode), height});
  m_editor.SetPictureReceived(m_bSetup && m_bImageReady && height > 0);
}

void CDetectionEditDlg::OnLButtonDown(UINT, POINT p) {
  SyncEditorView();
  if (m_editor.OnButtonDown({p.x, p.y})) InvalidateRect(ViewRect(), false);
  ::SetCapture(m_hWnd);
}

void CDetectionEditDlg::OnLButtonUp(UINT, POINT p) {
  ::ReleaseCapture();
  SyncEditorView();
  if (m_editor.OnButtonUp({p.x, p.y})) InvalidateRect(ViewRect(), false);
}

void CDetectionEditDlg::OnMouseMove(UINT, POINT p) {
  SyncEditorView();
  if (m_editor.OnMouseMove({p.x, p.y})) InvalidateRect(ViewRect(), false);
}
