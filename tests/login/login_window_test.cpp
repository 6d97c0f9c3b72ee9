// The login window against the device simulator: set-up, typing, connecting and its failures,
// the port box, Enter and Escape, and the tool buttons with the dialogs they open.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "app/app_data.h"
#include "login/login_messages.h"
#include "login/login_worker.h"
#include "net/device_session.h"
#include "tests/login/login_window_fixture.h"
#include "tests/support/remote_tree.h"
#include "tests/support/window_capture.h"
#include "tools/address_book_dialog.h"
#include "tools/copy_program_dlg.h"
#include "tools/install_file_list.h"
#include "tools/ip_record.h"

namespace logintest {
namespace {

namespace ts = testsupport;
using L = LoginDialog;

constexpr COLORREF kStatusColour = RGB(0, 20, 255);

// Whether the window shows a pixel of the status colour where the status text goes.
bool StatusTextDrawn(HWND window) {
  ::UpdateWindow(window);
  HDC dc = ::GetDC(window);
  bool found = false;
  for (int y = 245; y < 265 && !found; ++y)
    for (int x = 74; x < 274 && !found; ++x) found = ::GetPixel(dc, x, y) == kStatusColour;
  ::ReleaseDC(window, dc);
  return found;
}

std::string CommandLineOfPlayer(const std::string& log) {
  for (const std::string& line : ts::ReadLines(log)) {
    const size_t at = line.find(" CMDLINE");
    if (at != std::string::npos) return line.size() > at + 9 ? line.substr(at + 9) : std::string();
  }
  return "<none>";
}

void ClosePlayer() {
  HWND player = nullptr;
  ts::WaitUntil(
      [&] { return (player = ::FindWindowA("OstrovaPlayerStandIn", nullptr)) != nullptr; }, 10000);
  if (player) ::PostMessageA(player, WM_CLOSE, 0, 0);
  ts::WaitUntil([] { return ::FindWindowA("OstrovaPlayerStandIn", nullptr) == nullptr; }, 10000);
}

void SetWriteTime(const std::string& path, uint64_t time) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
  FILETIME ft{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
  ::SetFileTime(f, nullptr, nullptr, &ft);
  ::CloseHandle(f);
}

void ClearFolder(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      ::DeleteFileA((folder + "\\" + fd.cFileName).c_str());
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
}

using LoginWindow = LoginWindowTest;

TEST_F(LoginWindow, SetUpShowsTheSkinTheButtonsAndTheFields) {
  StartDevice();
  OpenWindow();
  const RECT w = m_dialog->GetWindowRect();
  EXPECT_EQ(w.left, 0);
  EXPECT_EQ(w.top, 0);
  EXPECT_EQ(w.right - w.left, 304);
  EXPECT_EQ(w.bottom - w.top, 341);
  EXPECT_EQ(ts::WindowText(Window()), "");
  EXPECT_EQ(m_dialog->GetStyle() & WS_CAPTION, 0u);

  for (int id : {8440, 8441, 8442, 8443, 8444, 8445, 8527}) {
    auto* button = dynamic_cast<CZevButton*>(ost::Wnd::FromHandle(Item(id)));
    ASSERT_NE(button, nullptr) << id;
    EXPECT_EQ(button->m_wStyle, CZevButton::kPressHover) << id;
    EXPECT_NE(button->m_hSelectedBitmap, nullptr) << id;
  }
  for (int id : {8528, 8529, 8530, 8531}) {
    auto* label = dynamic_cast<CZevButton*>(ost::Wnd::FromHandle(Item(id)));
    ASSERT_NE(label, nullptr) << id;
    EXPECT_EQ(label->m_wStyle, CZevButton::kSingleFace) << id;
  }
  ASSERT_NE(m_dialog->m_pToolTip, nullptr);
  EXPECT_EQ(m_dialog->m_pToolTip->GetToolCount(), 12);
  EXPECT_EQ(m_dialog->m_pToolTip->GetToolText(Window()), "LOGIN");
  EXPECT_EQ(m_dialog->m_pToolTip->GetToolText(Item(8444)), "Connect");
  EXPECT_EQ(m_dialog->m_pToolTip->GetToolText(Item(8527)), "Upgrade Firmware");
  EXPECT_EQ(m_dialog->m_pToolTip->GetToolText(Item(8531)), "Port");

  struct Place {
    int id, x, y, width, height;
  };
  for (const Place& p :
       {Place{L::kEditUser, 93, 100, 180, 28}, Place{L::kEditPassword, 93, 136, 180, 28},
        Place{L::kEditServer, 93, 172, 180, 28}, Place{L::kEditPort, 93, 208, 100, 28}}) {
    RECT r;
    ::GetWindowRect(Item(p.id), &r);
    EXPECT_EQ(r.left, p.x) << p.id;
    EXPECT_EQ(r.top, p.y) << p.id;
    EXPECT_EQ(r.right - r.left, p.width) << p.id;
    EXPECT_EQ(r.bottom - r.top, p.height) << p.id;
  }
  EXPECT_EQ(Text(L::kEditServer), "127.0.0.1");
  EXPECT_EQ(Text(L::kEditUser), "revuv");
  EXPECT_EQ(Text(L::kEditPort), std::to_string(m_device.port()));
  EXPECT_EQ(Text(L::kEditPassword), "");
  EXPECT_FALSE(::IsWindowVisible(Item(L::kEditBitRate)));
}

TEST_F(LoginWindow, TypedTextsLogInAndEndTheWindowWithOne) {
  StartDevice({"--account", "tester:pass word:30"});
  OpenWindow();
  g_lpApp->m_Settings.KeepServerHostName("old-host");
  Type(L::kEditServer, "127.0.0.1");
  Type(L::kEditPort, std::to_string(m_device.port()));
  Type(L::kEditUser, "tester");
  Type(L::kEditPassword, "pass word");
  PressKey(L::kEditPassword, VK_RETURN);  // Enter connects
  ASSERT_TRUE(PumpUntil([&] { return WindowClosed(); }));
  EXPECT_EQ(m_dialog->GetResult(), 1);
  EXPECT_EQ(g_lpApp->w_LoginResult, 30);
  EXPECT_NE(g_szCookie[0], '\0');
  const ::CSettingINI& s = g_lpApp->m_Settings;
  EXPECT_EQ(s.m_strServerName, "127.0.0.1");
  EXPECT_EQ(s.m_wWebPort, m_device.port());
  EXPECT_EQ(s.m_strUsername, "tester");
  EXPECT_EQ(s.m_strPassword, "pass word");
  EXPECT_STREQ(s.m_szServerHostName, "");
  const auto requests = DeviceRequests();
  ASSERT_EQ(requests.size(), 1u);  // no device information from the login window
  EXPECT_EQ(requests[0].path, "/Login.cgi");
  EXPECT_EQ(requests[0].params,
            (std::vector<std::string>{"Username=tester", "Password=pass word"}));
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(LoginWindow, TheConnectButtonLogsInToo) {
  StartDevice();
  OpenWindow();
  Type(L::kEditPassword, "revuv");
  Click(L::kConnectButton);
  ASSERT_TRUE(PumpUntil([&] { return WindowClosed(); }));
  EXPECT_EQ(m_dialog->GetResult(), 1);
  EXPECT_EQ(g_lpApp->w_LoginResult, 30);
}

TEST_F(LoginWindow, FailuresShowTheirStatusAndLeaveTheWindowForAnotherTry) {
  struct Case {
    std::vector<std::string> device;
    std::string password;
    std::string status;
    bool retrySucceeds;
  };
  const std::vector<Case> cases = {
      {{}, "wrong", "Login procedure failed", true},
      {{"--fault", "login-busy,count=1"}, "revuv", "Too many user", true},
      {{"--fault", "login-no-session,count=1"}, "revuv", "Login procedure failed", true},
      {{"--product", "invalid"}, "revuv", "No support this device", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    g_lpApp->w_LoginResult = 0;
    StartDevice(c.device);
    OpenWindow();
    Type(L::kEditPassword, c.password);
    Click(L::kConnectButton);
    ASSERT_TRUE(PumpUntil([&] { return m_dialog->m_fShowStatus == 1; }));
    EXPECT_EQ(m_dialog->m_strStatusText, c.status);
    EXPECT_EQ(m_dialog->m_fAnimating, 0);
    EXPECT_FALSE(WindowClosed());
    EXPECT_NE(g_lpApp->w_LoginResult, 30);
    PumpFor(400);  // a late animation step must not bring the bar back over the text
    EXPECT_EQ(m_dialog->m_fAnimating, 0);
    EXPECT_TRUE(StatusTextDrawn(Window()));

    Type(L::kEditPassword, "revuv");
    PressKey(L::kEditPassword, VK_RETURN);
    if (c.retrySucceeds) {
      ASSERT_TRUE(PumpUntil([&] { return WindowClosed(); }));
      EXPECT_EQ(m_dialog->GetResult(), 1);
      EXPECT_EQ(g_lpApp->w_LoginResult, 30);
    } else {
      ASSERT_TRUE(
          PumpUntil([&] { return LoginRequestCount() == 2 && m_dialog->m_fShowStatus == 1; }));
      EXPECT_EQ(m_dialog->m_strStatusText, c.status);
      EXPECT_FALSE(WindowClosed());
    }
    m_dialog.reset();
    m_device.Stop();
  }
}

TEST_F(LoginWindow, AnEmptyPasswordIsRefusedBeforeAnyRequest) {
  StartDevice();
  OpenWindow();
  g_lpApp->m_Settings.m_strPassword = "stored";
  Type(L::kEditPassword, "");
  PressKey(L::kEditUser, VK_RETURN);
  Click(L::kUpgradeFirmwareButton);
  PumpFor(300);
  EXPECT_EQ(MessageBoxes(), (std::vector<std::string>{"Username or password is not correct",
                                                      "Username or password is not correct"}));
  EXPECT_TRUE(DeviceRequests().empty());
  EXPECT_FALSE(WindowClosed());
  EXPECT_EQ(m_dialog->m_hLoginThread, nullptr);
}

TEST_F(LoginWindow, EscapeAndCancelEndWithTwo) {
  StartDevice();
  OpenWindow();
  PressKey(L::kEditServer, VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return WindowClosed(); }));
  EXPECT_EQ(m_dialog->GetResult(), 2);

  OpenWindow();
  Click(L::kCancelButton);
  ASSERT_TRUE(PumpUntil([&] { return WindowClosed(); }));
  EXPECT_EQ(m_dialog->GetResult(), 2);

  // Cancelled while the device never answers the login: the window goes at once, and its
  // login thread, its request cut short, ends within a fraction of a second.
  m_device.Stop();
  StartDevice({"--fault", "stall"});
  OpenWindow();
  Type(L::kEditPassword, "revuv");
  Click(L::kConnectButton);
  ASSERT_TRUE(PumpUntil([&] { return m_dialog->m_fAnimating == 1 && LoginRequestCount() == 1; }));
  Click(L::kCancelButton);
  ASSERT_TRUE(PumpUntil([&] { return WindowClosed(); }, 1000));
  EXPECT_EQ(m_dialog->GetResult(), 2);
  const ULONGLONG start = ::GetTickCount64();
  m_dialog.reset();  // joins the login thread
  EXPECT_LT(::GetTickCount64() - start, 1000u);
  EXPECT_NE(g_lpApp->w_LoginResult, 30);
  EXPECT_EQ(g_szCookie[0], '\0');
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(LoginWindow, PortBoxKeepsANumberFromZeroTo9999) {
  StartDevice();
  OpenWindow();
  HWND port = Item(L::kEditPort);
  const auto caretAtEnd = [&] {
    DWORD start = 0, end = 0;
    ::SendMessageA(port, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    const DWORD length = static_cast<DWORD>(::GetWindowTextLengthA(port));
    return start == length && end == length;
  };
  Type(L::kEditPort, "12345");
  EXPECT_EQ(Text(L::kEditPort), "9999");
  EXPECT_EQ(m_dialog->m_iPortValue, 9999);
  EXPECT_TRUE(caretAtEnd());
  Type(L::kEditPort, "0");
  EXPECT_EQ(Text(L::kEditPort), "0");
  Type(L::kEditPort, "8", false);
  EXPECT_EQ(Text(L::kEditPort), "8");
  Type(L::kEditPort, "8a0");
  EXPECT_EQ(Text(L::kEditPort), "80");
  EXPECT_TRUE(caretAtEnd());
  EXPECT_EQ(m_dialog->m_iPortValue, 80);
  Type(L::kEditPort, "x");
  EXPECT_EQ(Text(L::kEditPort), "");
  EXPECT_EQ(m_dialog->m_iPortValue, 80);
  EXPECT_EQ(m_dialog->m_strEditPort, "");
}

TEST_F(LoginWindow, ASecondConnectRestartsTheProgressAndTheLogin) {
  StartDevice({"--fault", "stall,ms=1500,count=1"});
  OpenWindow();
  Type(L::kEditPassword, "revuv");
  Click(L::kConnectButton);
  ASSERT_TRUE(PumpUntil([&] { return m_dialog->m_byAnimStep >= 2; }, 5000));
  EXPECT_EQ(m_dialog->m_fAnimating, 1);
  HANDLE firstThread = m_dialog->m_hLoginThread;
  Click(L::kConnectButton);
  ASSERT_TRUE(PumpUntil([&] { return m_dialog->m_hLoginThread != firstThread; }, 2000));
  EXPECT_LE(m_dialog->m_byAnimStep, 1);
  ASSERT_TRUE(PumpUntil([&] { return WindowClosed(); }));
  EXPECT_EQ(m_dialog->GetResult(), 1);
  EXPECT_EQ(LoginRequestCount(), 2);
}

TEST_F(LoginWindow, PlayerStartsWithTheNewestRecordFile) {
  StartDevice();
  OpenWindow();
  const std::string log = ProgramFolder() + "Quendor.log";
  ClearFolder(RecordFolder());
  SetWriteTime(RecordFolder() + "\\a.qdx", 133000000000000000ull);
  SetWriteTime(RecordFolder() + "\\b.qdx", 133000000000000100ull);
  SetWriteTime(RecordFolder() + "\\c.qdx", 132000000000000000ull);
  SetWriteTime(RecordFolder() + "\\z.txt", 134000000000000000ull);
  Click(L::kPlayerButton);
  ASSERT_TRUE(PumpUntil([&] { return CommandLineOfPlayer(log) != "<none>"; }, 15000));
  std::string expected = RecordFolder() + "\\B.QDX";
  for (char& ch : expected) ch = static_cast<char>(::toupper(static_cast<unsigned char>(ch)));
  EXPECT_EQ(CommandLineOfPlayer(log), expected);
  ClosePlayer();

  // Equal times: the first one the folder listing gives.
  ClearFolder(RecordFolder());
  for (const char* name : {"m.qdx", "k.qdx", "n.qdx", "l.qdx"})
    SetWriteTime(RecordFolder() + "\\" + name, 133000000000000000ull);
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((RecordFolder() + "\\*.qdx").c_str(), &fd);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ::FindClose(h);
  expected = RecordFolder() + "\\" + fd.cFileName;
  for (char& ch : expected) ch = static_cast<char>(::toupper(static_cast<unsigned char>(ch)));
  ::DeleteFileA(log.c_str());
  Click(L::kPlayerButton);
  ASSERT_TRUE(PumpUntil([&] { return CommandLineOfPlayer(log) != "<none>"; }, 15000));
  EXPECT_EQ(CommandLineOfPlayer(log), expected);
  ClosePlayer();

  // No record: the player gets no command line of ours.
  ClearFolder(RecordFolder());
  ::DeleteFileA(log.c_str());
  Click(L::kPlayerButton);
  ASSERT_TRUE(PumpUntil([&] { return CommandLineOfPlayer(log) != "<none>"; }, 15000));
  EXPECT_EQ(CommandLineOfPlayer(log).find(".QDX"), std::string::npos);
  ClosePlayer();
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(LoginWindow, APlayerThatCannotStartIsReported) {
  StartDevice();
  OpenWindow();
  const std::string exeDir = g_lpApp->m_Settings.m_strExeDir;
  g_lpApp->m_Settings.m_strExeDir = RecordFolder() + "\\";  // no player there
  Click(L::kPlayerButton);
  ASSERT_TRUE(PumpUntil([&] { return !MessageBoxes().empty(); }, 5000));
  EXPECT_EQ(MessageBoxes(), std::vector<std::string>{"Execuate player program is failed"});
  g_lpApp->m_Settings.m_strExeDir = exeDir;
}

TEST_F(LoginWindow, FirmwareUpgradeObeysTheLevelAndFamilyGates) {
  struct Case {
    std::vector<std::string> device;
    std::string password;
    std::vector<std::string> boxes;
    bool opensUpgrade;
    bool slowLogin = false;  // the progress box stays long enough to be read
  };
  const std::string kUnsupported = "Device doesn't support network upgrade FW";
  const std::vector<Case> cases = {
      {{"--product", "RZ3K", "--firmware", "1030"}, "revuv", {kUnsupported}, false},
      {{"--product", "RZ3K", "--firmware", "1031"}, "revuv", {}, true},
      {{"--product", "RZ2K", "--firmware", "1000", "--fault", "stall,ms=700,count=1"},
       "revuv",
       {},
       true,
       true},
      {{"--product", "RZ5M"}, "revuv", {}, true},
      {{"--product", "RZ8P"}, "revuv", {}, true},
      {{"--product", "invalid"}, "revuv", {kUnsupported}, false},
      {{"--account", "revuv:revuv:20"},
       "revuv",
       {"Only administrator could use upgrade firmware function"},
       false},
      {{}, "wrong", {"Login error !!"}, false},
      {{"--fault", "devinfo-empty"}, "revuv", {"Login error !!"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.device));
    ::DeleteFileA((ProgramFolder() + "msgbox.log").c_str());
    g_lpApp->w_UserLevel = 0;
    g_lpApp->w_LoginResult = 7;
    g_lpApp->m_Settings.m_strUsername = "kept-user";
    StartDevice(c.device);
    OpenWindow();
    Type(L::kEditPassword, c.password);

    std::atomic<bool> handlerDone{false}, sawUpgrade{false};
    std::string progressText, upgradeVersion;
    Helper([&] {
      const DWORD start = ::GetTickCount();
      while (!handlerDone && ::GetTickCount() - start < 30000) {
        if (HWND progress = WaitForOwnWindowWithItem(1393, 0)) {
          const std::string text = ts::ItemText(progress, 1393);
          if (text.find(" .") != std::string::npos) progressText = text;
        }
        if (HWND upgrade = WaitForOwnWindow("Upgrade Firware", 0)) {
          upgradeVersion = ts::ItemText(upgrade, 1385);
          sawUpgrade = true;
          ::PostMessageA(::GetDlgItem(upgrade, 1392), BM_CLICK, 0, 0);
          return;
        }
        ::Sleep(20);
      }
    });
    Click(L::kUpgradeFirmwareButton);
    PumpUntil([&] { return sawUpgrade || !MessageBoxes().empty(); }, 30000);
    PumpFor(300);
    handlerDone = true;
    JoinHelpers();

    EXPECT_EQ(sawUpgrade, c.opensUpgrade);
    if (c.opensUpgrade) {
      // File-set devices show the version query's text, the others the firmware spaced out.
      const std::string& fw = g_lpApp->str_FWVersion;
      const std::string spaced = {fw[0], '.', fw[1], '.', fw[2], '.', fw[3]};
      EXPECT_EQ(upgradeVersion, g_lpApp->str_ProductID == "RZ3K" ? fw : spaced);
      EXPECT_EQ(g_lpApp->w_UserLevel, 30);
    }
    if (c.slowLogin) {
      EXPECT_EQ(progressText.rfind("Connect 127.0.0.1 .", 0), 0u) << progressText;
    }
    EXPECT_EQ(MessageBoxes(), c.boxes);
    // The worker's login is not the window's: no login result, the user name kept.
    EXPECT_EQ(g_lpApp->w_LoginResult, 7);
    EXPECT_EQ(g_lpApp->m_Settings.m_strUsername, "kept-user");
    EXPECT_FALSE(WindowClosed());
    m_dialog.reset();
    m_device.Stop();
  }
}

TEST_F(LoginWindow, EscapeEndsTheConnectBoxAndTheNextTryReusesTheWorker) {
  StartDevice({"--product", "RZ2K", "--fault", "stall,ms=1500,count=1"});
  OpenWindow();
  Type(L::kEditPassword, "revuv");
  Helper([] {
    if (HWND progress = WaitForOwnWindowWithItem(1393)) {
      ::Sleep(200);
      ::PostMessageA(progress, WM_KEYDOWN, VK_ESCAPE, 1);
    }
  });
  Click(L::kUpgradeFirmwareButton);
  JoinHelpers();
  PumpFor(300);
  EXPECT_EQ(WaitForOwnWindow("Upgrade Firware", 0), nullptr);
  ASSERT_NE(g_pLogin, nullptr);
  const Login* worker = g_pLogin;

  // The abandoned run reports nothing; the next one waits for it and opens the upgrade.
  std::atomic<bool> sawUpgrade{false};
  Helper([&] {
    if (HWND upgrade = WaitForOwnWindow("Upgrade Firware")) {
      sawUpgrade = true;
      ::PostMessageA(::GetDlgItem(upgrade, 1392), BM_CLICK, 0, 0);
    }
  });
  Click(L::kUpgradeFirmwareButton);
  ASSERT_TRUE(PumpUntil([&] { return sawUpgrade.load(); }, 30000));
  JoinHelpers();
  EXPECT_EQ(g_pLogin, worker);
  EXPECT_TRUE(MessageBoxes().empty());
  EXPECT_EQ(LoginRequestCount(), 2);
}

TEST_F(LoginWindow, AWorkerLoginTheDeviceNeverAnswersEndsWithTheWindow) {
  StartDevice({"--product", "RZ2K", "--fault", "stall"});
  OpenWindow();
  Type(L::kEditPassword, "revuv");
  Helper([&] {
    if (HWND progress = WaitForOwnWindowWithItem(1393)) {
      ts::WaitUntil([&] { return LoginRequestCount() == 1; });
      ::PostMessageA(progress, WM_KEYDOWN, VK_ESCAPE, 1);
    }
  });
  Click(L::kUpgradeFirmwareButton);
  JoinHelpers();
  ASSERT_EQ(LoginRequestCount(), 1);
  ASSERT_NE(g_pLogin, nullptr);
  // The window's end stops the worker: its request is cut short, it reports nothing.
  const ULONGLONG start = ::GetTickCount64();
  m_dialog.reset();
  EXPECT_LT(::GetTickCount64() - start, 1000u);
  EXPECT_EQ(g_pLogin, nullptr);
  EXPECT_TRUE(MessageBoxes().empty());
  EXPECT_EQ(g_szCookie[0], '\0');
}

TEST_F(LoginWindow, AddressBookSelectionFillsTheFields) {
  StartDevice();
  const std::string book = ProgramFolder() + "IPRecord.dat";
  const std::vector<uint8_t> image =
      EncodeIpRecords({{"op1", "10.0.0.5", "front", 8080}, {"op2", "127.0.0.1", "", 9000}});
  ASSERT_TRUE(ts::WriteFileText(book, std::string(image.begin(), image.end())));
  OpenWindow();

  // Cancel changes nothing.
  Helper([] {
    if (HWND dlg = WaitForOwnWindow("IP Address Book"))
      ::PostMessageA(::GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
  });
  Click(L::kAddressButton);
  PumpFor(500);
  JoinHelpers();
  PumpFor(100);
  EXPECT_EQ(Text(L::kEditServer), "127.0.0.1");
  EXPECT_EQ(Text(L::kEditUser), "revuv");

  Helper([] {
    HWND dlg = WaitForOwnWindow("IP Address Book");
    if (!dlg) return;
    ::SendMessageA(::GetDlgItem(dlg, 1232), LB_SETCURSEL, 0, 0);
    ::PostMessageA(::GetDlgItem(dlg, 1029), BM_CLICK, 0, 0);
  });
  Click(L::kAddressButton);
  ASSERT_TRUE(PumpUntil([&] { return Text(L::kEditServer) == "10.0.0.5"; }, 15000));
  JoinHelpers();
  EXPECT_EQ(Text(L::kEditUser), "op1");
  EXPECT_EQ(Text(L::kEditPort), "8080");
  EXPECT_EQ(ts::ReadFileText(book), std::string(image.begin(), image.end()));
}

// The address book driven from a helper thread: commands are sent, so each has run when the
// call returns.
namespace book {
using B = CAddressBookDialog;
constexpr int kLists[] = {B::kUserList, B::kIpAddressList, B::kPortList, B::kCommentList};

void Command(HWND dlg, int id, UINT code = BN_CLICKED) {
  ::SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dlg, id)));
}
void Scroll(HWND dlg, WORD code, int thumb = 0) {
  ::SendMessageA(dlg, WM_VSCROLL, MAKEWPARAM(code, thumb),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dlg, B::kScrollBar)));
}
int Count(HWND dlg, int list) {
  return static_cast<int>(::SendDlgItemMessageA(dlg, list, LB_GETCOUNT, 0, 0));
}
// The selected row of each list; one value when all four agree, else -2.
int Selected(HWND dlg) {
  const LRESULT first = ::SendDlgItemMessageA(dlg, kLists[0], LB_GETCURSEL, 0, 0);
  for (int list : kLists)
    if (::SendDlgItemMessageA(dlg, list, LB_GETCURSEL, 0, 0) != first) return -2;
  return static_cast<int>(first);
}
std::string Row(HWND dlg, int row) {
  std::string text;
  for (int list : kLists) {
    char item[256] = {};
    ::SendDlgItemMessageA(dlg, list, LB_GETTEXT, static_cast<WPARAM>(row),
                          reinterpret_cast<LPARAM>(item));
    if (list != kLists[0]) text += '|';
    text += item;
  }
  return text;
}
void Fill(HWND dlg, const std::string& user, const std::string& ip, const std::string& port,
          const std::string& comment) {
  ::SetDlgItemTextA(dlg, B::kUserField, user.c_str());
  ::SetDlgItemTextA(dlg, B::kIpAddressField, ip.c_str());
  ::SetDlgItemTextA(dlg, B::kPortField, port.c_str());
  ::SetDlgItemTextA(dlg, B::kCommentField, comment.c_str());
}
bool EntryRowShown(HWND dlg) {
  return ::IsWindowVisible(::GetDlgItem(dlg, B::kUserField)) &&
         ::IsWindowVisible(::GetDlgItem(dlg, B::kOkButton)) &&
         !::IsWindowVisible(::GetDlgItem(dlg, B::kAddButton)) &&
         !::IsWindowVisible(::GetDlgItem(dlg, IDOK));
}
bool ScrollBarEnabled(HWND dlg) {
  return ::IsWindowEnabled(::GetDlgItem(dlg, B::kScrollBar)) != FALSE;
}
int ScrollPos(HWND dlg) {
  return ::GetScrollPos(::GetDlgItem(dlg, B::kScrollBar), SB_CTL);
}
std::vector<AddressBookRow> Rows(int n) {
  std::vector<AddressBookRow> rows;
  for (int i = 0; i < n; ++i)
    rows.push_back({"user" + std::to_string(i), "10.0.0." + std::to_string(i),
                    "site " + std::to_string(i), static_cast<uint16_t>(8000 + i)});
  return rows;
}
std::vector<AddressBookRow> Saved(const std::string& path) {
  const std::string bytes = ts::ReadFileText(path);
  std::vector<AddressBookRow> rows;
  EXPECT_TRUE(DecodeIpRecords(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), rows));
  return rows;
}
}  // namespace book

TEST_F(LoginWindow, AddressBookAddsEditsAndDeletesRowsAndSavesThemOnCancel) {
  using namespace book;
  const std::string path = ProgramFolder() + "IPRecord.dat";
  ::DeleteFileA(path.c_str());
  OpenWindow();
  std::atomic<bool> done{false};
  std::vector<std::string> failures;
  auto check = [&](bool ok, const std::string& what) {
    if (!ok) failures.push_back(what);
  };
  Helper([&] {
    HWND dlg = WaitForOwnWindow("IP Address Book");
    if (!dlg) return;
    check(Count(dlg, B::kUserList) == 0 && !ScrollBarEnabled(dlg), "opens empty");
    check(!EntryRowShown(dlg), "entry row hidden at first");
    // EDIT and DELETE need a row.
    Command(dlg, B::kEditButton);
    Command(dlg, B::kDeleteButton);
    Command(dlg, B::kSelectButton);
    // Adds: accepted, then each refusal drops the entry and adds nothing.
    struct Add {
      const char *user, *ip, *port, *comment;
      bool added;
    } adds[] = {
        {"alice", "10.1.1.1", "9999", "roof", true}, {"bob", "10.1.1.2", "0", "", false},
        {"bob", "10.1.1.2", "10000", "", false},     {"bob", "10.1.1.2", "", "", false},
        {"", "10.1.1.2", "80", "", false},           {"bob", "", "80", "", false},
        {"bob", "cam.example", "1", "gate", true},   {"carol", "10.1.1.3", "80", "yard", true}};
    for (const Add& a : adds) {
      const int before = Count(dlg, B::kUserList);
      Command(dlg, B::kAddButton);
      check(EntryRowShown(dlg), std::string("ADD opens the entry row for ") + a.user);
      Fill(dlg, a.user, a.ip, a.port, a.comment);
      Command(dlg, B::kOkButton);
      check(!EntryRowShown(dlg), std::string("OK closes the entry row for ") + a.user);
      check(Count(dlg, B::kUserList) == before + (a.added ? 1 : 0),
            std::string("row count after adding ") + a.user + " port " + a.port);
      for (int list : kLists)
        check(Count(dlg, list) == Count(dlg, B::kUserList), "the four lists agree");
      if (a.added) check(Selected(dlg) == before, std::string("the new row selected: ") + a.user);
    }
    check(Row(dlg, 1) == "bob|cam.example|1|gate", "row 1 is " + Row(dlg, 1));
    // A click in the Comment list moves the others.
    ::SendDlgItemMessageA(dlg, B::kCommentList, LB_SETCURSEL, 0, 0);
    Command(dlg, B::kCommentList, LBN_SELCHANGE);
    check(Selected(dlg) == 0 && ScrollPos(dlg) == 0, "comment click selects row 0 everywhere");
    // EDIT row 0: the fields hold it, the lists are disabled.
    Command(dlg, B::kEditButton);
    check(EntryRowShown(dlg), "EDIT opens the entry row");
    check(ts::ItemText(dlg, B::kUserField) == "alice" && ts::ItemText(dlg, B::kPortField) == "9999",
          "EDIT fills the fields");
    check(!::IsWindowEnabled(::GetDlgItem(dlg, B::kUserList)), "lists disabled while editing");
    // A port out of range is refused and keeps the edit open with the row unchanged.
    Fill(dlg, "alice", "10.1.1.1", "70000", "roof");
    Command(dlg, B::kOkButton);
    check(EntryRowShown(dlg), "a refused port keeps the edit open");
    check(Row(dlg, 0) == "alice|10.1.1.1|9999|roof", "refused edit stores nothing");
    // An empty user name is stored as it is.
    Fill(dlg, "", "10.9.9.9", "8081", "moved");
    Command(dlg, B::kOkButton);
    check(!EntryRowShown(dlg), "edit confirmed");
    check(Row(dlg, 0) == "|10.9.9.9|8081|moved", "row 0 after the edit is " + Row(dlg, 0));
    check(Selected(dlg) == 0, "the edited row stays selected");
    check(::IsWindowEnabled(::GetDlgItem(dlg, B::kUserList)) != FALSE, "lists enabled again");
    // ADD after an edit shows the edited row's values.
    Command(dlg, B::kAddButton);
    check(ts::ItemText(dlg, B::kIpAddressField) == "10.9.9.9", "ADD keeps the last values");
    Fill(dlg, "dave", "10.1.1.4", "81", "");
    // Enter (the dialog's OK command) while the entry row is open confirms the row.
    Command(dlg, IDOK);
    check(::IsWindowVisible(dlg) && Count(dlg, B::kUserList) == 4, "Enter confirms the entry");
    // DELETE row 1 selects the last row.
    ::SendDlgItemMessageA(dlg, B::kUserList, LB_SETCURSEL, 1, 0);
    Command(dlg, B::kUserList, LBN_SELCHANGE);
    Command(dlg, B::kDeleteButton);
    check(Count(dlg, B::kPortList) == 3 && Selected(dlg) == 2, "DELETE selects the last row");
    ::PostMessageA(::GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
    done = true;
  });
  Click(L::kAddressButton);
  ASSERT_TRUE(PumpUntil([&] { return done.load() && !WaitForOwnWindow("IP Address Book", 0); }));
  JoinHelpers();
  for (const std::string& f : failures) ADD_FAILURE() << f;
  const std::vector<std::string> expectedBoxes = {
      "Please select a setting",
      "Please select a setting",
      "Please select an item",
      "Port number can't be out of range 1 ~ 9999,try again",
      "Port number can't be out of range 1 ~ 9999,try again",
      "Please enter an integer.",
      "User name & ip address cant be empty,try again",
      "User name & ip address cant be empty,try again",
      "Port number can't be out of range 1 ~ 9999,try again"};
  EXPECT_EQ(MessageBoxes(), expectedBoxes);
  // CANCEL saved the rows, the server field is unchanged.
  const std::vector<AddressBookRow> saved = Saved(path);
  ASSERT_EQ(saved.size(), 3u);
  EXPECT_EQ(saved[0].strIpAddress, "10.9.9.9");
  EXPECT_EQ(saved[0].wMajorPort, 8081);
  EXPECT_EQ(saved[1].strUser, "carol");
  EXPECT_EQ(saved[2].strUser, "dave");
  EXPECT_EQ(Text(L::kEditServer), "127.0.0.1");
}

TEST_F(LoginWindow, AddressBookScrollsAndAnEditConfirmsTheRowItOpened) {
  using namespace book;
  const std::string path = ProgramFolder() + "IPRecord.dat";
  const std::vector<uint8_t> image = EncodeIpRecords(Rows(15));
  ASSERT_TRUE(ts::WriteFileText(path, std::string(image.begin(), image.end())));
  OpenWindow();
  std::atomic<bool> done{false};
  std::vector<std::string> failures;
  auto check = [&](bool ok, const std::string& what) {
    if (!ok) failures.push_back(what);
  };
  Helper([&] {
    HWND dlg = WaitForOwnWindow("IP Address Book");
    if (!dlg) return;
    check(Count(dlg, B::kUserList) == 15 && Selected(dlg) == 14, "15 rows, the last selected");
    check(ScrollBarEnabled(dlg) && ScrollPos(dlg) == 14, "scroll bar enabled at 14");
    const std::string shots = ts::ScreenshotFolder();
    if (!shots.empty()) {
      ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      ts::SaveWindowImage(dlg, shots + "address_book.bmp");
    }
    struct Step {
      WORD code;
      int thumb, expected;
    } steps[] = {{SB_PAGEUP, 0, 9},    {SB_PAGEUP, 0, 4},      {SB_PAGEUP, 0, 0},
                 {SB_LINEUP, 0, 0},    {SB_LINEDOWN, 0, 1},    {SB_THUMBPOSITION, 8, 8},
                 {SB_PAGEDOWN, 0, 13}, {SB_PAGEDOWN, 0, 14},   {SB_TOP, 0, 14},
                 {SB_BOTTOM, 0, 14},   {SB_THUMBTRACK, 12, 12}};
    for (const Step& s : steps) {
      Scroll(dlg, s.code, s.thumb);
      check(Selected(dlg) == s.expected && ScrollPos(dlg) == s.expected,
            "scroll code " + std::to_string(s.code) + " gives row " +
                std::to_string(Selected(dlg)) + ", expected " + std::to_string(s.expected));
    }
    // EDIT row 12; the scroll bar is disabled and cannot move the selection meanwhile.
    Command(dlg, B::kEditButton);
    check(!ScrollBarEnabled(dlg), "scroll bar disabled while editing");
    Scroll(dlg, SB_PAGEUP);
    Scroll(dlg, SB_THUMBPOSITION, 3);
    check(Selected(dlg) == 12, "the selection stays on the edited row");
    Fill(dlg, "user12", "10.0.0.12", "8012", "edited");
    Command(dlg, B::kOkButton);
    check(Row(dlg, 12) == "user12|10.0.0.12|8012|edited", "row 12 edited");
    check(Row(dlg, 3) == "user3|10.0.0.3|8003|site 3", "row 3 untouched");
    check(ScrollBarEnabled(dlg), "scroll bar enabled again");
    ::PostMessageA(dlg, WM_KEYDOWN, VK_ESCAPE, 0);
    done = true;
  });
  Click(L::kAddressButton);
  ASSERT_TRUE(PumpUntil([&] { return done.load() && !WaitForOwnWindow("IP Address Book", 0); }));
  JoinHelpers();
  for (const std::string& f : failures) ADD_FAILURE() << f;
  EXPECT_TRUE(MessageBoxes().empty());
  // Esc saved the edit too.
  const std::vector<AddressBookRow> saved = Saved(path);
  ASSERT_EQ(saved.size(), 15u);
  EXPECT_EQ(saved[12].strComment, "edited");
  EXPECT_EQ(saved[3].strComment, "site 3");
  EXPECT_FALSE(ts::FileExists(path + ".new"));
}

TEST_F(LoginWindow, AnAddressBookWithABadMarkerIsNotShownAndStaysAsItWas) {
  const std::string path = ProgramFolder() + "IPRecord.dat";
  std::vector<uint8_t> image = EncodeIpRecords(book::Rows(4));
  image[2 * kIpRecordSize + kIpRecordAddressMarkerOffset] ^= 0xFF;
  image.resize(image.size() + 150);  // a partial record after the whole ones
  const std::string before(image.begin(), image.end());
  ASSERT_TRUE(ts::WriteFileText(path, before));
  OpenWindow();
  // The dialog ends before it is shown; the login window takes the click and goes on.
  INT_PTR result = 0;
  {
    CAddressBookDialog dlg(nullptr);
    result = dlg.DoModal();
  }
  EXPECT_EQ(result, -1);
  EXPECT_EQ(ts::ReadFileText(path), before);
  // A good book with a partial record loses the partial bytes at the next save.
  std::vector<uint8_t> good = EncodeIpRecords(book::Rows(2));
  const std::string goodBytes(good.begin(), good.end());
  ASSERT_TRUE(ts::WriteFileText(path, goodBytes + std::string(200, 'x')));
  Helper([] {
    if (HWND dlg = WaitForOwnWindow("IP Address Book"))
      ::PostMessageA(::GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
  });
  Click(L::kAddressButton);
  ASSERT_TRUE(PumpUntil([&] { return ts::ReadFileText(path) == goodBytes; }));
  JoinHelpers();
}

TEST_F(LoginWindow, AnAddressBookThatCannotBeSavedKeepsItsOldRowsAndSaysSo) {
  using namespace book;
  const std::string path = ProgramFolder() + "IPRecord.dat";
  const std::vector<uint8_t> image = EncodeIpRecords(Rows(3));
  const std::string before(image.begin(), image.end());
  ASSERT_TRUE(ts::WriteFileText(path, before));
  // The replacement file cannot be made: a folder holds its name.
  const std::string blocker = path + ".new";
  ASSERT_TRUE(::CreateDirectoryA(blocker.c_str(), nullptr));
  OpenWindow();
  std::atomic<bool> done{false};
  Helper([&] {
    HWND dlg = WaitForOwnWindow("IP Address Book");
    if (!dlg) return;
    Command(dlg, B::kDeleteButton);
    ::PostMessageA(::GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
    done = true;
  });
  Click(L::kAddressButton);
  ASSERT_TRUE(PumpUntil([&] { return done.load() && !MessageBoxes().empty(); }));
  JoinHelpers();
  ::RemoveDirectoryA(blocker.c_str());
  EXPECT_EQ(ts::ReadFileText(path), before);
  EXPECT_EQ(MessageBoxes(),
            std::vector<std::string>{path + " could not be saved; it keeps its earlier rows."});
}

// What the copy dialog shows while it copies: every bar position and every percent text, seen
// on the window thread as the dialog sends them.
struct CopyProgress {
  std::vector<int> bar;
  std::vector<std::string> texts;
};
CopyProgress* g_copyProgress = nullptr;

LRESULT CALLBACK WatchCopyProgress(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && g_copyProgress != nullptr) {
    const int id = ::GetDlgCtrlID(call->hwnd);
    if (call->message == PBM_SETPOS && id == CCopyProgramDlg::kProgressBar)
      g_copyProgress->bar.push_back(static_cast<int>(call->wParam));
    if (call->message == WM_SETTEXT && id == CCopyProgramDlg::kPercentText)
      g_copyProgress->texts.push_back(reinterpret_cast<const char*>(call->lParam));
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(LoginWindow, CopyProgramCopiesAndPointsTheCopyAtItsFolder) {
  StartDevice();
  ASSERT_TRUE(ts::CopyTree(ts::ThisExeFolder() + "BMP", ProgramFolder() + "BMP"));
  ASSERT_TRUE(
      ts::CopyFileTo(ts::ThisExeFolder() + "CtrlFile.ini", ProgramFolder() + "CtrlFile.ini"));
  ASSERT_TRUE(
      ts::WriteFileText(ProgramFolder() + "Setting.ini", "[Ostrova]\r\nUsername=copied\r\n"));
  ts::TempFolder destination("copydest");
  OpenWindow();
  std::string startFolder, percent;
  std::atomic<bool> done{false};
  Helper([&] {
    HWND chooser = WaitForOwnWindow("Destination Path");
    if (!chooser) return;
    HWND tree = ::GetDlgItem(chooser, 1315);
    startFolder = ts::SelectedTreePath(tree);
    if (!ts::OpenTreePath(tree, destination.Path())) return;
    ::PostMessageA(::GetDlgItem(chooser, IDOK), BM_CLICK, 0, 0);
    HWND copy = WaitForOwnWindow("Copy Program");
    if (!copy) return;
    ts::WaitUntil([&] { return ::IsWindowEnabled(::GetDlgItem(copy, IDOK)) != FALSE; }, 15000);
    percent = ts::ItemText(copy, 1355);
    ::PostMessageA(::GetDlgItem(copy, IDOK), BM_CLICK, 0, 0);
    done = true;
  });
  CopyProgress progress;
  g_copyProgress = &progress;
  HHOOK hook =
      ::SetWindowsHookExA(WH_CALLWNDPROC, &WatchCopyProgress, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  Click(L::kCopyButton);
  const bool finished = PumpUntil([&] { return done.load(); }, 30000);
  ::UnhookWindowsHookEx(hook);
  g_copyProgress = nullptr;
  ASSERT_TRUE(finished);
  PumpFor(300);
  JoinHelpers();
  // The bar after each of the list's files: 0 after the first, 1 after the eighth (the first
  // bitmap), 99 after the 784th, 100 after the last; the text follows in "%3d%%".
  std::vector<int> bar;
  for (int k = 1; k <= kInstallFileCount; ++k) bar.push_back(k * 100 / kInstallFileCount);
  bar.insert(bar.begin(), 0);  // the start
  EXPECT_EQ(progress.bar, bar);
  ASSERT_EQ(progress.bar.size(), 786u);
  EXPECT_EQ(progress.bar[1], 0);
  EXPECT_EQ(progress.bar[8], 1);
  EXPECT_EQ(progress.bar[784], 99);
  EXPECT_EQ(progress.bar[785], 100);
  std::vector<std::string> texts;
  for (int p = 0; p <= 100; ++p) {
    char text[8];
    std::snprintf(text, sizeof text, "%3d%%", p);
    texts.push_back(text);
  }
  EXPECT_EQ(progress.texts, texts);
  char system[256] = {};
  ::GetSystemDirectoryA(system, sizeof system - 1);
  // The chooser opens at the system folder.
  EXPECT_EQ(_stricmp(startFolder.c_str(), (std::string(system) + "\\").c_str()), 0) << startFolder;
  EXPECT_EQ(percent, "100%");
  const std::string dest = destination.Path();
  EXPECT_TRUE(ts::FileExists(dest + "Quendor.exe"));
  EXPECT_TRUE(ts::FileExists(dest + "CtrlFile.ini"));
  EXPECT_TRUE(ts::FileExists(dest + "BMP\\LOGIN\\spacer.bmp"));
  EXPECT_TRUE(ts::FileExists(dest + "BMP\\LOGIN\\download.BMP"));
  EXPECT_TRUE(ts::FileExists(dest + "BMP\\CMOS\\ToolBarBG.bmp"));
  // Every skin bitmap of the source is in the copy: the fixed list holds them all.
  for (const char* folder : {"BMP\\", "BMP\\LOGIN\\", "BMP\\CMOS\\"}) {
    for (const std::string& path : ts::FilesMatching(ProgramFolder() + folder, "*.bmp")) {
      const std::string name = path.substr(path.rfind('\\') + 1);
      EXPECT_TRUE(ts::FileExists(dest + folder + name)) << folder << name;
    }
  }
  char value[512];
  const std::string ini = dest + "Setting.ini";
  ::GetPrivateProfileStringA("Ostrova", "Record Path", "", value, sizeof value, ini.c_str());
  EXPECT_EQ(std::string(value), dest);
  ::GetPrivateProfileStringA("Ostrova", "Snapshot Path", "", value, sizeof value, ini.c_str());
  EXPECT_EQ(std::string(value), dest);
  ::GetPrivateProfileStringA("Ostrova", "Trigger Wav Path", "", value, sizeof value, ini.c_str());
  EXPECT_EQ(std::string(value), dest + "alarm.wav");
  ::GetPrivateProfileStringA("Ostrova", "Username", "", value, sizeof value, ini.c_str());
  EXPECT_EQ(std::string(value), "copied");
}

TEST_F(LoginWindow, CopyProgramOverwritesAndCountsTheFilesItCouldNotCopy) {
  ASSERT_TRUE(ts::CopyTree(ts::ThisExeFolder() + "BMP", ProgramFolder() + "BMP"));
  ASSERT_TRUE(ts::WriteFileText(ProgramFolder() + "CtrlFile.ini", "[new]\r\n"));
  ASSERT_TRUE(ts::WriteFileText(ProgramFolder() + "Setting.ini", "[Ostrova]\r\n"));
  ts::TempFolder destination("copyfail");
  const std::string dest = destination.Path();
  // An older copy is overwritten; "BMP\\LOGIN" is taken by a file, so nothing goes in there.
  ASSERT_TRUE(ts::WriteFileText(dest + "CtrlFile.ini", "[old]\r\n"));
  ASSERT_TRUE(::CreateDirectoryA((dest + "BMP").c_str(), nullptr));
  ASSERT_TRUE(ts::WriteFileText(dest + "BMP\\LOGIN", "in the way"));
  const size_t loginFiles = ts::FilesMatching(ProgramFolder() + "BMP\\LOGIN\\", "*.bmp").size();
  ASSERT_GT(loginFiles, 0u);
  OpenWindow();
  std::atomic<bool> done{false};
  Helper([&] {
    HWND chooser = WaitForOwnWindow("Destination Path");
    if (!chooser || !ts::OpenTreePath(::GetDlgItem(chooser, 1315), dest)) return;
    ::PostMessageA(::GetDlgItem(chooser, IDOK), BM_CLICK, 0, 0);
    HWND copy = WaitForOwnWindow("Copy Program");
    if (!copy) return;
    // Read without a message: the copy holds the dialog's thread.
    HWND percent = ::GetDlgItem(copy, CCopyProgramDlg::kPercentText);
    bool shot = false;
    ts::WaitUntil(
        [&] {
          wchar_t text[16] = {};
          ::InternalGetWindowText(percent, text, 16);
          const int value = _wtoi(text);
          if (!shot && value >= 30 && value <= 90 && !ts::ScreenshotFolder().empty()) {
            ts::SaveWindowImage(copy, ts::ScreenshotFolder() + "copy_program.bmp");
            shot = true;
          }
          return ::IsWindowEnabled(::GetDlgItem(copy, IDOK)) != FALSE;
        },
        30000);
    ::PostMessageA(::GetDlgItem(copy, IDOK), BM_CLICK, 0, 0);
    done = true;
  });
  Click(L::kCopyButton);
  ASSERT_TRUE(PumpUntil([&] { return done.load(); }, 60000));
  JoinHelpers();
  EXPECT_EQ(ts::ReadFileText(dest + "CtrlFile.ini"), "[new]\r\n");
  const std::vector<std::string> boxes = MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind(std::to_string(loginFiles) + " of 785 files", 0), 0u) << boxes[0];
  EXPECT_NE(boxes[0].find("files could not be copied to " + dest), std::string::npos) << boxes[0];
  char value[512];
  ::GetPrivateProfileStringA("Ostrova", "Record Path", "", value, sizeof value,
                             (dest + "Setting.ini").c_str());
  EXPECT_EQ(std::string(value), dest);
}

}  // namespace
}  // namespace logintest
