#include <winsock2.h>  // ahead of windows.h

#include "tests/login/login_window_fixture.h"

#include <cstring>

#include "app/app_data.h"
#include "login/login_worker.h"
#include "platform/message_loop.h"
#include "program/program_objects.h"

namespace logintest {
namespace {

namespace ts = testsupport;

ts::TempFolder* g_folder = nullptr;
ProgramObjects* g_objects = nullptr;

}  // namespace

HWND WaitForOwnWindow(const std::string& caption, DWORD timeoutMs) {
  return ts::WaitForWindowIf(
      ::GetCurrentProcessId(), [&](HWND w) { return ts::WindowText(w) == caption; }, timeoutMs);
}

HWND WaitForOwnWindowWithItem(int id, DWORD timeoutMs) {
  return ts::WaitForWindowIf(
      ::GetCurrentProcessId(), [&](HWND w) { return ::GetDlgItem(w, id) != nullptr; }, timeoutMs);
}

std::string LoginWindowTest::ProgramFolder() {
  return g_folder->Path();
}

std::string LoginWindowTest::RecordFolder() {
  return g_folder->File("records");
}

void LoginWindowTest::SetUpTestSuite() {
  WSADATA wsa;
  ASSERT_EQ(::WSAStartup(MAKEWORD(1, 1), &wsa), 0);
  // The skin and the control file lie beside the test, as beside the program.
  ASSERT_TRUE(::SetCurrentDirectoryA(ts::ThisExeFolder().c_str()));
  g_objects = new ProgramObjects();
  ASSERT_EQ(CreateAppData(g_objects->Parts()), 1);
  g_folder = new ts::TempFolder("loginwindow");
  ASSERT_TRUE(ts::CopyFileTo(ts::ThisExeFolder() + "Quendor.exe", g_folder->File("Quendor.exe")));
  ::CreateDirectoryA(RecordFolder().c_str(), nullptr);
  ::CSettingINI& s = g_lpApp->m_Settings;
  s.m_strExeDir = g_folder->Path();
  s.m_strRecordPath = RecordFolder();
  ::SetEnvironmentVariableA("OST_MSGBOX_LOG", g_folder->File("msgbox.log").c_str());
}

void LoginWindowTest::TearDownTestSuite() {
  ::SetEnvironmentVariableA("OST_MSGBOX_LOG", nullptr);
  delete g_objects;
  g_objects = nullptr;
  delete g_lpApp;
  g_lpApp = nullptr;
  delete g_folder;
  g_folder = nullptr;
  ::WSACleanup();
}

void LoginWindowTest::SetUp() {
  ::DeleteFileA(g_folder->File("msgbox.log").c_str());
  ::DeleteFileA(g_folder->File("Quendor.log").c_str());
  APP_DATA& a = *g_lpApp;
  a.w_LoginResult = 0;
  a.w_UserLevel = 0;
  a.str_ProductID.clear();
  a.str_FWVersion.clear();
  std::memset(g_szCookie, 0, sizeof g_szCookie);
}

void LoginWindowTest::TearDown() {
  JoinHelpers();
  m_dialog.reset();
  m_device.Stop();
}

void LoginWindowTest::StartDevice(const std::vector<std::string>& args) {
  ASSERT_TRUE(m_device.Start(args)) << m_device.error();
}

void LoginWindowTest::OpenWindow() {
  m_dialog = std::make_unique<LoginDialog>(nullptr);
  m_dialog->m_strEditServer = "127.0.0.1";
  m_dialog->m_strEditUser = "revuv";
  m_dialog->m_strEditPort = std::to_string(m_device.port());
  m_dialog->m_strEditBitRate = "1200";
  ASSERT_TRUE(m_dialog->Create());
  m_hwnd = m_dialog->GetSafeHwnd();
  m_dialog->ShowWindow(SW_SHOW);
  ::SetForegroundWindow(m_hwnd);
  PumpFor(100);
}

void LoginWindowTest::Type(int id, const std::string& text, bool clearFirst) {
  HWND edit = Item(id);
  ASSERT_NE(edit, nullptr);
  if (clearFirst) ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  for (char c : text) {
    const int end = ::GetWindowTextLengthA(edit);
    ::SendMessageA(edit, EM_SETSEL, end, end);
    ::SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
  }
  PumpFor(20);
}

void LoginWindowTest::PressKey(int id, WPARAM key) {
  ::SetFocus(Item(id));
  ::PostMessageA(Item(id), WM_KEYDOWN, key, 1);
  ::PostMessageA(Item(id), WM_KEYUP, key, 0xC0000001);
  PumpFor(50);
}

void LoginWindowTest::Click(int id) {
  ::PostMessageA(Item(id), BM_CLICK, 0, 0);
}

bool LoginWindowTest::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  return ost::PumpMessagesUntil(done, timeoutMs);
}

void LoginWindowTest::PumpFor(DWORD ms) {
  ost::PumpMessagesUntil([] { return false; }, ms);
}

std::vector<std::string> LoginWindowTest::MessageBoxes() const {
  return ts::ReadLines(g_folder->File("msgbox.log"));
}

std::vector<testsupport::DevsimRequest> LoginWindowTest::DeviceRequests() const {
  return m_device.Requests();
}

int LoginWindowTest::LoginRequestCount() const {
  int n = 0;
  for (const auto& r : m_device.Requests()) n += r.path == "/Login.cgi" ? 1 : 0;
  return n;
}

void LoginWindowTest::Helper(std::function<void()> work) {
  ++m_runningHelpers;
  m_helpers.emplace_back([this, work = std::move(work)] {
    work();
    --m_runningHelpers;
  });
}

void LoginWindowTest::JoinHelpers() {
  // Helpers send messages to this thread's windows (reading a caption does): keep serving them.
  PumpUntil([&] { return m_runningHelpers == 0; }, 60000);
  for (std::thread& t : m_helpers)
    if (t.joinable()) t.join();
  m_helpers.clear();
}

}  // namespace logintest
