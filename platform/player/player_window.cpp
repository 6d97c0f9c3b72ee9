#include "platform/player/player_window.h"

#include <cstdio>
#include <cstring>

namespace {
constexpr const char kWindowClass[] = "OstrovaPlayerStandIn";
}

PlayerWindow::PlayerWindow(const PlayerCommandLine& commandLine, const PlayerLog& log)
    : m_log(log) {
  m_lines.push_back("Command line: " + commandLine.raw);
  m_lines.push_back("Record file: " + (commandLine.path.empty() ? "(none)" : commandLine.path));
  m_lines.push_back(std::string("Opened as: ") + PlayerOpenModeText(commandLine.mode));
  m_lines.push_back("Log: " + m_log.Path());
}

bool PlayerWindow::Create(HINSTANCE instance, int showCommand) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kWindowClass;
  if (!RegisterClassExA(&wc)) return false;
  // Centred on the work area.
  constexpr int kWidth = 560, kHeight = 220;
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + (work.right - work.left - kWidth) / 2;
  const int y = work.top + (work.bottom - work.top - kHeight) / 2;
  m_hWnd = CreateWindowExA(0, kWindowClass, kPlayerWindowTitle, WS_OVERLAPPEDWINDOW, x, y, kWidth,
                           kHeight, nullptr, nullptr, instance, this);
  if (!m_hWnd) return false;
  ShowWindow(m_hWnd, showCommand);
  UpdateWindow(m_hWnd);
  return true;
}

void PlayerWindow::ShowLine(const std::string& line) {
  m_lines.push_back(line);
  UpdateText();
}

LRESULT CALLBACK PlayerWindow::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<PlayerWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->m_hWnd = hWnd;
    SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<PlayerWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hWnd, message, wParam, lParam);
  return self->OnMessage(message, wParam, lParam);
}

LRESULT PlayerWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_COPYDATA:
      return OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? TRUE : FALSE;
    case kPlayerOpen: {
      m_log.Append(kLogOpen, "");
      ShowLine("Download opened");
      const HWND dialog = reinterpret_cast<HWND>(lParam);
      if (dialog &&
          PostMessageA(dialog, kPlayerAttach, kPlayerStepKb, reinterpret_cast<LPARAM>(m_hWnd)))
        m_log.Append(kLogAttach, std::to_string(kPlayerStepKb));
      return 0;
    }
    case kPlayerProgress:
      m_log.Append(kLogProgress, std::to_string(static_cast<uint32_t>(lParam)));
      return 0;
    case kPlayerDone:
      m_log.Append(kLogDone, std::to_string(wParam));
      ShowLine(wParam == 0 ? "Download finished" : "Download stopped");
      return 0;
    case kPlayerError: {
      char code[16];
      std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(lParam & 0xFFFFFFFF));
      m_log.Append(kLogError, code);
      ShowLine(std::string("Download error ") + code);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(m_hWnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(m_hWnd, message, wParam, lParam);
  }
}

bool PlayerWindow::OnCopyData(const COPYDATASTRUCT& data) {
  if (data.lpData == nullptr) return false;
  const char* text = static_cast<const char*>(data.lpData);
  const std::string value(text, strnlen(text, data.cbData));
  if (data.dwData == 2) {
    if (m_hMutex) CloseHandle(m_hMutex);
    m_hMutex = OpenMutexA(SYNCHRONIZE, FALSE, value.c_str());
    m_log.Append(kLogMutex, value + (m_hMutex ? "" : " (not opened)"));
    return true;
  }
  if (data.dwData == 1) {
    m_log.Append(kLogFollow, value);
    ShowLine("Following: " + value);
    return true;
  }
  return false;
}

void PlayerWindow::OnCreate() {
  m_hText = CreateWindowExA(
      WS_EX_CLIENTEDGE, "EDIT", "",
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0, 0,
      m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPlayerTextId)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(m_hWnd, GWLP_HINSTANCE)), nullptr);
  if (m_hText) {
    SendMessageA(m_hText, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
  }
  UpdateText();
}

void PlayerWindow::OnSize(int width, int height) {
  if (m_hText) MoveWindow(m_hText, 8, 8, width - 16, height - 16, TRUE);
}

void PlayerWindow::UpdateText() {
  if (!m_hText) return;
  std::string text;
  for (const std::string& line : m_lines) {
    if (!text.empty()) text += "\r\n";
    text += line;
  }
  SetWindowTextA(m_hText, text.c_str());
}
