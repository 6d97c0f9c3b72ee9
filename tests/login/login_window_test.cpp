// The login window against the device simulator: set-up, typing, connecting and its failures,
// the port box, Enter and Escape, and the tool buttons with the dialogs they open.
#include <gtest/gtest.h>

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
    startFolder = ts::ItemText(chooser, 1315);
    ::SetDlgItemTextA(chooser, 1315, destination.Path().c_str());
    ::PostMessageA(::GetDlgItem(chooser, IDOK), BM_CLICK, 0, 0);
    HWND copy = WaitForOwnWindow("Copy Program");
    if (!copy) return;
    ts::WaitUntil([&] { return ::IsWindowEnabled(::GetDlgItem(copy, IDOK)) != FALSE; }, 15000);
    percent = ts::ItemText(copy, 1355);
    ::PostMessageA(::GetDlgItem(copy, IDOK), BM_CLICK, 0, 0);
    done = true;
  });
  Click(L::kCopyButton);
  ASSERT_TRUE(PumpUntil([&] { return done.load(); }, 30000));
  PumpFor(300);
  JoinHelpers();
  char system[256] = {};
  ::GetSystemDirectoryA(system, sizeof system - 1);
  EXPECT_EQ(startFolder, system);
  EXPECT_EQ(percent, "100%");
  const std::string dest = destination.Path();
  EXPECT_TRUE(ts::FileExists(dest + "Quendor.exe"));
  EXPECT_TRUE(ts::FileExists(dest + "CtrlFile.ini"));
  EXPECT_TRUE(ts::FileExists(dest + "BMP\\LOGIN\\spacer.bmp"));
  EXPECT_TRUE(ts::FileExists(dest + "BMP\\LOGIN\\download.BMP"));
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

}  // namespace
}  // namespace logintest
